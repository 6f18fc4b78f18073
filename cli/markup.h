#pragma once
// Text for the report's markup, which is HTML that an XML reader accepts too (XHTML-compatible
// HTML5 with inline SVG).
#include <string>
#include <string_view>

namespace vorlanex::cli {

// `text` as element content or an attribute value: "&", "<", ">", quotes, and the carriage return
// (which an XML reader would otherwise turn into a line feed) written as references; bytes that are
// not well-formed UTF-8 and control characters that XML cannot carry become U+FFFD, so a field's
// text, whatever was typed, never breaks the page.
std::string escaped(std::string_view text);

// A length in SVG user units, with two decimals and a "." whatever the locale.
std::string svg_number(double value);

}  // namespace vorlanex::cli
