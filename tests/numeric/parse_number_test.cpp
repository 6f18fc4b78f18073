#include "numeric/parse_number.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <random>
#include <string>

#include "numeric/faults.h"
#include "numeric/show_number.h"

namespace vorlanex::numeric {
namespace {

using namespace std::string_literals;

struct ParseCase {
    const char* name;
    std::string text;
    const char* separator;
    double value;
};

struct FaultCase {
    const char* name;
    std::string text;
    const char* separator;
};

void PrintTo(const ParseCase& c, std::ostream* os) { *os << c.name; }
void PrintTo(const FaultCase& c, std::ostream* os) { *os << c.name; }

template <class Case>
std::string case_name(const ::testing::TestParamInfo<Case>& info) {
    return info.param.name;
}

// clang-format off
const ParseCase kNumbers[] = {
    {"Integer", "20", ",", 20},
    {"CommaFraction", "0,8", ",", 0.8},
    {"PointFraction", "0.8", ".", 0.8},
    {"SpacesAround", " 12,5 ", ",", 12.5},
    {"ManySpaces", "    42,702   ", ",", 42.702},
    {"PlusSign", "+5", ",", 5},
    {"MinusSign", "-3,25", ",", -3.25},
    {"LoneSeparator", ",", ",", 0},
    {"NoIntegerDigits", ",5", ",", 0.5},
    {"NoFractionDigits", "5,", ",", 5},
    {"ExponentLower", "1e3", ",", 1000},
    {"ExponentUpper", "1E3", ",", 1000},
    {"ExponentPlus", "1E+3", ",", 1000},
    {"ExponentMinus", "25e-2", ",", 0.25},
    {"ExponentAfterSeparator", "1,e2", ",", 100},
    {"ExponentWithoutDigits", "5E", ",", 5},
    {"ExponentSignWithoutDigits", "5e-", ",", 5},
    {"ExponentLeadingZeros", "1e0003", ",", 1000},
    {"OneTenth", "0,1", ",", 0.1},
    {"FourteenDigits", "0,17052859036965", ",", 0.17052859036965},
    {"LeadingZeros", "000000000000000000000000012,5", ",", 12.5},
    {"TrailingZeros", "1,5000000000000000000000000000000", ",", 1.5},
    {"TwentyFiveDigits", "1234567890123456789012345", ",", 1.234567890123456789012345e24},
    {"LongFraction", "0,1234567890123456789012345678901234567890", ",",
     0.1234567890123456789012345678901234567890},
    {"LargestDouble", "1,7976931348623157e308", ",", DBL_MAX},
    {"SmallestSubnormal", "4,9406564584124654e-324", ",", 4.9406564584124654e-324},
    {"SmallestNormal", "2,2250738585072014E-308", ",", DBL_MIN},
    {"BelowDoubleRange", "1e-400", ",", 0},
    {"BelowHalfSubnormal", "2e-324", ",", 0},
    {"AboveHalfSubnormal", "3e-324", ",", 4.9406564584124654e-324},
    {"ExponentLimitNegative", "1e-0500", ",", 0},
    {"ManyDigitsSmallExponent", "1" + std::string(600, '0') + "e-600", ",", 1},
    {"ManyFractionDigits", "0," + std::string(4000, '0') + "1e4001", ",", 1},
    {"MultiByteSeparator", "2\u00b75", "\u00b7", 2.5},
    // An integer between two doubles, exact in extended precision: the tie goes to even.
    {"TwoToFiftyThreePlusOne", "9007199254740993", ",", 9007199254740992.0},
    // Rounded to extended precision first (to 2^53 + 1), then a tie to even as a double, where a
    // single rounding would give 2^53 + 2.
    {"DoubleRounding", "9007199254740993,0001", ",", 9007199254740992.0},
    // Exactly between two extended values (2^53 + 1 and 2^53 + 1 + 2^-10): to the even one,
    // 2^53 + 1, then to 2^53 as a double.
    {"ExtendedTie", "9007199254740993,00048828125", ",", 9007199254740992.0},
    // Just above that tie, by a digit beyond those handed to strtold: the shortened text must
    // still round up, to 2^53 + 1 + 2^-10, and so to 2^53 + 2 as a double.
    {"LongTextJustAboveTie", "9007199254740993,00048828125" + std::string(6000, '0') + "1", ",",
     9007199254740994.0},
    // The same at 2^200, where the extended tie 2^200 + 2^147 + 2^136 has 61 digits, so a
    // shortened text would have to keep them all to round the right way.
    {"ExtendedTieLarge", "1606938044258990454035035966517907981454573074472217545277440", ",", 0x1p200},
    {"JustBelowExtendedTieLarge", "1606938044258990454035035966517907981454573074472217545277439,9999999999", ",", 0x1p200},
    {"JustAboveExtendedTieLarge", "1606938044258990454035035966517907981454573074472217545277440,0000000001", ",", 0x1.0000000000001p200},
};
// clang-format on

class ParseNumberValues : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseNumberValues, ReadsValue) {
    const ParseCase& c = GetParam();
    EXPECT_EQ(parse_number(c.text, DecimalSeparator(c.separator)), c.value);
}

INSTANTIATE_TEST_SUITE_P(Texts, ParseNumberValues, ::testing::ValuesIn(kNumbers), case_name<ParseCase>);

TEST(ParseNumber, SignOfZeroIsKept) {
    EXPECT_TRUE(std::signbit(parse_number("-0", DecimalSeparator(","))));
    EXPECT_TRUE(std::signbit(parse_number("-1e-999", DecimalSeparator(","))));
    EXPECT_FALSE(std::signbit(parse_number("0", DecimalSeparator(","))));
    EXPECT_EQ(show_number(parse_number("-0", DecimalSeparator(",")), DecimalSeparator(",")), "0");
}

// clang-format off
const FaultCase kNotNumbers[] = {
    {"Empty", "", ","},
    {"OnlySpaces", "   ", ","},
    {"Letters", "abc", ","},
    {"WrongSeparatorPoint", "12.5", ","},
    {"WrongSeparatorComma", "0,8", "."},
    {"SpaceInside", "1 000", ","},
    {"ThousandsSeparator", "1,000.5", ","},
    {"ThousandsSeparatorPoint", "1,000.5", "."},
    {"ExponentOnly", "E5", ","},
    {"SpaceAfterSign", "- 5", ","},
    {"OnlySign", "-", ","},
    {"TwoSigns", "+-5", ","},
    {"TwoSeparators", "1,2,3", ","},
    {"Tab", "\t5", ","},
    {"TrailingTab", "5\t", ","},
    {"NoBreakSpace", "\u00a05", ","},
    {"TrailingLetter", "5x", ","},
    {"ExponentSpace", "1e 3", ","},
    {"ExponentTwoSigns", "1e+-3", ","},
    {"ExponentSeparator", "1e2,5", ","},
    {"Hexadecimal", "0x10", ","},
    {"Infinity", "inf", ","},
    {"NotANumber", "nan", ","},
    {"NulByte", "5\0"s, ","},
    {"InvalidUtf8", "5\xff", ","},
    // The exponent: digits are read until it reaches 500, a digit left over rejects the text.
    {"ExponentDigitLeftOver", "1e5000", ","},
    {"ExponentDigitsLeftOver", "1e50000", ","},
    {"NegativeExponentDigitLeftOver", "1e-5000", ","},
    {"ExponentLeftOverAfterZeros", "1e00005000", ","},
    {"ExponentLeftOverDespiteSmallValue", "0," + std::string(4999, '0') + "1e5000", ","},
    // Beyond the extended range (about 1.19e4932) while the value is formed.
    {"BeyondExtendedRange", "1e4933", ","},
    {"BeyondExtendedRangeByDigits", "1" + std::string(4933, '0'), ","},
    {"BeyondExtendedRangeLargeExponent", "9e4999", ","},
};
// clang-format on

class ParseNumberNotNumbers : public ::testing::TestWithParam<FaultCase> {};

TEST_P(ParseNumberNotNumbers, RaisesConversionFaultWithWholeText) {
    const FaultCase& c = GetParam();
    try {
        parse_number(c.text, DecimalSeparator(c.separator));
        FAIL() << "no fault";
    } catch (const ConversionFault& fault) {
        EXPECT_EQ(fault.message(), "'" + c.text + "' is not a valid floating point value");
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, ParseNumberNotNumbers, ::testing::ValuesIn(kNotNumbers), case_name<FaultCase>);

TEST(ParseNumber, EmptyFieldMessage) {
    try {
        parse_number("", DecimalSeparator(","));
        FAIL() << "no fault";
    } catch (const ConversionFault& fault) {
        EXPECT_EQ(fault.message(), "'' is not a valid floating point value");
        EXPECT_EQ(error_box_text(fault.message()), "'' is not a valid floating point value.");
    }
}

// Fits the extended range, not a double: an overflow when the value is stored.
// clang-format off
const FaultCase kBeyondDouble[] = {
    {"TenToFourHundred", "1e400", ","},
    {"ExponentReachesLimit", "1e0500", ","},
    {"ExponentJustBelowLimit", "1e499", ","},
    {"ExponentReadPastLimit", "1e600", ","},
    {"NegativeBeyondDouble", "-1e309", ","},
    {"JustAboveLargestDouble", "1,7976931348623159e308", ","},
    {"TopOfExtendedRange", "1e4932", ","},
    {"ManyDigits", "1" + std::string(400, '0'), ","},
};
// clang-format on

class ParseNumberBeyondDouble : public ::testing::TestWithParam<FaultCase> {};

TEST_P(ParseNumberBeyondDouble, RaisesOverflow) {
    const FaultCase& c = GetParam();
    try {
        parse_number(c.text, DecimalSeparator(c.separator));
        FAIL() << "no fault";
    } catch (const ArithmeticFault& fault) {
        EXPECT_EQ(fault.kind(), ArithmeticFaultKind::Overflow);
        EXPECT_EQ(fault.message(), "Floating point overflow");
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, ParseNumberBeyondDouble, ::testing::ValuesIn(kBeyondDouble), case_name<FaultCase>);

// Texts of millions of characters are read in one pass (strtold gets at most a few thousand
// digits), whatever their value.
TEST(ParseNumber, HugeTexts) {
    const std::size_t huge = 10000000;
    const DecimalSeparator comma(",");
    EXPECT_THROW(parse_number(std::string(huge, '7'), comma), ConversionFault);
    EXPECT_EQ(parse_number("0," + std::string(huge, '0') + "1", comma), 0);
    EXPECT_EQ(parse_number(std::string(huge, '0') + "3", comma), 3);
    EXPECT_EQ(parse_number("0," + std::string(huge, '3') + "e1", comma), 10.0 / 3);
    EXPECT_EQ(parse_number(std::string(huge, ' ') + "5" + std::string(huge, ' '), comma), 5);
}

// Random valid texts read like strtold followed by a conversion to double.
TEST(ParseNumberProperty, AgreesWithStrtold) {
    std::mt19937_64 random(1234);
    std::uniform_int_distribution<int> digit(0, 9);
    std::uniform_int_distribution<int> length(0, 25);
    std::uniform_int_distribution<int> exponent(-360, 330);
    std::uniform_int_distribution<int> coin(0, 1);
    for (int i = 0; i < 100000; ++i) {
        std::string integer, fraction;
        for (int n = length(random); n > 0; --n) integer += static_cast<char>('0' + digit(random));
        for (int n = length(random); n > 0; --n) fraction += static_cast<char>('0' + digit(random));
        if (integer.empty() && fraction.empty()) integer = "7";
        const std::string sign = coin(random) ? "-" : "";
        const std::string power = coin(random) ? "e" + std::to_string(exponent(random)) : "";
        const long double expected_extended = std::strtold((sign + integer + "." + fraction + power).c_str(), nullptr);
        const auto expected = static_cast<double>(expected_extended);
        const std::string text = sign + integer + "," + fraction + power;
        if (std::isinf(expected)) {
            ASSERT_THROW(parse_number(text, DecimalSeparator(",")), ArithmeticFault) << text;
        } else {
            ASSERT_EQ(parse_number(text, DecimalSeparator(",")), expected) << text;
        }
    }
}

// The places a text shows, counted here from its parts: what follows the separator up to "E", less
// the exponent.
int places_counted(const std::string& text, const std::string& separator) {
    const std::size_t exponent_at = text.find_first_of("Ee");
    const std::string digits = text.substr(0, exponent_at);
    const std::size_t separator_at = digits.find(separator);
    long places =
        separator_at == std::string::npos ? 0 : static_cast<long>(digits.size() - separator_at - separator.size());
    if (exponent_at != std::string::npos) places -= std::stol(text.substr(exponent_at + 1));
    return static_cast<int>(std::max(places, 0L));
}

// show_number's texts of random doubles of every magnitude (and of values rounded to a few
// places, as results are) read back to the very double parse_number gives, with their places.
TEST(ReadShownNumber, AgreesWithParseNumberOnShownTexts) {
    std::mt19937_64 random(99);
    std::uniform_int_distribution<int> power(-330, 310);
    std::uniform_int_distribution<int> places(0, 6);
    std::uniform_real_distribution<double> mantissa(-10, 10);
    for (const char* separator : {",", ".", "٫"}) {
        const DecimalSeparator chosen(separator);
        for (int i = 0; i < 100000; ++i) {
            double value = mantissa(random) * std::pow(10.0, power(random) % (i % 3 == 0 ? 310 : 20));
            if (i % 2 == 0) value = std::round(value * std::pow(10.0, places(random))) / std::pow(10.0, places(random));
            if (!std::isfinite(value)) continue;
            const std::string text = show_number(value, chosen);
            const ShownNumber read = read_shown_number(text, chosen);
            ASSERT_EQ(std::bit_cast<std::uint64_t>(read.value),
                      std::bit_cast<std::uint64_t>(parse_number(text, chosen)))
                << text;
            ASSERT_EQ(read.decimal_places, places_counted(text, separator)) << text;
        }
    }
}

// Texts of other shapes are read as parse_number reads them, words fail as there.
TEST(ReadShownNumber, OtherTextsAsParseNumberReadsThem) {
    const DecimalSeparator comma(",");
    struct Row {
        std::string text;
        double value;
        int places;
    };
    // clang-format off
    for (const Row& row : {Row{"42,702",   42.702,  3}, Row{"1,5E-5", 1.5e-5, 6}, Row{"1E15",  1e15, 0},
                           Row{"2,5E3",    2500,    0}, Row{"-0,5",   -0.5,   1}, Row{"0",     0,    0},
                           Row{" 12,5 ",   12.5,    1}, Row{"+5",     5,      0}, Row{",25",   0.25, 2},
                           Row{"1e-3",     0.001,   3}, Row{"12345678901234567890123", 12345678901234567890123.0, 0},
                           Row{"5E",       5,       0}, Row{"4,94065645841247E-324", 4.94065645841247e-324, 338}}) {
        // clang-format on
        const ShownNumber read = read_shown_number(row.text, comma);
        EXPECT_EQ(read.value, row.value) << row.text;
        EXPECT_EQ(read.decimal_places, row.places) << row.text;
    }
    EXPECT_TRUE(std::signbit(read_shown_number("-0", comma).value));
    for (const char* word : {"", "abc", "NAN", "-INF", "5,5,5", "E5"}) {
        EXPECT_THROW(read_shown_number(word, comma), ConversionFault) << word;
    }
}

}  // namespace
}  // namespace vorlanex::numeric
