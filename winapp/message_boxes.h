#pragma once
// The window's two boxes as Windows' message boxes: the warning box (the text and OK, as a page's
// warnings and "?" buttons show it) and the error box (a fault that stopped the calculation).
#include <windows.h>

#include <string>
#include <string_view>

namespace vorlanex::winapp {

// `message` uses "\r" for its line breaks; both return once the user has closed the box.
void show_warning_box(HWND owner, const std::wstring& title, std::string_view message);
void show_error_box(HWND owner, const std::wstring& title, std::string_view message);

}  // namespace vorlanex::winapp
