// The separator check's table, which Windows uses for want of ICU, against ICU itself on every
// code point: a table generated from another ICU version, or written wrongly, would let Windows
// accept a separator that Linux refuses (or the reverse), and a case would then read differently.
#include <gtest/gtest.h>

#include <vector>

#include "casefile/separator_properties.h"
#include "casefile/separator_table.h"

namespace vorlanex::casefile {
namespace {

TEST(SeparatorTable, RangesAreSortedApartAndWithinUnicode) {
    const auto table = separator_table();
    ASSERT_FALSE(table.empty());
    for (std::size_t i = 0; i < table.size(); ++i) {
        EXPECT_LE(table[i].first, table[i].last) << i;
        EXPECT_LE(table[i].last, char32_t{0x10FFFF}) << i;
        // Neighbouring ranges that touch would have been one.
        if (i > 0) {
            EXPECT_GT(table[i].first, table[i - 1].last + 1) << i;
        }
    }
}

TEST(SeparatorTable, AgreesWithIcuOnEveryCodePoint) {
    std::vector<char32_t> differing;
    for (char32_t code_point = 0; code_point <= 0x10FFFF; ++code_point) {
        if (numeric::in_code_point_ranges(separator_table(), code_point) !=
            shows_alone_unlike_number_syntax(code_point)) {
            differing.push_back(code_point);
        }
    }
    EXPECT_TRUE(differing.empty()) << differing.size() << " code points differ, the first U+" << std::hex
                                   << static_cast<unsigned>(differing.front());
}

}  // namespace
}  // namespace vorlanex::casefile
