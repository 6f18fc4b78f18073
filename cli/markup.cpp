#include "cli/markup.h"

#include <array>
#include <charconv>

#include "numeric/utf8.h"

namespace vorlanex::cli {

namespace {
constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";

// Characters below U+0020 that an XML 1.0 document may hold.
bool xml_allows_control(char c) { return c == '\t' || c == '\n' || c == '\r'; }
}  // namespace

std::string escaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    while (!text.empty()) {
        const std::size_t length = numeric::utf8_character_length(text);
        if (length == 0) {
            out += kReplacementCharacter;
            text.remove_prefix(1);
            continue;
        }
        const char c = text.front();
        if (length == 1 && static_cast<unsigned char>(c) < 0x20 && !xml_allows_control(c)) {
            out += kReplacementCharacter;
        } else if (text.starts_with("\xEF\xBF\xBE") || text.starts_with("\xEF\xBF\xBF")) {
            out += kReplacementCharacter;  // U+FFFE and U+FFFF, which XML excludes too
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
        } else if (c == '\r') {
            out += "&#13;";
        } else {
            out += text.substr(0, length);
        }
        text.remove_prefix(length);
    }
    return out;
}

std::string svg_number(double value) {
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed, 2);
    if (result.ec != std::errc{}) return "0";
    std::string text(buffer.data(), result.ptr);
    return text == "-0.00" ? "0.00" : text;
}

}  // namespace vorlanex::cli
