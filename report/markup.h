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
// noncharacter is shown visibly as its code point in a marked box ("U+0001"), and so is a
// bidirectional control (U+202E), so the reader sees every character the run read. Bytes that are not well-formed UTF-8
// still become U+FFFD.
std::string escaped_visibly(std::string_view text);

// `text` as element content that somebody wrote (a case's title, reference or note, a calculation's
// title, a command line): escaped as `escaped` does, with every bidirectional control shown as its
// code point in a box, and isolated in a <bdi> element, so that neither its controls nor its
// right-to-left letters reorder the report's own text around it.
std::string user_text(std::string_view text);

// `text` for where no markup may stand (the page's <title>): escaped as `escaped` does, with every
// bidirectional control written as the name of its code point ("U+202E").
std::string plain_user_text(std::string_view text);

// A length in SVG user units, with two decimals and a "." whatever the locale.
std::string svg_number(double value);

}  // namespace vorlanex::report
