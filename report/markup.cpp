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

// The characters that change the direction text is laid out in: the embeddings and overrides
// U+202A..U+202E, the isolates U+2066..U+2069 and the marks U+200E, U+200F and U+061C. Raw in a
// report they would turn the text around them ("ZP 1/2026" shown as "ZP 6202/1").
bool is_bidi_control(char32_t c) {
    return (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069) || c == 0x200E || c == 0x200F || c == 0x061C;
}

// "U+0001", "U+202E".
std::string code_point_name(char32_t c) {
    std::array<char, 16> digits{};
    const auto result = std::to_chars(digits.data(), digits.data() + digits.size(), static_cast<unsigned>(c), 16);
    std::string hex(digits.data(), result.ptr);
    for (char& digit : hex) digit = static_cast<char>(digit >= 'a' ? digit - 'a' + 'A' : digit);
    if (hex.size() < 4) hex.insert(0, 4 - hex.size(), '0');
    return "U+" + hex;
}

std::string code_point_box(char32_t c) { return "<span class=\"code-point\">" + code_point_name(c) + "</span>"; }

// Which characters are shown as their code point in a box (or, where no markup may stand, as the
// bare name of their code point); the others that a page cannot carry become U+FFFD.
enum class Boxed { None, BidiControlsNamed, BidiControls, Every };

// `escaped`, `escaped_visibly` and the text inside `user_text`.
std::string escaped_text(std::string_view text, Boxed boxed) {
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
        if (boxed == Boxed::BidiControlsNamed && is_bidi_control(c)) {
            out += code_point_name(c);
        } else if ((boxed == Boxed::Every && shown_as_code_point(c)) || (boxed != Boxed::None && is_bidi_control(c))) {
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

std::string escaped(std::string_view text) { return escaped_text(text, Boxed::None); }

std::string escaped_visibly(std::string_view text) { return escaped_text(text, Boxed::Every); }

std::string plain_user_text(std::string_view text) { return escaped_text(text, Boxed::BidiControlsNamed); }

std::string user_text(std::string_view text) { return "<bdi>" + escaped_text(text, Boxed::BidiControls) + "</bdi>"; }

std::string svg_number(double value) {
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed, 2);
    if (result.ec != std::errc{}) return "0";
    std::string text(buffer.data(), result.ptr);
    return text == "-0.00" ? "0.00" : text;
}

}  // namespace vorlanex::report
