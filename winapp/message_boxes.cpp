#include "winapp/message_boxes.h"

#include "winapp/text_conversion.h"

namespace vorlanex::winapp {

namespace {

// Application-modal, as the window's boxes are: nothing else of the window takes input meanwhile.
constexpr UINT kModality = MB_APPLMODAL | MB_SETFOREGROUND;

}  // namespace

void show_warning_box(HWND owner, const std::wstring& title, std::string_view message) {
    MessageBoxW(owner, message_text(message).c_str(), title.c_str(), MB_OK | kModality);
}

void show_error_box(HWND owner, const std::wstring& title, std::string_view message) {
    MessageBoxW(owner, message_text(message).c_str(), title.c_str(), MB_OK | MB_ICONERROR | kModality);
}

}  // namespace vorlanex::winapp
