#include "winapp/message_boxes.h"

#include "winapp/text_conversion.h"

namespace vorlanex::winapp {

namespace {

// Application-modal, as the window's boxes are: nothing else of the window takes input meanwhile.
constexpr UINT kModality = MB_APPLMODAL | MB_SETFOREGROUND;

// However long the text (a pasted field is quoted whole in a fault), the box and its OK stay on the
// screen: of a longer text its beginning and its end are shown, with a line "…" between them, so
// the end of a fault message stays readable. In UTF-16 units; a cut never splits a surrogate pair.
constexpr std::size_t kLongestShown = 1500;
constexpr std::size_t kBeginningKept = 1000;
constexpr std::size_t kEndKept = 400;

bool is_low_surrogate(wchar_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

std::wstring box_text(std::string_view message) {
    std::wstring text = message_text(message);
    if (text.size() <= kLongestShown) return text;
    std::size_t beginning_end = kBeginningKept;
    if (is_low_surrogate(text[beginning_end])) --beginning_end;
    std::size_t end_start = text.size() - kEndKept;
    if (is_low_surrogate(text[end_start])) ++end_start;
    return text.substr(0, beginning_end) + L"\n…\n" + text.substr(end_start);
}

}  // namespace

void show_warning_box(HWND owner, const std::wstring& title, std::string_view message) {
    MessageBoxW(owner, box_text(message).c_str(), title.c_str(), MB_OK | kModality);
}

void show_error_box(HWND owner, const std::wstring& title, std::string_view message) {
    MessageBoxW(owner, box_text(message).c_str(), title.c_str(), MB_OK | MB_ICONERROR | kModality);
}

}  // namespace vorlanex::winapp
