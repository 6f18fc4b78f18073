// "GEV - dle definice" on the recording fake port: every run's whole transcript of warnings,
// writes and error, in order, and the texts the fields keep.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "collision/gev_definition_page.h"
#include "tests/support/page_runs.h"

namespace {

using vorlanex::collision::gev_definition_page;
using namespace vorlanex::testing;

const std::string kNegativeEesWarning = "Pozor, hodnota nesmí být záporná !";
const std::string kSpeedBelowEesWarning = "Pozor, rychlost nesmí být nižší než EES !";
const std::string kNoCollision = "NENÍ STŘET";

// EES 30 km/h, V 50 km/h: Δv = 50 − 40 = 10, GEV 0,333; V is 13,889 m/s.
const Texts kWorkedExample = worked_example(gev_definition_page());

// clang-format off
const PageRun kRuns[] = {
    {"worked_example", kWorkedExample, {set("R1", "13,889"), set("R2", "0,333")}},
    {"worked_example_with_point_separator", with_point(kWorkedExample), {set("R1", "13.889"), set("R2", "0.333")}, "."},
    {"speed_equal_to_ees_gives_1", {{"I1", "30"}, {"I2", "30"}}, {set("R1", "8,333"), set("R2", "1")}},
    {"zero_ees_passes_and_is_no_collision",
     {{"I1", "0"}, {"I2", "50"}},
     {set("R1", "13,889"), set("R2", kNoCollision)}},
    {"negative_zero_ees_passes_and_is_no_collision",
     {{"I1", "-0"}, {"I2", "50"}},
     {set("R1", "13,889"), set("R2", kNoCollision)}},
    {"negative_ees_becomes_0_and_is_no_collision",
     {{"I1", "-10"}, {"I2", "50"}},
     {warning(kNegativeEesWarning), set("I1", "0"), set("R1", "13,889"), set("R2", kNoCollision)}},
    {"speed_below_ees_becomes_the_ees",
     {{"I1", "50"}, {"I2", "40"}},
     {warning(kSpeedBelowEesWarning), set("I2", "50"), set("R1", "13,889"), set("R2", "1")}},
    {"speed_below_ees_is_shown_as_a_number",
     {{"I1", "12,50"}, {"I2", "1,2e1"}},
     {warning(kSpeedBelowEesWarning), set("I2", "12,5"), set("R1", "3,472"), set("R2", "1")}},
    // The speed is checked against the EES after its substitute: a negative speed against 0.
    {"both_negative_two_warnings_both_fields_0",
     {{"I1", "-5"}, {"I2", "-10"}},
     {warning(kNegativeEesWarning), set("I1", "0"), warning(kSpeedBelowEesWarning), set("I2", "0"), set("R1", "0"),
      set("R2", kNoCollision)}},
    {"negative_ees_then_a_speed_between_it_and_0",
     {{"I1", "-10"}, {"I2", "-5"}},
     {warning(kNegativeEesWarning), set("I1", "0"), warning(kSpeedBelowEesWarning), set("I2", "0"), set("R1", "0"),
      set("R2", kNoCollision)}},
    // Each run overwrites the GEV field, with a number or with the words.
    {"a_number_replaces_no_collision_of_an_earlier_run",
     with(kWorkedExample, {{"R2", kNoCollision}}),
     {set("R1", "13,889"), set("R2", "0,333")}},
    {"no_collision_replaces_a_number_of_an_earlier_run",
     {{"I1", "0"}, {"I2", "50"}, {"R2", "0,333"}},
     {set("R1", "13,889"), set("R2", kNoCollision)}},
    // Δv × 1000 / EES exactly on a half: 0,5 × 1000 / 8 = 62,5 and 18 × 1000 / 96 = 187,5.
    {"tie_rounds_down_to_even", {{"I1", "8"}, {"I2", "64,25"}}, {set("R1", "17,847"), set("R2", "0,062")}},
    {"tie_rounds_up_to_even", {{"I1", "96"}, {"I2", "265"}}, {set("R1", "73,611"), set("R2", "0,188")}},
    // A speed far above a small EES leaves no speed change at extended precision.
    {"small_ees_far_below_the_speed_gives_0", {{"I1", "1e-10"}, {"I2", "50"}}, {set("R1", "13,889"), set("R2", "0")}},
    {"smallest_ees_equal_to_the_speed_gives_1", {{"I1", "5e-324"}, {"I2", "5e-324"}}, {set("R1", "0"), set("R2", "1")}},
    {"page_as_it_opens_stops_at_the_empty_ees", {}, {error(not_a_number(""))}},
    // Both inputs are read before any check: the negative EES is not warned about.
    {"malformed_speed_stops_before_any_check", {{"I1", "-10"}, {"I2", "50 km/h"}}, {error(not_a_number("50 km/h"))}},
    // The thousandfold of V in m/s leaves the range of the rounding: both results keep the texts
    // of the earlier run; the substitute written before the fault stays.
    {"huge_speed_leaves_both_results_as_they_were",
     {{"I1", "-30"}, {"I2", "1e17"}, {"R1", "13,889"}, {"R2", "0,333"}},
     {warning(kNegativeEesWarning), set("I1", "0"), error(kInvalidOperation)}},
    {"speed_just_inside_the_rounding_range",
     {{"I1", "30"}, {"I2", "3e16"}},
     {set("R1", "8,33333333333333E15"), set("R2", "0")}},
};
// clang-format on

class GevDefinitionRun : public PageRunTest {};
TEST_P(GevDefinitionRun, Transcript) { expect_run(gev_definition_page(), GetParam()); }
INSTANTIATE_TEST_SUITE_P(GevDefinice, GevDefinitionRun, ::testing::ValuesIn(kRuns), run_name);

// An independent check of the formula: for EES > 0 and V ≥ EES the speed change over the EES is
// also EES / (V + √(V² − EES²)), which lies in (0, 1]; the shown GEV is that to 3 places.
TEST(GevDefinice, GevIsTheEesOverTheSumOfTheSpeedsBeforeAndAfter) {
    const struct {
        const char* ees;
        const char* speed;
        double EES;
        double V;
    } cases[] = {{"30", "50", 30, 50},     {"5", "130", 5, 130},     {"45,5", "46", 45.5, 46},
                 {"70", "90,2", 70, 90.2}, {"0,3", "0,4", 0.3, 0.4}, {"25", "25", 25, 25}};
    for (const auto& c : cases) {
        RecordingPort page(gev_definition_page());
        page.type("I1", c.ees);
        page.type("I2", c.speed);
        ASSERT_EQ(page.press_calculate().size(), 2U) << c.ees << " / " << c.speed;
        const double gev = std::stod(with_point(page.field("R2")));
        const double expected = c.EES / (c.V + std::sqrt(c.V * c.V - c.EES * c.EES));
        EXPECT_NEAR(gev, expected, 0.0005 + 1e-12) << c.ees << " / " << c.speed;
        EXPECT_GT(gev, 0);
        EXPECT_LE(gev, 1);
    }
}

}  // namespace
