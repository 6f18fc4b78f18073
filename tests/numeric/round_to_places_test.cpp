#include "numeric/round_to_places.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vorlanex::numeric {
namespace {

struct RoundCase {
    const char* name;
    Extended x;
    int places;
    double rounded;
};

std::string case_name(const ::testing::TestParamInfo<RoundCase>& info) { return info.param.name; }

constexpr long double kGravity = 9.80665L;
constexpr long double kKilometresPerHour = 3.6L;

// clang-format off
const RoundCase kRoundCases[] = {
    {"ThreePlaces", 12.3456, 3, 12.346},
    {"TieDownToEven", 0.0625, 3, 0.062},
    {"TieUpToEven", 0.1875, 3, 0.188},
    {"NegativeTieToEven", -0.0625, 3, -0.062},
    {"NegativeRoundsUp", -12.3456, 3, -12.346},
    {"UnstoredProduct", Extended(0.8) * Extended(kGravity), 3, 7.845},
    {"TwoPlacesTieDown", 0.125, 2, 0.12},
    {"TwoPlacesTieUp", 0.375, 2, 0.38},
    {"SpeedInKilometresPerHour", Extended(13.88888888888889) * Extended(kKilometresPerHour), 3, 50},
    {"SpeedInMetresPerSecond", Extended(50.0) / Extended(kKilometresPerHour), 3, 13.889},
    {"AlreadyRounded", 42.702, 3, 42.702},
    {"Zero", 0.0, 3, 0},
    {"LargestAllowed", 9.2e15, 3, 9.2e15},
    {"NegativeLargestAllowed", -9.2e15, 3, -9.2e15},
};
// clang-format on

class RoundToPlacesExamples : public ::testing::TestWithParam<RoundCase> {};

TEST_P(RoundToPlacesExamples, Rounds) {
    EXPECT_EQ(round_to_places(GetParam().x, GetParam().places), GetParam().rounded);
}

INSTANTIATE_TEST_SUITE_P(Values, RoundToPlacesExamples, ::testing::ValuesIn(kRoundCases), case_name);

TEST(RoundToPlaces, TinyNegativeGivesPositiveZero) { EXPECT_FALSE(std::signbit(round_to_places(-0.0001, 3))); }

// Beyond the signed 64-bit range once scaled: 9.3e15 x 1000 > 2^63.
TEST(RoundToPlaces, OutsideSixtyFourBitsIsInvalid) {
    for (const double x : {9.3e15, -9.3e15, 1e300, -1e300}) {
        try {
            round_to_places(x, 3);
            FAIL() << x;
        } catch (const ArithmeticFault& fault) {
            EXPECT_EQ(fault.kind(), ArithmeticFaultKind::InvalidOperation) << x;
            EXPECT_EQ(fault.message(), "Invalid floating point operation");
        }
    }
}

// Near 2^63 / 1000 the product x * 1000 is itself rounded to a multiple of 0.5 (below 2^63) or
// of 1 (above), then rounded to an integer with ties to even.
TEST(RoundToPlaces, RangeEdgesAreTwoToSixtyThree) {
    // p = ...805.664 -> 805.5 -> 806
    EXPECT_EQ(round_to_places(Extended(9223372036854775.8056640625L), 3), 9223372036854775.806);
    // p = ...807.617 -> 807.5 -> 808 = 2^63: outside
    EXPECT_THROW(round_to_places(Extended(9223372036854775.8076171875L), 3), ArithmeticFault);
    // p = -...807.617 -> -807.5 -> -808 = -2^63: the lowest allowed
    EXPECT_EQ(round_to_places(Extended(-9223372036854775.8076171875L), 3), -9223372036854775.808);
    // p = -...808.594 -> -809: outside
    EXPECT_THROW(round_to_places(Extended(-9223372036854775.80859375L), 3), ArithmeticFault);
}

TEST(RoundToPlaces, OverflowWhileScalingIsOverflow) {
    const Extended huge(0x1p16383L);
    try {
        round_to_places(huge, 3);
        FAIL();
    } catch (const ArithmeticFault& fault) {
        EXPECT_EQ(fault.kind(), ArithmeticFaultKind::Overflow);
    }
}

// Every k/16 and k/8 whose scaled value ends in exactly one half must go to the even neighbour.
TEST(RoundToPlacesProperty, HalvesGoToEven) {
    for (const int places : {3, 2}) {
        const long double scale = places == 3 ? 1000 : 100;
        int ties = 0;
        for (int k = -20000; k <= 20000; ++k) {
            const double x = k / 16.0;
            const long double p = x * scale;
            if (p - std::floor(p) != 0.5L) continue;
            ++ties;
            const long double below = std::floor(p);
            const long double even = std::fmod(below, 2) == 0 ? below : below + 1;
            ASSERT_EQ(round_to_places(x, places), static_cast<double>(even / scale)) << x;
        }
        EXPECT_GT(ties, 1000);
    }
}

}  // namespace
}  // namespace vorlanex::numeric
