#include "numeric/escape_controls.h"

#include "numeric/utf8.h"

namespace vorlanex::numeric {

namespace {

bool is_control(char32_t code_point) { return code_point < 0x20 || (code_point >= 0x7F && code_point < 0xA0); }

void append_escaped(std::string& out, std::string_view bytes) {
    constexpr std::string_view kHex = "0123456789abcdef";
    for (const char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        out += "\\x";
        out += kHex[value >> 4];
        out += kHex[value & 0xF];
    }
}

}  // namespace

std::string with_controls_escaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    while (!text.empty()) {
        const std::size_t length = utf8_character_length(text);
        const std::string_view character = text.substr(0, length == 0 ? 1 : length);
        if (length == 0 || is_control(decode_utf8(character))) {
            append_escaped(out, character);
        } else {
            out += character;
        }
        text.remove_prefix(character.size());
    }
    return out;
}

}  // namespace vorlanex::numeric
