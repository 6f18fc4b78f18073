// UTF-16 to UTF-8 (Windows' texts: its regional settings, its command lines) and the search of
// sorted code point ranges (the invisible characters, the separator check's table).
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "numeric/code_point_ranges.h"
#include "numeric/utf8.h"

namespace vorlanex::numeric {
namespace {

struct Utf16Case {
    const char* name;
    std::u16string utf16;
    std::string utf8;
};

std::ostream& operator<<(std::ostream& out, const Utf16Case& text_case) { return out << text_case.name; }

// clang-format off
const Utf16Case kUtf16Texts[] = {
    {"Empty",                 u"",                     ""},
    {"Ascii",                 u"--case x.vorlanex",    "--case x.vorlanex"},
    {"CzechLetters",          u"spis-\u017elu\u0165ou\u010dk\u00fd", "spis-\u017elu\u0165ou\u010dk\u00fd"},
    {"ThreeBytes",            u"\u066b\u2212",          "\u066b\u2212"},
    {"SurrogatePair",         u"a\U0001F600b",          "a\U0001F600b"},
    {"LastCodePoint",         u"\U0010FFFF",            "\U0010FFFF"},
    {"LoneHighSurrogate",     std::u16string(1, char16_t{0xD800}) + u"x", "\uFFFDx"},
    {"LoneLowSurrogate",      std::u16string(1, char16_t{0xDC00}),        "\uFFFD"},
    {"HighAtTheEnd",          u"x" + std::u16string(1, char16_t{0xDBFF}), "x\uFFFD"},
    {"LowBeforeHigh",         std::u16string{char16_t{0xDC00}, char16_t{0xD800}}, "\uFFFD\uFFFD"},
    {"Nul",                   std::u16string(1, u'\0'), std::string(1, '\0')},
};
// clang-format on

class Utf16ToUtf8 : public ::testing::TestWithParam<Utf16Case> {};

TEST_P(Utf16ToUtf8, EveryCodePointOnceAndBrokenPairsReplaced) {
    EXPECT_EQ(utf8_of_utf16(GetParam().utf16), GetParam().utf8);
}

std::string case_name(const ::testing::TestParamInfo<Utf16Case>& param_info) { return param_info.param.name; }

INSTANTIATE_TEST_SUITE_P(Texts, Utf16ToUtf8, ::testing::ValuesIn(kUtf16Texts), case_name);

TEST(CodePointRanges, FindsExactlyTheCodePointsInside) {
    constexpr CodePointRange kRanges[] = {{0x0, 0x0}, {0x20, 0x2F}, {0x31, 0x31}, {0x10FFFF, 0x10FFFF}};
    struct Probe {
        char32_t code_point;
        bool inside;
    };
    // clang-format off
    constexpr Probe kProbes[] = {
        {0x0, true}, {0x1, false}, {0x1F, false}, {0x20, true}, {0x25, true}, {0x2F, true},
        {0x30, false}, {0x31, true}, {0x32, false}, {0x10FFFE, false}, {0x10FFFF, true}, {0x110000, false},
    };
    // clang-format on
    for (const Probe& probe : kProbes) {
        EXPECT_EQ(in_code_point_ranges(kRanges, probe.code_point), probe.inside)
            << std::hex << static_cast<unsigned>(probe.code_point);
    }
    EXPECT_FALSE(in_code_point_ranges({}, 0x41));
}

}  // namespace
}  // namespace vorlanex::numeric
