#pragma once
// The two modal boxes of a calculation: the warning box (also used by the "?" buttons) and the
// error box. Both are titled with the application title and block the whole window until closed.
#include <QString>
#include <string_view>

class QFont;
class QRect;
class QWidget;

namespace vorlanex::app {

// A box centred on the screen, without an icon, showing `message` ("\r" is a line break) wrapped
// at half the screen width, with one "OK" button that Enter, Esc and the title bar's close all
// close. Returns when it is closed.
void show_warning_box(QWidget* parent, const QString& title, std::string_view message);

// The system message box with the error icon, showing the error box text of a fault. A text too
// long for the screen is shown by its beginning and its end with "…" between.
void show_error_box(QWidget* parent, const QString& title, std::string_view text);

// What the error box shows of `text` in `font` on a screen of `screen`'s size: the text broken
// into lines as wide as the box wraps at, and of more lines than half the screen holds, the first
// and the last with a line "…" between them. Built from the beginning and the end of the text only,
// so that a text of any length gives it at once.
QString error_box_text(std::string_view text, const QFont& font, const QRect& screen);

}  // namespace vorlanex::app
