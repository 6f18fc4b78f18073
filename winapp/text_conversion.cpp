#include "winapp/text_conversion.h"

#include <windows.h>

#include <limits>

namespace vorlanex::winapp {

std::wstring wide_text(std::string_view utf8) {
    if (utf8.empty()) return {};
    // A text longer than an int can count is cut there: no control holds more.
    const int length = static_cast<int>(std::min<std::size_t>(utf8.size(), std::numeric_limits<int>::max()));
    const int needed = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(needed), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, wide.data(), needed);
    return wide;
}

std::string utf8_text(std::wstring_view wide) {
    if (wide.empty()) return {};
    const int length = static_cast<int>(std::min<std::size_t>(wide.size(), std::numeric_limits<int>::max()));
    const int needed = WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(needed), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, utf8.data(), needed, nullptr, nullptr);
    return utf8;
}

std::wstring message_text(std::string_view utf8) {
    std::wstring text = wide_text(utf8);
    for (wchar_t& character : text) {
        if (character == L'\r') character = L'\n';
    }
    return text;
}

}  // namespace vorlanex::winapp
