#pragma once
// Small UTF-8 helpers shared by the decimal separator, the application title and lower case.
#include <cstddef>
#include <string>
#include <string_view>

namespace vorlanex::numeric {

// The length in bytes (1 to 4) of the well-formed UTF-8 character at the start of `text`, or 0
// when `text` is empty or does not start with one (a stray continuation byte, an overlong form,
// a surrogate, a code point above U+10FFFF, or a sequence cut short).
inline std::size_t utf8_character_length(std::string_view text) {
    if (text.empty()) return 0;
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) return 1;

    // The allowed range of the second byte depends on the lead byte (this is what excludes
    // overlong forms, surrogates and code points beyond U+10FFFF); later bytes are 80..BF.
    std::size_t length = 0;
    unsigned char second_low = 0x80;
    unsigned char second_high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) second_low = 0xA0;
        if (lead == 0xED) second_high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) second_low = 0x90;
        if (lead == 0xF4) second_high = 0x8F;
    } else {
        return 0;
    }
    if (text.size() < length) return 0;
    if (byte(1) < second_low || byte(1) > second_high) return 0;
    for (std::size_t i = 2; i < length; ++i) {
        if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
    }
    return length;
}

// The code point of `character`, one well-formed UTF-8 character (see utf8_character_length).
inline char32_t decode_utf8(std::string_view character) {
    const auto byte = [&](std::size_t i) { return static_cast<char32_t>(static_cast<unsigned char>(character[i])); };
    switch (character.size()) {
        case 1: return byte(0);
        case 2: return (byte(0) & 0x1F) << 6 | (byte(1) & 0x3F);
        case 3: return (byte(0) & 0x0F) << 12 | (byte(1) & 0x3F) << 6 | (byte(2) & 0x3F);
        default: return (byte(0) & 0x07) << 18 | (byte(1) & 0x3F) << 12 | (byte(2) & 0x3F) << 6 | (byte(3) & 0x3F);
    }
}

// Appends `code_point` (at most U+10FFFF, not a surrogate) to `text` in UTF-8.
inline void append_utf8(std::string& text, char32_t code_point) {
    const auto put = [&](char32_t bits) { text += static_cast<char>(bits); };
    if (code_point < 0x80) {
        put(code_point);
    } else if (code_point < 0x800) {
        put(0xC0 | code_point >> 6);
        put(0x80 | (code_point & 0x3F));
    } else if (code_point < 0x10000) {
        put(0xE0 | code_point >> 12);
        put(0x80 | (code_point >> 6 & 0x3F));
        put(0x80 | (code_point & 0x3F));
    } else {
        put(0xF0 | code_point >> 18);
        put(0x80 | (code_point >> 12 & 0x3F));
        put(0x80 | (code_point >> 6 & 0x3F));
        put(0x80 | (code_point & 0x3F));
    }
}

// `text` in UTF-16 (as Windows gives its texts) converted to UTF-8; a surrogate without its pair
// becomes U+FFFD, the replacement character.
inline std::string utf8_of_utf16(std::u16string_view text) {
    std::string utf8;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t code_point = text[i];
        const bool high = code_point >= 0xD800 && code_point <= 0xDBFF;
        const bool low_follows = i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
        if (high && low_follows) {
            code_point = 0x10000 + ((code_point - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (code_point >= 0xD800 && code_point <= 0xDFFF) {
            code_point = 0xFFFD;
        }
        append_utf8(utf8, code_point);
    }
    return utf8;
}

}  // namespace vorlanex::numeric
