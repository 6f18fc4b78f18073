#include "report/markup.h"

#include <array>
#include <charconv>

#include "numeric/utf8.h"

namespace vorlanex::report {

namespace {
constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";

// Characters an HTML page may not hold as text: controls (C0 but for the tab and the line feed, DEL,
// C1) and the noncharacters U+FDD0..U+FDEF and U+xxFFFE, U+xxFFFF of every plane. The carriage
// return is among them: a reader would turn it into a line feed.
bool forbidden_in_page(char32_t c) {
    if (c < 0x20) return c != '\t' && c != '\n';
    if (c >= 0x7F && c <= 0x9F) return true;
    return (c >= 0xFDD0 && c <= 0xFDEF) || (c & 0xFFFE) == 0xFFFE;
}

// A character that a field's text shows visibly: the forbidden ones, and the tab and line feed,
// which would otherwise pass for spaces or a line break of the page.
bool shown_as_code_point(char32_t c) { return c == '\t' || c == '\n' || forbidden_in_page(c); }

std::string code_point_box(char32_t c) {
    std::array<char, 16> digits{};
    const auto result = std::to_chars(digits.data(), digits.data() + digits.size(), static_cast<unsigned>(c), 16);
    std::string hex(digits.data(), result.ptr);
    for (char& digit : hex) digit = static_cast<char>(digit >= 'a' ? digit - 'a' + 'A' : digit);
    if (hex.size() < 4) hex.insert(0, 4 - hex.size(), '0');
    return "<span class=\"code-point\">U+" + hex + "</span>";
}

// `escaped` and `escaped_visibly`: `visibly` says whether a character the page cannot carry as it
// is shows as its code point or as U+FFFD.
std::string escaped_text(std::string_view text, bool visibly) {
    std::string out;
    out.reserve(text.size());
    while (!text.empty()) {
        const std::size_t length = numeric::utf8_character_length(text);
        if (length == 0) {
            out += kReplacementCharacter;
            text.remove_prefix(1);
            continue;
        }
        const char32_t c = numeric::decode_utf8(text.substr(0, length));
        if (visibly && shown_as_code_point(c)) {
            out += code_point_box(c);
        } else if (forbidden_in_page(c)) {
            out += kReplacementCharacter;
        } else if (c == '&') {
            out += "&amp;";
        } else if (c == '<') {
            out += "&lt;";
        } else if (c == '>') {
            out += "&gt;";
        } else if (c == '"') {
            out += "&quot;";
        } else if (c == '\'') {
            out += "&#39;";
        } else {
            out += text.substr(0, length);
        }
        text.remove_prefix(length);
    }
    return out;
}
}  // namespace

std::string escaped(std::string_view text) { return escaped_text(text, false); }

std::string escaped_visibly(std::string_view text) { return escaped_text(text, true); }

std::string svg_number(double value) {
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed, 2);
    if (result.ec != std::errc{}) return "0";
    std::string text(buffer.data(), result.ptr);
    return text == "-0.00" ? "0.00" : text;
}

}  // namespace vorlanex::report
