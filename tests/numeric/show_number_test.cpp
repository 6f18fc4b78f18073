#include "numeric/show_number.h"

#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <random>

#include "exact_decimal.h"
#include "numeric/parse_number.h"

namespace vorlanex::numeric {
namespace {

const DecimalSeparator kComma(",");

struct ShowCase {
    const char* name;
    double value;
    const char* text;
};

void PrintTo(const ShowCase& c, std::ostream* os) { *os << c.name; }
std::string case_name(const ::testing::TestParamInfo<ShowCase>& info) { return info.param.name; }

// Divisions as the calculations perform them (doubles divided at run time).
volatile double two = 2.0, three = 3.0, fifty = 50.0, three_point_six = 3.6, point_one = 0.1, point_two = 0.2;

// clang-format off
const ShowCase kShowCases[] = {
    {"PositiveZero", 0.0, "0"},
    {"NegativeZero", -0.0, "0"},
    {"TwelveAndAHalf", 12.5, "12,5"},
    {"Hundred", 100, "100"},
    {"OneTenth", 0.1, "0,1"},
    {"Negative", -3.25, "-3,25"},
    {"TwoThirds", two / three, "0,666666666666667"},
    {"FiftyBy3_6", fifty / three_point_six, "13,8888888888889"},
    {"PointOnePlusPointTwo", point_one + point_two, "0,3"},
    {"OneTenThousandth", 0.0001, "0,0001"},
    {"OneHundredThousandth", 0.00001, "1E-5"},
    {"SmallWithFraction", 0.000015, "1,5E-5"},
    {"FifteenDigitInteger", 123456789012345, "123456789012345"},
    {"TenToFifteen", 1e15, "1E15"},
    {"RoundsUpToTenToFifteen", 999999999999999.9, "1E15"},
    {"PlainWithFraction", 1234567.891, "1234567,891"},
    {"LargestDouble", DBL_MAX, "1,79769313486232E308"},
    {"SmallestSubnormal", 4.9406564584124654e-324, "4,94065645841247E-324"},
    {"SmallestNormal", DBL_MIN, "2,2250738585072E-308"},
    // Switch points between plain and scientific notation.
    {"JustBelowTenThousandthRoundsUp", std::nextafter(0.0001, 0.0), "0,0001"},
    {"BelowTenThousandth", 9.99999999999999e-5, "9,99999999999999E-5"},
    {"NegativeBelowTenThousandth", -9.99999999999999e-5, "-9,99999999999999E-5"},
    {"LargestPlainInteger", 999999999999999, "999999999999999"},
    {"NegativeLargestPlainInteger", -999999999999999, "-999999999999999"},
    {"FractionCutDown", 999999999999999.4, "999999999999999"},
    {"FractionTieCutUp", 999999999999999.5, "1E15"},
    {"NegativeTenToFifteen", -1e15, "-1E15"},
    {"TenToSixteen", 1e16, "1E16"},
    {"IntegerPaddedWithZeros", 1.5e14, "150000000000000"},
    {"LargeScientific", 1.25e100, "1,25E100"},
    {"SmallScientific", -2.5e-100, "-2,5E-100"},
    // Carries through all 15 digits into a new leading digit.
    {"CarryToOne", 0.99999999999999995, "1"},
    {"CarryToTen", 9.9999999999999995, "10"},
    {"CarryToTenThousandth", 9.9999999999999995e-5, "0,0001"},
    {"CarryToTenToTwenty", 9.9999999999999995e19, "1E20"},
    // The 16th digit decides, ties going up, not to even.
    {"CutTieUpFromEven", 1234567890123445, "1,23456789012345E15"},
    {"CutTieUpFromOdd", 1234567890123455, "1,23456789012346E15"},
    {"CutJustBelowTie", 1234567890123444, "1,23456789012344E15"},
    // The first rounding to 18 digits makes ...4999 into ...500, which the cut then rounds up.
    {"EighteenDigitsThenCut", 2.421072493769445, "2,42107249376945"},
    {"EighteenDigitsThenCutCarry", 7.123857119660995, "7,123857119661"},
    // 2^-26 = 1.490116119384765625e-8: the 19th digit is an exact tie, kept even (...562).
    {"NineteenthDigitTie", 0x1p-26, "1,49011611938477E-8"},
};
// clang-format on

class ShowNumberExamples : public ::testing::TestWithParam<ShowCase> {};

TEST_P(ShowNumberExamples, ShowsText) { EXPECT_EQ(show_number(GetParam().value, kComma), GetParam().text); }

// The reference used by the random tests below must agree with the same table.
TEST_P(ShowNumberExamples, ReferenceAgrees) {
    EXPECT_EQ(testing::reference_show_number(GetParam().value, ","), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Comma, ShowNumberExamples, ::testing::ValuesIn(kShowCases), case_name);

TEST(ShowNumber, UsesTheGivenSeparator) {
    EXPECT_EQ(show_number(-12.5, DecimalSeparator(".")), "-12.5");
    EXPECT_EQ(show_number(1.5e-7, DecimalSeparator(".")), "1.5E-7");
    EXPECT_EQ(show_number(0.001, DecimalSeparator("\u00b7")), "0\u00b7001");
}

TEST(ShowNumber, EighteenDigitRoundingIsExact) {
    EXPECT_EQ(testing::exact_decimal(0x1p-26).digits, "1490116119384765625");
    EXPECT_EQ(testing::exact_decimal(0x1p-26).exponent, -7);
}

// A random double of any magnitude, subnormals included (never infinite or NaN).
double random_double(std::mt19937_64& random) {
    for (;;) {
        const double value = std::bit_cast<double>(random());
        if (std::isfinite(value)) return value;
    }
}

// A double next to a point where the shown digits change: 15 random digits followed by a 5
// (the cut tie) or by 9s (the carry), or a power of ten, nudged by a few units in the last place.
double random_near_boundary(std::mt19937_64& random) {
    std::uniform_int_distribution<std::int64_t> digits(100000000000000, 999999999999999);
    std::uniform_int_distribution<int> decimal_exponent(-340, 290);
    std::uniform_int_distribution<int> kind(0, 2);
    std::uniform_int_distribution<int> nudge(-3, 3);
    std::string text;
    switch (kind(random)) {
        case 0: text = std::to_string(digits(random)) + "5"; break;
        case 1: text = std::to_string(digits(random)) + "999"; break;
        default: text = "1"; break;
    }
    double value = std::strtod((text + "e" + std::to_string(decimal_exponent(random))).c_str(), nullptr);
    for (int n = nudge(random); n != 0; n += n > 0 ? -1 : 1) {
        value = std::nextafter(value, n > 0 ? DBL_MAX : 0.0);
    }
    return value;
}

double random_boundary_double(std::mt19937_64& random) {
    for (;;) {
        const double value = random_near_boundary(random);
        if (std::isfinite(value) && value != 0) return value;
    }
}

TEST(ShowNumberProperty, MatchesExactReferenceOnRandomDoubles) {
    std::mt19937_64 random(20240611);
    constexpr int kCount = 200000;
    for (int i = 0; i < kCount; ++i) {
        const double value = random_double(random);
        ASSERT_EQ(show_number(value, kComma), testing::reference_show_number(value, ",")) << std::hexfloat << value;
    }
}

TEST(ShowNumberProperty, MatchesExactReferenceNearDigitBoundaries) {
    std::mt19937_64 random(7);
    constexpr int kCount = 200000;
    for (int i = 0; i < kCount; ++i) {
        const double value = random_boundary_double(random);
        ASSERT_EQ(show_number(value, kComma), testing::reference_show_number(value, ",")) << std::hexfloat << value;
    }
}

// The magnitudes calculations give (10^-5 to 10^18, where show_number scales in integers): every
// binary exponent of the range and either side of it, random and near digit boundaries.
TEST(ShowNumberProperty, MatchesExactReferenceInTheRangeOfCalculations) {
    std::mt19937_64 random(2026);
    std::uniform_int_distribution<int> binary_exponent(-20, 64);
    std::uniform_int_distribution<std::uint64_t> mantissa(0, (std::uint64_t{1} << 52) - 1);
    std::uniform_int_distribution<int> decimal_exponent(-7, 19);
    std::uniform_int_distribution<std::int64_t> digits(100000000000000, 999999999999999);
    std::uniform_int_distribution<int> nudge(-3, 3);
    for (int i = 0; i < 200000; ++i) {
        double value = 0;
        if (i % 2 == 0) {
            value = std::ldexp(1.0 + static_cast<double>(mantissa(random)) * 0x1p-52, binary_exponent(random));
        } else {
            const std::string text = std::to_string(digits(random)) + (i % 4 == 1 ? "5" : "999");
            value = std::strtod((text + "e" + std::to_string(decimal_exponent(random) - 16)).c_str(), nullptr);
            for (int n = nudge(random); n != 0; n += n > 0 ? -1 : 1)
                value = std::nextafter(value, n > 0 ? DBL_MAX : 0.0);
        }
        ASSERT_EQ(show_number(value, kComma), testing::reference_show_number(value, ",")) << std::hexfloat << value;
    }
}

TEST(ShowNumberProperty, MatchesExactReferenceOnSubnormals) {
    std::mt19937_64 random(11);
    std::uniform_int_distribution<std::uint64_t> bits(1, (std::uint64_t{1} << 52) - 1);
    for (int i = 0; i < 2000; ++i) {
        const double value = std::bit_cast<double>(bits(random));
        ASSERT_EQ(show_number(value, kComma), testing::reference_show_number(value, ",")) << std::hexfloat << value;
    }
}

// Reading a shown text back gives the value to 15 significant digits, and showing that again
// gives the same text.
TEST(ShowNumberProperty, ParsingTheTextGivesTheValueToFifteenDigits) {
    std::mt19937_64 random(42);
    for (int i = 0; i < 50000; ++i) {
        const double value = random_double(random);
        const std::string text = show_number(value, kComma);
        const double read_back = parse_number(text, kComma);
        if (std::fabs(value) >= DBL_MIN) {
            ASSERT_LE(std::fabs(read_back - value), 5.2e-15 * std::fabs(value)) << text;
            ASSERT_EQ(show_number(read_back, kComma), text);
        } else {
            // Subnormals carry fewer bits than 15 digits need; only the rounding step bounds them.
            ASSERT_LE(std::fabs(read_back - value), 5.2e-15 * std::fabs(value) + 0x1p-1074) << text;
        }
    }
}

}  // namespace
}  // namespace vorlanex::numeric
