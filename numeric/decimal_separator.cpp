#include "numeric/decimal_separator.h"

#include "numeric/code_point_ranges.h"
#include "numeric/utf8.h"

namespace vorlanex::numeric {

namespace {

constexpr std::string_view kFallbackSeparator = ".";
constexpr std::string_view kNumberSyntax = "0123456789+-Ee";

// Characters a reader cannot see, or that are no character at all, in code point order.
// clang-format off
constexpr CodePointRange kInvisible[] = {
    {0x0000, 0x0020},    // C0 controls and the space
    {0x007F, 0x00A0},    // delete, C1 controls, no-break space
    {0x00AD, 0x00AD},    // soft hyphen
    {0x0300, 0x036F},    // combining diacritical marks
    {0x061C, 0x061C},    // Arabic letter mark
    {0x115F, 0x1160},    // Hangul fillers
    {0x1680, 0x1680},    // Ogham space mark
    {0x180B, 0x180F},    // Mongolian variation selectors and vowel separator
    {0x1AB0, 0x1AFF},    // combining diacritical marks extended
    {0x1DC0, 0x1DFF},    // combining diacritical marks supplement
    {0x2000, 0x200F},    // spaces, zero-width characters, direction marks
    {0x2028, 0x202F},    // line and paragraph separators, embeddings, narrow no-break space
    {0x205F, 0x206F},    // medium space, word joiner, invisible operators, isolates
    {0x20D0, 0x20FF},    // combining marks for symbols
    {0x2800, 0x2800},    // braille blank
    {0x3000, 0x3000},    // ideographic space
    {0x3164, 0x3164},    // Hangul filler
    {0xFDD0, 0xFDEF},    // noncharacters
    {0xFE00, 0xFE0F},    // variation selectors
    {0xFE20, 0xFE2F},    // combining half marks
    {0xFEFF, 0xFEFF},    // zero-width no-break space (byte order mark)
    {0xFFA0, 0xFFA0},    // halfwidth Hangul filler
    {0xFFF0, 0xFFFB},    // unassigned specials, interlinear annotation
    {0x1D173, 0x1D17A},  // musical formatting
    {0xE0000, 0xE007F},  // tags
    {0xE0100, 0xE01EF},  // variation selectors supplement
};
// clang-format on

bool is_invisible(char32_t code_point) {
    if ((code_point & 0xFFFE) == 0xFFFE) return true;  // the noncharacters at the end of every plane
    return in_code_point_ranges(kInvisible, code_point);
}

}  // namespace

bool can_be_decimal_separator(std::string_view character) {
    if (character.empty() || utf8_character_length(character) != character.size()) return false;
    if (character.size() == 1 && kNumberSyntax.find(character.front()) != std::string_view::npos) return false;
    return !is_invisible(decode_utf8(character));
}

DecimalSeparator::DecimalSeparator(std::string_view character)
    : text_(can_be_decimal_separator(character) ? character : kFallbackSeparator) {}

}  // namespace vorlanex::numeric
