#pragma once
#include <QString>
#include <Qt>

class QWidget;

namespace vorlanex::app {

// The window's look and its furniture, for the whole application: the classic raised-and-sunken
// style; the 8-point face (11 pixels, so the fixed layout holds at any screen resolution) with a
// stand-in where the face is not installed; Qt's own texts (the fields' context menu) in Czech
// whatever the locale, since the whole interface is Czech; and a layout that is never mirrored: the
// layout direction stays left to right whatever a translation or the locale says.
// Call once, after the QApplication exists and before any widget is made.
void apply_window_look();

// The note for standard error when the font system gives `given_family` for the layout's face,
// which the layout cannot hold (digits of a number would be cut off); empty when it can.
QString layout_font_note(const QString& given_family);
// The same for the family the font system gives now for the window's font.
QString layout_font_note();

// The reading order of the user's locale: right to left where its script is written so (Arabic,
// Hebrew ...), otherwise left to right.
Qt::LayoutDirection locale_reading_order();

// Sets `reading_order` as the reading order of every text widget of `window` (labels, fields, group
// boxes, buttons) without mirroring anything: each keeps its place and its left, centred or right
// alignment. Left to right changes nothing. What the order changes is Qt's to decide: a group box
// caption or a button caption runs in it, while a label or a field takes the order of its text from
// the text's own letters (a Czech text reads left to right, a Hebrew one right to left, on every
// locale), and an empty field keeps its cursor on the side the order gives.
void apply_reading_order(QWidget* window, Qt::LayoutDirection reading_order);

}  // namespace vorlanex::app
