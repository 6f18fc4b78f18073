#pragma once
// The two modal boxes of a calculation: the warning box (also used by the "?" buttons) and the
// error box. Both are titled with the application title and block the whole window until closed.
#include <QString>
#include <string_view>

class QWidget;

namespace vorlanex::app {

// A box centred on the screen, without an icon, showing `message` ("\r" is a line break) wrapped
// at half the screen width, with one "OK" button that Enter, Esc and the title bar's close all
// close. Returns when it is closed.
void show_warning_box(QWidget* parent, const QString& title, std::string_view message);

// The system message box with the error icon, showing the error box text of a fault. A text too
// long for the screen is shown by its beginning and its end with "…" between.
void show_error_box(QWidget* parent, const QString& title, std::string_view text);

}  // namespace vorlanex::app
