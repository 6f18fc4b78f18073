// "Přepočet EES", sub-page "EES - na základě tuhostí vozidel" (EES bounds from the stiffness of
// the vehicles) on the recording fake port: every run's whole transcript of warnings, writes and
// error, in order, and the texts the fields keep.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "collision/ees_stiffness_page.h"
#include "tests/support/page_runs.h"

namespace {

using vorlanex::collision::ees_stiffness_page;
using namespace vorlanex::testing;

const std::string kMassWarning = "Pozor, chybně zadaná hmotnost !";

// The lower bound of the EES of vehicle 1 (R1), then the upper one (R2).
Transcript bounds(const std::string& lower, const std::string& upper) { return writes({"R1", "R2"}, {lower, upper}); }

// Vehicle 2 between 20 and 30 km/h; m1 1000 kg, m2 1440 kg.
const Texts kWorkedExample = worked_example(ees_stiffness_page());
const Transcript kWorkedExampleResults = bounds("24", "43,2");

// Both result fields holding texts from an earlier run.
const Texts kEarlierResults{{"R1", "dříve R1"}, {"R2", "dříve R2"}};

// clang-format off
const PageRun kRuns[] = {
    // m1 ≤ m2: r = 1.44, √r = 1.2.
    {"worked_example", kWorkedExample, kWorkedExampleResults},
    // m1 > m2: r = 0.69444…, √r = 0.83333…; the upper bound 24.99999… is shown rounded.
    {"heavier_vehicle_1", with(kWorkedExample, {{"I3", "1440"}, {"I4", "1000"}}), bounds("13,889", "25")},
    {"equal_masses_give_the_known_range", with(kWorkedExample, {{"I3", "1250"}, {"I4", "1250"}}), bounds("20", "30")},
    {"upper_bound_is_rounded_to_three_places", with(kWorkedExample, {{"I3", "3"}, {"I4", "1"}}),
     bounds("6,667", "17,321")},
    {"reversed_range_passes_without_warning", with(kWorkedExample, {{"I1", "30"}, {"I2", "20"}}), bounds("36", "28,8")},
    {"negative_range_passes_without_warning", with(kWorkedExample, {{"I1", "-20"}, {"I2", "-30"}}),
     bounds("-24", "-43,2")},
    {"page_as_it_opens_stops_at_the_empty_lower_end", {}, {error(not_a_number(""))}},
    {"every_input_is_read_before_any_check",
     with(kWorkedExample, {{"I3", "0"}, {"I4", "x"}}),
     {error(not_a_number("x"))}},
    {"zero_m1_falls_back_to_1000_in_the_field", with(kWorkedExample, {{"I3", "0"}}),
     Transcript{warning(kMassWarning), set("I3", "1000")} + kWorkedExampleResults},
    {"negative_m2_falls_back_to_1000_in_the_field", with(kWorkedExample, {{"I4", "-1440"}}),
     Transcript{warning(kMassWarning), set("I4", "1000")} + bounds("20", "30")},
    {"both_masses_bad_warn_twice_m1_first_and_give_the_known_range", with(kWorkedExample, {{"I3", "-1"}, {"I4", "0"}}),
     Transcript{warning(kMassWarning), set("I3", "1000"), warning(kMassWarning), set("I4", "1000")} +
         bounds("20", "30")},
    {"mass_ratio_beyond_the_double_range_overflows",
     with(kEarlierResults, with(kWorkedExample, {{"I3", "1e-300"}, {"I4", "1e300"}})),
     {error(kOverflow)}},
    {"upper_bound_beyond_the_double_range_overflows_before_any_write",
     with(kEarlierResults, {{"I1", "1"}, {"I2", "1e300"}, {"I3", "1"}, {"I4", "1e10"}}),
     {error(kOverflow)}},
    {"huge_upper_end_cannot_be_rounded_after_the_lower_bound_is_written",
     with(kEarlierResults, with(kWorkedExample, {{"I2", "1e300"}})),
     {set("R1", "24"), error(kInvalidOperation)}},
    {"worked_example_with_point_separator", with_point(kWorkedExample), with_point(kWorkedExampleResults), "."},
};
// clang-format on

class EesStiffnessRun : public PageRunTest {};
TEST_P(EesStiffnessRun, Transcript) { expect_run(ees_stiffness_page(), GetParam()); }
INSTANTIATE_TEST_SUITE_P(EesTuhosti, EesStiffnessRun, ::testing::ValuesIn(kRuns), run_name);

// Whichever vehicle is heavier, the lower end of the range scales by the smaller of r and √r and
// the upper end by the larger, so the bounds of a sensible range stay ordered.
TEST(EesTuhostiBounds, LowerEndScalesByTheSmallerFactorUpperEndByTheLarger) {
    const double lower = 20, upper = 30;
    for (const auto& [m1, m2] : {std::pair{"800", "2000"}, {"1000", "1001"}, {"1500", "1499"}, {"3000", "900"}}) {
        RecordingPort page(ees_stiffness_page());
        page.type("I1", "20");
        page.type("I2", "30");
        page.type("I3", m1);
        page.type("I4", m2);
        ASSERT_EQ(page.press_calculate().size(), 2U);
        const double r = std::stod(m2) / std::stod(m1);
        EXPECT_NEAR(std::stod(with_point(page.field("R1"))), lower * std::min(r, std::sqrt(r)), 0.0005) << m1;
        EXPECT_NEAR(std::stod(with_point(page.field("R2"))), upper * std::max(r, std::sqrt(r)), 0.0005) << m1;
        EXPECT_LE(std::stod(with_point(page.field("R1"))), std::stod(with_point(page.field("R2")))) << m1;
    }
}

}  // namespace
