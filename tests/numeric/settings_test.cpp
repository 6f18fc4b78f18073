// The decimal separator, the application title and the arithmetic mode.
#include <gtest/gtest.h>

#include <fpu_control.h>
#include <locale.h>
#include <cfenv>
#include <cstdlib>
#include <optional>
#include <string>

#include "numeric/application_title.h"
#include "numeric/arithmetic_mode.h"
#include "numeric/decimal_separator.h"

namespace vorlanex::numeric {
namespace {

struct TextCase {
    const char* name;
    std::string input;
    const char* output;
};

std::string case_name(const ::testing::TestParamInfo<TextCase>& info) { return info.param.name; }

// clang-format off
const TextCase kSeparators[] = {
    {"Comma", ",", ","},
    {"Point", ".", "."},
    {"TwoByteCharacter", "\u00b7", "\u00b7"},
    {"ThreeByteCharacter", "\u066b", "\u066b"},
    {"FourByteCharacter", "\U0001F600", "\U0001F600"},
    {"Empty", "", "."},
    {"TwoCharacters", ",,", "."},
    {"CharacterAndMore", "\u00b7x", "."},
    {"CutSequence", "\xc2", "."},
    {"StrayContinuationByte", "\x80", "."},
    {"OverlongForm", "\xc0\xac", "."},
    {"Surrogate", "\xed\xa0\x80", "."},
    {"BeyondUnicode", "\xf4\x90\x80\x80", "."},
    // Characters of a number's own syntax: "5" would show 558.979 as "5585979".
    {"Digit", "5", "."},
    {"Zero", "0", "."},
    {"Plus", "+", "."},
    {"Minus", "-", "."},
    {"CapitalExponent", "E", "."},
    {"SmallExponent", "e", "."},
    // Characters a reader cannot see.
    {"Space", " ", "."},
    {"Tab", "\t", "."},
    {"Nul", std::string(1, '\0'), "."},
    {"Delete", "\x7f", "."},
    {"C1Control", "\u0085", "."},
    {"NoBreakSpace", "\u00a0", "."},
    {"SoftHyphen", "\u00ad", "."},
    {"CombiningAcute", "\u0301", "."},
    {"ZeroWidthSpace", "\u200b", "."},
    {"RightToLeftMark", "\u200f", "."},
    {"NarrowNoBreakSpace", "\u202f", "."},
    {"WordJoiner", "\u2060", "."},
    {"IdeographicSpace", "\u3000", "."},
    {"ByteOrderMark", "\ufeff", "."},
    {"Noncharacter", "\xef\xbf\xbe", "."},
    {"NoncharacterOfPlaneOne", "\U0001FFFF", "."},
    {"Tag", "\U000E0041", "."},
    // Visible characters that are no part of a number stay.
    {"Apostrophe", "'", "'"},
    {"LetterX", "x", "x"},
    {"ArabicDecimalSeparator", "\u066b", "\u066b"},
};
// clang-format on

class DecimalSeparatorCharacter : public ::testing::TestWithParam<TextCase> {};

TEST_P(DecimalSeparatorCharacter, KeepsOneCharacterOnly) {
    EXPECT_EQ(DecimalSeparator(GetParam().input).text(), GetParam().output);
}

INSTANTIATE_TEST_SUITE_P(Texts, DecimalSeparatorCharacter, ::testing::ValuesIn(kSeparators), case_name);

// Sets LC_ALL for the life of the object and restores it after.
class ScopedLocaleEnvironment {
public:
    explicit ScopedLocaleEnvironment(const char* value) {
        if (const char* old = std::getenv("LC_ALL")) old_ = old;
        setenv("LC_ALL", value, 1);
    }
    ~ScopedLocaleEnvironment() {
        if (old_) {
            setenv("LC_ALL", old_->c_str(), 1);
        } else {
            unsetenv("LC_ALL");
        }
    }
    ScopedLocaleEnvironment(const ScopedLocaleEnvironment&) = delete;
    ScopedLocaleEnvironment& operator=(const ScopedLocaleEnvironment&) = delete;

private:
    std::optional<std::string> old_;
};

bool locale_installed(const char* name) {
    locale_t locale = newlocale(LC_NUMERIC_MASK, name, static_cast<locale_t>(nullptr));
    if (locale == static_cast<locale_t>(nullptr)) return false;
    freelocale(locale);
    return true;
}

TEST(DecimalSeparatorRegional, CLocaleGivesPoint) {
    ScopedLocaleEnvironment environment("C");
    EXPECT_EQ(DecimalSeparator::from_regional_settings().text(), ".");
}

TEST(DecimalSeparatorRegional, CzechLocaleGivesComma) {
    if (!locale_installed("cs_CZ.UTF-8")) GTEST_SKIP() << "the cs_CZ.UTF-8 locale is not installed";
    ScopedLocaleEnvironment environment("cs_CZ.UTF-8");
    EXPECT_EQ(DecimalSeparator::from_regional_settings().text(), ",");
    EXPECT_EQ(std::string(setlocale(LC_NUMERIC, nullptr)), "C") << "the global locale must not change";
}

TEST(DecimalSeparatorRegional, MissingLocaleGivesPoint) {
    ScopedLocaleEnvironment environment("xx_NOWHERE.UTF-8");
    EXPECT_EQ(DecimalSeparator::from_regional_settings().text(), ".");
}

// clang-format off
const TextCase kTitles[] = {
    {"DirectoryAndExtension", "/opt/VORLANEX.bin", "Vorlanex"},
    {"PlainName", "vorlanex", "vorlanex"},
    {"NoDirectory", "Vorlanex.exe", "Vorlanex"},
    {"CutAtFirstPoint", "/usr/bin/ABC.DEF.exe", "Abc"},
    {"PointInDirectory", "/home/a.b/Calc", "Calc"},
    {"RelativePath", "./build/KALK", "Kalk"},
    {"FirstCharacterKept", "/x/kALK", "kalk"},
    {"MultiByteFirstCharacter", "/x/\u00c1BC", "\u00c1bc"},
    {"CzechLettersLowered", "/x/V\u00ddPO\u010cET", "V\u00fdpo\u010det"},
    {"EveryLetterOfAWordLowered", "/x/\u017dLU\u0164OU\u010cK\u00dd", "\u017dlu\u0165ou\u010dk\u00fd"},
    {"GreekLowered", "/x/\u039f\u0394\u039f\u03a3", "\u039f\u03b4\u03bf\u03c3"},
    {"CyrillicLowered", "/x/\u041c\u041e\u0421\u041a\u0412\u0410", "\u041c\u043e\u0441\u043a\u0432\u0430"},
    {"DottedCapitalIBecomesI", "/x/K\u0130LO", "Kilo"},
    {"CapitalSharpS", "/x/GR\u1e9e", "Gr\u00df"},
    {"UnlistedScriptUntouched", "/x/A\u10a0\u13a0", "A\u10a0\u13a0"},
    {"BrokenBytesKept", "/x/A\xff\xc3" "B", "A\xff\xc3" "b"},
    {"Empty", "", ""},
    {"TrailingSlash", "/opt/", ""},
    {"HiddenFile", "/opt/.vorlanex", ""},
};
// clang-format on

class ApplicationTitle : public ::testing::TestWithParam<TextCase> {};

TEST_P(ApplicationTitle, FromExecutablePath) { EXPECT_EQ(application_title(GetParam().input), GetParam().output); }

INSTANTIATE_TEST_SUITE_P(Paths, ApplicationTitle, ::testing::ValuesIn(kTitles), case_name);

TEST(OwnExecutablePath, IsThisTestProgram) {
    const std::string path = own_executable_path("fallback");
    EXPECT_EQ(path.front(), '/');
    EXPECT_EQ(application_title(path), "numeric_tests");
}

fpu_control_t x87_control_word() {
    fpu_control_t control_word = 0;
    _FPU_GETCW(control_word);
    return control_word;
}

TEST(ArithmeticMode, RestoresExtendedPrecisionAndRoundToNearest) {
    // Double precision, round up, precision and zero-divide traps on (with no exception pending,
    // or the next x87 instruction would trap at once).
    std::feclearexcept(FE_ALL_EXCEPT);
    fpu_control_t disturbed =
        0x40 | _FPU_DOUBLE | _FPU_RC_UP | _FPU_MASK_IM | _FPU_MASK_DM | _FPU_MASK_OM | _FPU_MASK_UM;
    _FPU_SETCW(disturbed);
    std::fesetround(FE_DOWNWARD);  // reaches the SSE unit too
    set_arithmetic_mode();
    EXPECT_EQ(x87_control_word(), 0x037F);
    EXPECT_EQ(std::fegetround(), FE_TONEAREST);
    volatile long double one = 1.0L;
    EXPECT_EQ(one / 3, 1.0L / 3);  // divided at run time with a 64-bit significand again
}

}  // namespace
}  // namespace vorlanex::numeric
