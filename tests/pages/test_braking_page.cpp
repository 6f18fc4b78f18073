// The "Kinematika" page (braking before a collision) on the recording fake port: every run's
// whole transcript of warnings, writes and error, in order, and the texts the fields keep.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "kinematics/braking_page.h"
#include "tests/support/page_runs.h"

namespace {

using vorlanex::kinematics::braking_page;
using namespace vorlanex::testing;

// The page's messages, exactly as the user reads them; "\r" is the line break of the box.
const std::string kDistanceWarning = "Pozor, dráha musí být nejméně 0 !\rVýpočet nelze provést !";
const std::string kAdhesionWarning = "Pozor, hodnota součinitele adheze musí být > 0 !\rVýpočet nelze provést !";
const std::string kEesWarning = "Pozor, hodnota EES je záporná !\rVozidlo bylo při střetu zrychleno !";
const std::string kTimeWarning = "Pozor, hodnota času musí být kladná !\rVýpočet nelze provést !";

const std::array<std::string, 18> kResultIds{"R1",  "R2",  "R3",  "R4",  "R5",  "R6",  "R7",  "R8",  "R9",
                                             "R10", "R11", "R12", "R13", "R14", "R15", "R16", "R17", "R18"};

// The writes of a completed run: R1 to R18 in this order, with these texts.
Transcript results(const std::array<std::string, 18>& texts) {
    Transcript events;
    for (std::size_t i = 0; i < texts.size(); ++i) events.push_back(set(kResultIds[i], texts[i]));
    return events;
}

// Every result field holding a text from an earlier run, to see which ones a run replaces.
Texts earlier_results() {
    Texts texts;
    for (const std::string& id : kResultIds) texts.emplace_back(id, "dříve " + id);
    return texts;
}

// V 20 km/h, s1 8 m, mu1 0.7, EES 15 km/h, s2 20 m, mu2 0.8, tn 0.2 s, tr 1 s.
const Texts kWorkedExample = worked_example(braking_page());
const Transcript kWorkedExampleResults =
    results({"6,865", "42,702", "0,919", "45,26", "7,845", "78,201", "0,17052859036965", "1,166", "81,026", "81,03",
             "22,507", "81,026", "4,423", "22,507", "46,93", "2,366", "19,856", "71,482"});

// Everything zero but the adhesion coefficients, which are 0.8.
const Texts kStandingStill{{"I1", "0"}, {"I2", "0"},   {"I3", "0,8"}, {"I4", "0"},
                           {"I5", "0"}, {"I6", "0,8"}, {"I7", "0"},   {"I8", "0"}};
const Transcript kStandingStillResults =
    results({"7,845", "0", "0", "0", "7,845", "0", "", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0"});

// Run-out speed 20 km/h with no braking after the collision, so 20 km/h just after it; nothing
// before the collision but the collision itself.
const Texts kNoBraking{{"I1", "20"}, {"I2", "0"}, {"I3", "0,8"}, {"I5", "0"}, {"I6", "0,8"}, {"I7", "0"}, {"I8", "0"}};

// clang-format off
const PageRun kRuns[] = {
    {"worked_example", kWorkedExample, kWorkedExampleResults},
    {"page_as_it_opens_stops_at_the_empty_braking_distance", {}, {error(not_a_number(""))}},
    {"page_as_it_opens_with_point_separator", {}, {error(not_a_number(""))}, "."},
    {"malformed_run_out_speed_stops_before_any_check",
     with(kWorkedExample, {{"I1", "abc"}, {"I2", "-1"}}),
     {error(not_a_number("abc"))}},
    {"every_check_warns_in_field_order_then_a_blank_inside_a_number_stops",
     {{"I2", "-1"}, {"I3", "0"}, {"I4", "-5"}, {"I5", "-0,1"}, {"I6", "-0,5"}, {"I7", "-1"}, {"I8", " 1 0 "}},
     {warning(kDistanceWarning), warning(kAdhesionWarning), warning(kEesWarning), warning(kDistanceWarning),
      warning(kAdhesionWarning), warning(kTimeWarning), error(not_a_number(" 1 0 "))}},
    {"substitutes_after_the_collision_zero_distance_and_adhesion_0_8",
     with(kWorkedExample, {{"I2", "-8"}, {"I3", "-0,7"}}),
     Transcript{warning(kDistanceWarning), warning(kAdhesionWarning)} +
         results({"7,845", "20", "0", "25", "7,845", "68,498", "0,333333333333333", "1,54", "71,323", "71,32",
                  "19,812", "71,323", "3,884", "19,812", "43,696", "2,74", "18,951", "68,224"})},
    {"zero_adhesion_before_the_collision_gives_the_results_of_0_8", with(kWorkedExample, {{"I6", "0"}}),
     Transcript{warning(kAdhesionWarning)} + kWorkedExampleResults},
    {"adhesion_below_the_double_range_reads_as_zero_and_is_replaced", with(kWorkedExample, {{"I6", "1e-400"}}),
     Transcript{warning(kAdhesionWarning)} + kWorkedExampleResults},
    {"substitutes_before_the_collision_zero_skid_mark_and_reaction_time",
     with(kWorkedExample, {{"I5", "-20"}, {"I8", "-1"}}),
     Transcript{warning(kDistanceWarning), warning(kTimeWarning)} +
         results({"6,865", "42,702", "0,919", "45,26", "7,845", "45,26", "0,17052859036965", "0", "48,084", "48,08",
                  "13,357", "48,084", "2,593", "0", "2,593", "0,2", "5,69", "20,484"})},
    {"negative_build_up_time_pedal_speed_equals_skid_speed", with(kWorkedExample, {{"I7", "-0,2"}}),
     Transcript{warning(kTimeWarning)} +
         results({"6,865", "42,702", "0,919", "45,26", "7,845", "78,201", "0,17052859036965", "1,166", "78,201",
                  "78,2", "21,723", "78,201", "0", "21,723", "41,723", "2,166", "18,917", "68,101"})},
    {"standing_still", kStandingStill, kStandingStillResults},
    {"negative_ees_below_the_speed_after_the_collision", with(kNoBraking, {{"I4", "-10"}}),
     Transcript{warning(kEesWarning)} + results({"7,845", "20", "0", "17,321", "7,845", "17,321", "", "0", "17,321",
                                                 "17,32", "4,811", "17,321", "0", "0", "0", "0", "0", "0"})},
    {"negative_ees_above_the_speed_after_the_collision_is_an_invalid_square_root",
     with(earlier_results(), with(kNoBraking, {{"I4", "-30"}})),
     Transcript{warning(kEesWarning), set("R1", "7,845"), set("R2", "20"), set("R3", "0"), error(kInvalidOperation)}},
    {"zero_ees_empties_the_gev_of_an_earlier_run", with(earlier_results(), with(kWorkedExample, {{"I4", "0"}})),
     results({"6,865", "42,702", "0,919", "42,702", "7,845", "76,749", "", "1,206", "79,574", "79,57", "22,104",
              "79,574", "4,342", "22,104", "46,446", "2,406", "19,723", "71,003"})},
    {"negative_zero_ees_passes_the_check_and_empties_the_gev", with(kWorkedExample, {{"I4", "-0"}}),
     results({"6,865", "42,702", "0,919", "42,702", "7,845", "76,749", "", "1,206", "79,574", "79,57", "22,104",
              "79,574", "4,342", "22,104", "46,446", "2,406", "19,723", "71,003"})},
    {"negative_run_out_speed_passes_and_lengthens_the_braking_after_the_collision",
     with(kWorkedExample, {{"I1", "-20"}}),
     results({"6,865", "42,702", "2,537", "45,26", "7,845", "78,201", "0,17052859036965", "1,166", "81,026", "81,03",
              "22,507", "81,026", "4,423", "22,507", "46,93", "2,366", "19,856", "71,482"})},
    {"worked_example_with_point_separator", with_point(kWorkedExample), with_point(kWorkedExampleResults), "."},
    {"default_adhesion_is_read_with_point_separator",
     {{"I2", "0"}, {"I4", "0"}, {"I5", "0"}, {"I6", "0.8"}, {"I7", "0"}, {"I8", "0"}},
     with_point(kStandingStillResults),
     "."},
    {"comma_is_not_a_number_with_point_separator", kWorkedExample, {error(not_a_number("0,7"))}, "."},
    {"input_beyond_the_double_range_overflows_when_read", with(kWorkedExample, {{"I2", "-1"}, {"I5", "1e309"}}),
     {warning(kDistanceWarning), error(kOverflow)}},
    {"huge_adhesion_after_the_collision_overflows_the_deceleration", with(kWorkedExample, {{"I3", "1e308"}}),
     {error(kOverflow)}},
    {"huge_adhesion_before_the_collision_overflows_after_four_writes", with(kWorkedExample, {{"I6", "1e308"}}),
     stopped_after(kWorkedExampleResults, 4, kOverflow)},
    {"huge_run_out_speed_cannot_be_rounded", with(kWorkedExample, {{"I1", "1e300"}}),
     stopped_after(kWorkedExampleResults, 1, kInvalidOperation)},
};
// clang-format on

class BrakingPageRun : public PageRunTest {};
TEST_P(BrakingPageRun, Transcript) { expect_run(braking_page(), GetParam()); }
INSTANTIATE_TEST_SUITE_P(Kinematika, BrakingPageRun, ::testing::ValuesIn(kRuns), run_name);

// Independent checks of the physics, from the shown texts.

double number(const std::string& text) { return std::stod(with_point(text)); }

struct StoppingCase {
    const char* name;
    Texts typed;
};

std::ostream& operator<<(std::ostream& out, const StoppingCase& c) { return out << c.name; }

class StoppingSpeed : public ::testing::TestWithParam<StoppingCase> {};

// Reaction at constant speed, build-up at half the deceleration, then full braking: from the
// stopping speed shown (3 places) the vehicle covers exactly the reaction-start distance shown.
TEST_P(StoppingSpeed, StopsAtTheCollisionPoint) {
    RecordingPort page(braking_page());
    for (const auto& [id, text] : GetParam().typed) page.type(id, text);
    ASSERT_EQ(page.press_calculate().size(), 18U);
    const double a2 = number(page.field("I6")) * 9.80665;
    const double tn = number(page.field("I7"));
    const double tr = number(page.field("I8"));
    const double vz = number(page.field("R17"));
    const double S = number(page.field("R15"));
    const double full_braking_speed = vz - a2 * tn / 2;
    const double covered = vz * tr + (vz * tn - a2 * tn * tn / 4) + full_braking_speed * full_braking_speed / (2 * a2);
    // 0.0005 m/s of rounding in vz over at most a few seconds, and 0.0005 m in S.
    EXPECT_NEAR(covered, S, 0.005);
    EXPECT_NEAR(number(page.field("R18")), vz * 3.6, 0.0005 + 1e-9);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Kinematika, StoppingSpeed,
    ::testing::Values(StoppingCase{"worked_example", kWorkedExample},
                      StoppingCase{"slow_and_long_reaction", with(kWorkedExample, {{"I1", "5"}, {"I8", "2,5"}})},
                      StoppingCase{"long_build_up_on_ice", with(kWorkedExample, {{"I6", "0,1"}, {"I7", "0,9"}})},
                      StoppingCase{"fast_on_dry_concrete",
                                   with(kWorkedExample, {{"I1", "60"}, {"I4", "40"}, {"I5", "35"}, {"I6", "1"}})}),
    [](const ::testing::TestParamInfo<StoppingCase>& info) { return std::string(info.param.name); });
// clang-format on

// Without build-up and reaction time the stopping distance is the skid mark: √(2·a₂·s₂).
TEST(KinematikaWithoutBuildUpOrReaction, StoppingSpeedIsThatOfTheSkidMarkAlone) {
    RecordingPort page(braking_page());
    for (const auto& [id, text] : with(kWorkedExample, {{"I5", "30"}, {"I6", "0,7"}, {"I7", "0"}, {"I8", "0"}})) {
        page.type(id, text);
    }
    page.press_calculate();
    EXPECT_EQ(page.field("R15"), "30");
    EXPECT_EQ(page.field("R13"), "0");
    EXPECT_EQ(page.field("R14"), "0");
    EXPECT_NEAR(number(page.field("R17")), std::sqrt(2 * 0.7 * 9.80665 * 30), 0.0005);
    EXPECT_EQ(page.field("R9"), page.field("R6"));  // no build-up: pedal press at the skid-mark start
}

// The speeds before and after the collision differ by the EES in quadrature.
TEST(KinematikaCollision, SpeedBeforeIsTheQuadratureSumOfSpeedAfterAndEes) {
    RecordingPort page(braking_page());
    for (const auto& [id, text] : kWorkedExample) page.type(id, text);
    page.press_calculate();
    const double after = number(page.field("R2"));
    const double before = number(page.field("R4"));
    EXPECT_NEAR(before, std::hypot(after, 15.0), 0.001);
    // GEV: the speed change over the EES.
    EXPECT_NEAR(number(page.field("R7")), (before - after) / 15.0, 1e-4);
}

}  // namespace
