#include "numeric/extended.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <functional>

namespace vorlanex::numeric {
namespace {

struct FaultingStep {
    const char* name;
    std::function<void()> step;
    ArithmeticFaultKind kind;
    const char* box_text;
};

std::string case_name(const ::testing::TestParamInfo<FaultingStep>& info) { return info.param.name; }

// clang-format off
const FaultingStep kFaultingSteps[] = {
    {"SquareRootOfNegative", [] { sqrt(Extended(-1.0)); }, ArithmeticFaultKind::InvalidOperation,
     "Invalid floating point operation."},
    {"ZeroByZero", [] { Extended(0.0) / Extended(0.0); }, ArithmeticFaultKind::InvalidOperation,
     "Invalid floating point operation."},
    {"OneByZero", [] { Extended(1.0) / Extended(0.0); }, ArithmeticFaultKind::DivisionByZero,
     "Floating point division by zero."},
    {"NegativeByNegativeZero", [] { Extended(-1.0) / Extended(-0.0); }, ArithmeticFaultKind::DivisionByZero,
     "Floating point division by zero."},
    {"StoreBeyondDouble", [] { store(Extended(DBL_MAX) * Extended(DBL_MAX)); }, ArithmeticFaultKind::Overflow,
     "Floating point overflow."},
    {"ProductBeyondExtended", [] { Extended(LDBL_MAX) * Extended(2.0); }, ArithmeticFaultKind::Overflow,
     "Floating point overflow."},
    {"SumBeyondExtended", [] { Extended(LDBL_MAX) + Extended(LDBL_MAX); }, ArithmeticFaultKind::Overflow,
     "Floating point overflow."},
    {"QuotientBeyondExtended", [] { Extended(LDBL_MAX) / Extended(0.5); }, ArithmeticFaultKind::Overflow,
     "Floating point overflow."},
    {"SquareBeyondExtended", [] { square(Extended(0x1p9000L)); },
     ArithmeticFaultKind::Overflow, "Floating point overflow."},
};
// clang-format on

class ExtendedFaults : public ::testing::TestWithParam<FaultingStep> {};

TEST_P(ExtendedFaults, RaisesArithmeticFault) {
    try {
        GetParam().step();
        FAIL() << "no fault";
    } catch (const ArithmeticFault& fault) {
        EXPECT_EQ(fault.kind(), GetParam().kind);
        EXPECT_EQ(error_box_text(fault.message()), GetParam().box_text);
    }
}

INSTANTIATE_TEST_SUITE_P(Steps, ExtendedFaults, ::testing::ValuesIn(kFaultingSteps), case_name);

TEST(Extended, ProductBeyondDoubleStaysFiniteUntilStored) {
    const Extended square_of_largest = Extended(DBL_MAX) * Extended(DBL_MAX);
    EXPECT_EQ((square_of_largest / Extended(DBL_MAX)).value(), static_cast<long double>(DBL_MAX));
    EXPECT_EQ(store(square_of_largest / Extended(DBL_MAX)), DBL_MAX);
}

TEST(Extended, StoreBelowDoubleRangeIsSilent) {
    EXPECT_EQ(store(Extended(DBL_MIN) * Extended(DBL_MIN)), 0.0);
    EXPECT_EQ(store(Extended(0x1p-1074L)), 0x1p-1074);
}

struct BoxTextCase {
    const char* name;
    const char* message;
    const char* box_text;
};

std::string box_case_name(const ::testing::TestParamInfo<BoxTextCase>& info) { return info.param.name; }

// clang-format off
const BoxTextCase kBoxTexts[] = {
    {"Empty", "", ""},
    {"EndsInLetter", "Floating point overflow", "Floating point overflow."},
    {"EndsInQuote", "'abc' is not a valid floating point value", "'abc' is not a valid floating point value."},
    {"EndsInFullStop", "Done.", "Done."},
    {"EndsInComma", "a,", "a,"},
    {"EndsInSlash", "a/", "a/."},
    {"EndsInDigit", "a0", "a0."},
    {"EndsInNonAscii", "Výpočet\xc3\xa1", "Výpočet\xc3\xa1."},
};
// clang-format on

class ErrorBoxText : public ::testing::TestWithParam<BoxTextCase> {};

TEST_P(ErrorBoxText, AppendsFullStopAboveItsCode) {
    EXPECT_EQ(error_box_text(GetParam().message), GetParam().box_text);
}

INSTANTIATE_TEST_SUITE_P(Messages, ErrorBoxText, ::testing::ValuesIn(kBoxTexts), box_case_name);

}  // namespace
}  // namespace vorlanex::numeric
