#pragma once
// Text for the report's markup, which is HTML that an XML reader accepts too (XHTML-compatible
// HTML5 with inline SVG).
#include <string>
#include <string_view>

namespace vorlanex::report {

// `text` as an attribute value, or as element content the program wrote itself: "&", "<", ">" and
// quotes written as references; bytes that are not well-formed UTF-8, and characters that an HTML
// page may not carry (controls other than the tab and the line feed, C1 controls, noncharacters),
// become U+FFFD, so the page stays well-formed and conforming whatever the text holds.
std::string escaped(std::string_view text);

// `text` as element content that shows what somebody typed (a field's text): like `escaped`, but a
// control character (the tab, line feed and carriage return included), a C1 control or a
// noncharacter is shown visibly as its code point in a marked box ("U+0001"), so the reader sees
// every character the run read. Bytes that are not well-formed UTF-8 still become U+FFFD.
std::string escaped_visibly(std::string_view text);

// A length in SVG user units, with two decimals and a "." whatever the locale.
std::string svg_number(double value);

}  // namespace vorlanex::report
