#pragma once
// UTF-8, the texts of the pages and the calculation, to and from the UTF-16 of Windows' controls.
#include <string>
#include <string_view>

namespace vorlanex::winapp {

std::wstring wide_text(std::string_view utf8);
std::string utf8_text(std::wstring_view wide);

// A page's text with "\r" line breaks (a warning's) as the "\n" a message box breaks at.
std::wstring message_text(std::string_view utf8);

}  // namespace vorlanex::winapp
