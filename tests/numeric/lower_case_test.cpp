// Lower case against the C library's own Unicode table (the C.UTF-8 locale), code point by code
// point over every block the table covers.
#include <gtest/gtest.h>

#include <locale.h>
#include <wctype.h>
#include <cwctype>

#include "numeric/lower_case.h"

namespace vorlanex::numeric {
namespace {

struct Block {
    const char* name;
    char32_t first;
    char32_t last;
};

// clang-format off
constexpr Block kCoveredBlocks[] = {
    {"Latin", 0x0000, 0x024F},           {"Greek and Coptic", 0x0370, 0x03FF},
    {"Cyrillic", 0x0400, 0x052F},        {"Armenian", 0x0530, 0x058F},
    {"Latin Extended Additional", 0x1E00, 0x1EFF}, {"Greek Extended", 0x1F00, 0x1FFF},
};
// clang-format on

TEST(LowerCase, AgreesWithTheCLibraryOnEveryCoveredBlock) {
    const locale_t reference = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    if (reference == static_cast<locale_t>(nullptr)) GTEST_SKIP() << "no C.UTF-8 locale to compare with";
    int differences = 0;
    for (const Block& block : kCoveredBlocks) {
        for (char32_t c = block.first; c <= block.last; ++c) {
            const auto expected = static_cast<char32_t>(towlower_l(static_cast<wint_t>(c), reference));
            if (lower_case(c) != expected && ++differences <= 10) {
                ADD_FAILURE() << block.name << ": U+" << std::hex << static_cast<unsigned>(c) << " gives U+"
                              << static_cast<unsigned>(lower_case(c)) << ", the C library U+"
                              << static_cast<unsigned>(expected);
            }
        }
    }
    freelocale(reference);
    EXPECT_EQ(differences, 0);
}

TEST(LowerCase, TextKeepsWhatIsNoCapitalLetter) {
    EXPECT_EQ(lower_case("ŽLUŤOUČKÝ KŮŇ 1,5 Ω"), "žluťoučký kůň 1,5 ω");
    EXPECT_EQ(lower_case("\xff"
                         "A\xe2\x82"),
              "\xff"
              "a\xe2\x82");  // broken bytes stay as they are
    EXPECT_EQ(lower_case("\U0001F600"), "\U0001F600");
}

}  // namespace
}  // namespace vorlanex::numeric
