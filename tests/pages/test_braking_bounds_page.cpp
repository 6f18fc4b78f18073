// "Kinematika (+ meze)": whole transcripts of runs on a recording page.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "kinematics/braking_bounds_page.h"
#include "kinematics/braking_page.h"
#include "numeric/parse_number.h"
#include "numeric/round_to_places.h"
#include "numeric/show_number.h"
#include "tests/support/page_runs.h"

namespace vorlanex::testing {
namespace {

using Fields = Texts;

constexpr const char* kDistance = "Pozor, dráha musí být nejméně 0 !\rVýpočet nelze provést !";
constexpr const char* kAdhesion = "Pozor, hodnota součinitele adheze musí být > 0 !\rVýpočet nelze provést !";
constexpr const char* kNegativeEes = "Pozor, hodnota EES je záporná !\rVozidlo bylo při střetu zrychleno !";
constexpr const char* kSpeed = "Pozor, rychlost musí být nejméně 0 !";

const Fields kWorkedExample = worked_example(kinematics::braking_bounds_page());

RecordingPort page_with(const Fields& fields, const Fields& changes = {}) {
    RecordingPort page(kinematics::braking_bounds_page());
    for (const auto& [id, text] : fields) page.type(id, text);
    for (const auto& [id, text] : changes) page.type(id, text);
    return page;
}

TEST(BrakingBoundsPage, WorkedExampleWritesEveryResultInItsOrder) {
    RecordingPort page = page_with(kWorkedExample);
    const std::vector<Event> expected{
        set("Q1.lo", "6,865"),   set("Q1.hi", "8,826"),   set("Q2.lo", "42,702"),  set("Q2.hi", "53,969"),
        set("Q3.hi", "1,08"),    set("Q3.lo", "0,773"),   set("Q4.lo", "45,26"),   set("Q4.hi", "57,556"),
        set("Q5.lo", "7,845"),   set("Q5.hi", "8,826"),   set("Q6.lo", "78,201"),  set("Q6.hi", "91,354"),
        set("Q7.lo", "0,136"),   set("Q7.hi", "0,223"),   set("Q8.lo", "0,984"),   set("Q8.hi", "1,257"),
        set("Q9.lo", "81,026"),  set("Q10.lo", "81,03"),  set("Q11.lo", "22,507"), set("Q12.lo", "81,026"),
        set("Q9.hi", "96,12"),   set("Q10.hi", "96,12"),  set("Q11.hi", "26,7"),   set("Q12.hi", "96,12"),
        set("Q13.lo", "4,423"),  set("Q14.lo", "22,507"), set("Q15.lo", "46,93"),  set("Q16.lo", "2,184"),
        set("Q13.hi", "7,811"),  set("Q14.hi", "32,04"),  set("Q15.hi", "61,852"), set("Q16.hi", "2,757"),
        set("Q17.lo", "19,856"), set("Q18.lo", "71,482"), set("Q17.hi", "23,235"), set("Q18.hi", "83,646"),
    };
    EXPECT_EQ(page.press_calculate(), expected);
}

TEST(BrakingBoundsPage, PageAsItOpensStopsAtTheEmptyBrakingDistanceWithoutWriting) {
    RecordingPort page(kinematics::braking_bounds_page());
    EXPECT_EQ(page.press_calculate(), (std::vector<Event>{error("'' is not a valid floating point value.")}));
}

// Equal bounds reproduce the single-value page, but for the GEV, which is shown rounded here.
struct EqualBoundsCase {
    const char* name;
    Fields inputs;  // I1 .. I8 of the single-value page
};

class EqualBounds : public ::testing::TestWithParam<EqualBoundsCase> {};

TEST_P(EqualBounds, GiveTheSingleValueResults) {
    RecordingPort single(kinematics::braking_page());
    for (const auto& [id, text] : GetParam().inputs) single.type(id, text);
    ASSERT_EQ(single.press_calculate().back().kind, "set");

    RecordingPort bounds(kinematics::braking_bounds_page());
    for (const auto& [id, text] : GetParam().inputs) {
        const std::string pair = "J" + id.substr(1);
        bounds.type(pair + ".lo", text);
        bounds.type(pair + ".hi", text);
    }
    ASSERT_EQ(bounds.press_calculate().back().kind, "set");

    const numeric::DecimalSeparator comma(",");
    for (int result = 1; result <= 18; ++result) {
        const std::string number = std::to_string(result);
        std::string expected = single.field("R" + number);
        if (result == 7 && !expected.empty()) {
            expected = numeric::show_number(numeric::round_to_places(numeric::parse_number(expected, comma), 3), comma);
        }
        EXPECT_EQ(bounds.field("Q" + number + ".lo"), expected) << "Q" << number;
        EXPECT_EQ(bounds.field("Q" + number + ".hi"), expected) << "Q" << number;
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    BrakingBoundsPage, EqualBounds,
    ::testing::Values(
        EqualBoundsCase{"WorkedExample",
                        {{"I1", "20"}, {"I2", "8"}, {"I3", "0,7"}, {"I4", "15"}, {"I5", "20"}, {"I6", "0,8"},
                         {"I7", "0,2"}, {"I8", "1"}}},
        EqualBoundsCase{"AllZero",
                        {{"I1", "0"}, {"I2", "0"}, {"I3", "0,8"}, {"I4", "0"}, {"I5", "0"}, {"I6", "0,8"},
                         {"I7", "0"}, {"I8", "0"}}},
        EqualBoundsCase{"FastWetRoad",
                        {{"I1", "35,5"}, {"I2", "14,2"}, {"I3", "0,45"}, {"I4", "27"}, {"I5", "31,7"},
                         {"I6", "0,5"}, {"I7", "0,25"}, {"I8", "1,4"}}},
        EqualBoundsCase{"AcceleratedByTheCollision",
                        {{"I1", "30"}, {"I2", "12"}, {"I3", "0,6"}, {"I4", "-12"}, {"I5", "5"}, {"I6", "0,65"},
                         {"I7", "0,3"}, {"I8", "0,8"}}}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// Step one: substitutes shown in the fields, pairs put in order, warnings in field order.
struct OrderingCase {
    const char* name;
    Fields changes;
    std::vector<Event> first_events;  // the transcript up to the first result write
    Fields fields_after;
};

class PairOrdering : public ::testing::TestWithParam<OrderingCase> {};

TEST_P(PairOrdering, ShowsSubstitutesAndExchangesInTheInputFields) {
    RecordingPort page = page_with(kWorkedExample, GetParam().changes);
    const std::vector<Event>& events = page.press_calculate();
    std::vector<Event> before_results;
    for (const Event& event : events) {
        if (event.kind == "set" && event.field.starts_with("Q")) break;
        before_results.push_back(event);
    }
    EXPECT_EQ(before_results, GetParam().first_events);
    for (const auto& [id, text] : GetParam().fields_after) EXPECT_EQ(page.field(id), text) << id;
    EXPECT_EQ(events.back(), set("Q18.hi", page.field("Q18.hi"))) << "the run completes";
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    BrakingBoundsPage, PairOrdering,
    ::testing::Values(
        OrderingCase{"AdhesionGivenHighThenLowIsExchangedWithoutWarning",
                     {{"J3.lo", "0,9"}, {"J3.hi", "0,7"}},
                     {set("J3.hi", "0,9"), set("J3.lo", "0,7")},
                     {{"J3.lo", "0,7"}, {"J3.hi", "0,9"}}},
        OrderingCase{"ZeroLowerAdhesionBecomesSubstituteThenExchanged",
                     {{"J6.lo", "0"}, {"J6.hi", "0,5"}},
                     {warning(kAdhesion), set("J6.lo", "0,8"), set("J6.hi", "0,8"), set("J6.lo", "0,5")},
                     {{"J6.lo", "0,5"}, {"J6.hi", "0,8"}}},
        OrderingCase{"NegativeUpperRunOutSpeedBecomesZeroThenExchanged",
                     {{"J1.lo", "10"}, {"J1.hi", "-5"}},
                     {warning(kSpeed), set("J1.hi", "0"), set("J1.hi", "10"), set("J1.lo", "0")},
                     {{"J1.lo", "0"}, {"J1.hi", "10"}}},
        OrderingCase{"EveryWarningInFieldOrderLowerBeforeUpper",
                     {{"J2.lo", "-1"}, {"J2.hi", "-2"}, {"J5.hi", "-3"}},
                     {warning(kDistance), set("J2.lo", "0"), warning(kDistance), set("J2.hi", "0"),
                      warning(kDistance), set("J5.hi", "0"), set("J5.hi", "20"), set("J5.lo", "0")},
                     {{"J2.lo", "0"}, {"J2.hi", "0"}, {"J5.lo", "0"}, {"J5.hi", "20"}}},
        OrderingCase{"EqualBoundsAreLeftAsTheyAre", {{"J7.lo", "0,25"}, {"J7.hi", "0,25"}}, {}, {}},
        OrderingCase{"TextOfExchangedBoundIsTheShownValue",
                     {{"J8.lo", "1,50"}, {"J8.hi", " 1,2 "}},
                     {set("J8.hi", "1,5"), set("J8.lo", "1,2")},
                     {{"J8.lo", "1,2"}, {"J8.hi", "1,5"}}}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(BrakingBoundsPage, NegativeLowerEesUsesTheSubtractedFormAndGevOfTheUpperBound) {
    RecordingPort page = page_with(kWorkedExample, {{"J4.lo", "-5"}, {"J4.hi", "10"}});
    const std::vector<Event>& events = page.press_calculate();
    ASSERT_EQ(events.front(), warning(kNegativeEes));
    EXPECT_EQ(std::count(events.begin(), events.end(), warning(kNegativeEes)), 1);
    EXPECT_EQ(page.field("J4.lo"), "-5") << "the EES keeps its value";
    // v_a lower 42.702 km/h: sqrt(42.702² - 5²) and sqrt(53.969² + 10²), both in km/h.
    const double va_lower = 42.702, va_upper = 53.969;
    const numeric::DecimalSeparator comma(",");
    EXPECT_NEAR(numeric::parse_number(page.field("Q4.lo"), comma), std::sqrt(va_lower * va_lower - 25), 0.002);
    EXPECT_NEAR(numeric::parse_number(page.field("Q4.hi"), comma), std::sqrt(va_upper * va_upper + 100), 0.002);
    // The GEV fields: the lower one is first emptied, then the upper gets the larger and the
    // lower the smaller of the two GEV values of EES 10.
    const auto lower_cleared = std::find(events.begin(), events.end(), set("Q7.lo", ""));
    ASSERT_NE(lower_cleared, events.end());
    ASSERT_EQ((lower_cleared + 1)->field, "Q7.hi");
    ASSERT_EQ((lower_cleared + 2)->field, "Q7.lo");
    const auto gev = [](double va_kmh) { return (std::sqrt(va_kmh * va_kmh + 100) - va_kmh) / 10; };
    EXPECT_EQ((lower_cleared + 1)->text, numeric::show_number(numeric::round_to_places(gev(va_lower), 3), comma));
    EXPECT_EQ((lower_cleared + 2)->text, numeric::show_number(numeric::round_to_places(gev(va_upper), 3), comma));
}

TEST(BrakingBoundsPage, EesFromNegativeToZeroWarnsOnceAndEmptiesBothGevFields) {
    RecordingPort page =
        page_with(kWorkedExample, {{"J4.lo", "-10"}, {"J4.hi", "0"}, {"Q7.lo", "old"}, {"Q7.hi", "old"}});
    const std::vector<Event>& events = page.press_calculate();
    EXPECT_EQ(std::count(events.begin(), events.end(), warning(kNegativeEes)), 1);
    const auto lower_cleared = std::find(events.begin(), events.end(), set("Q7.lo", ""));
    ASSERT_NE(lower_cleared, events.end());
    EXPECT_EQ(*(lower_cleared + 1), set("Q7.hi", ""));
    EXPECT_EQ(page.field("Q7.lo"), "");
    EXPECT_EQ(page.field("Q7.hi"), "");
}

TEST(BrakingBoundsPage, TooLargeNegativeEesBoundStopsBeforeEitherSpeedBeforeTheCollision) {
    // The lower bound is harmless; the upper one exceeds the upper speed after the collision.
    Fields old_results;
    for (int result = 1; result <= 18; ++result) {
        old_results.emplace_back("Q" + std::to_string(result) + ".lo", "old");
        old_results.emplace_back("Q" + std::to_string(result) + ".hi", "old");
    }
    RecordingPort page = page_with(kWorkedExample, old_results);
    page.type("J4.lo", "-100");
    page.type("J4.hi", "-80");
    const std::vector<Event>& events = page.press_calculate();
    EXPECT_EQ(events.back(), error("Invalid floating point operation."));
    for (int result = 1; result <= 18; ++result) {
        const std::string q = "Q" + std::to_string(result);
        const bool written = result <= 3;
        EXPECT_EQ(page.field(q + ".lo") != "old", written) << q;
        EXPECT_EQ(page.field(q + ".hi") != "old", written) << q;
    }
}

TEST(BrakingBoundsPage, ConversionFaultKeepsTheSubstitutesAndExchangesAlreadyWritten) {
    RecordingPort page = page_with(kWorkedExample, {{"J3.lo", "0"}, {"J3.hi", "0,5"}, {"J6.hi", "abc"}});
    EXPECT_EQ(page.press_calculate(),
              (std::vector<Event>{warning(kAdhesion), set("J3.lo", "0,8"), set("J3.hi", "0,8"), set("J3.lo", "0,5"),
                                  error("'abc' is not a valid floating point value.")}));
    EXPECT_EQ(page.field("J3.lo"), "0,5");
    EXPECT_EQ(page.field("J3.hi"), "0,8");
}

TEST(BrakingBoundsPage, DefaultTextsFollowTheDecimalSeparator) {
    RecordingPort page(kinematics::braking_bounds_page(), ".");
    EXPECT_EQ(page.field("J3.lo"), "0.7");
    EXPECT_EQ(page.field("J3.hi"), "0.9");
    EXPECT_EQ(page.field("J1.lo"), "0");
}

}  // namespace
}  // namespace vorlanex::testing
