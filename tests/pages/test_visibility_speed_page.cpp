// "Rychlost přim. rozhledu" (speed appropriate to visibility) on the recording fake port: every
// run's whole transcript of warnings, writes and error, in order, and the texts the fields keep.
#include <gtest/gtest.h>

#include <string>

#include "kinematics/visibility_speed_page.h"
#include "tests/support/page_runs.h"

namespace {

using vorlanex::kinematics::visibility_speed_page;
using namespace vorlanex::testing;

// The page's messages, exactly as the user reads them; "\r" is the line break of the box.
const std::string kDistanceWarning = "Pozor, dráha musí být > 0 !";
const std::string kAdhesionWarning = "Pozor, součinitel adheze musí být > 0 !\rVýpočet nelze provést !";
const std::string kReactionTimeWarning = "Pozor, čas reakce nesmí být < 0 !";
const std::string kBuildUpTimeWarning = "Pozor, hodnota času nesmí být < 0 !";

Transcript results(const std::string& R1, const std::string& R2) { return writes({"R1", "R2"}, {R1, R2}); }

// L 50 m, μ 0.8, tr 1 s, tn 0.15 s.
const Texts kWorkedExample = worked_example(visibility_speed_page());
const Transcript kWorkedExampleResults = results("20,824", "74,966");
// The same with the substitute distance of 5 m.
const Texts kFiveMetres = with(kWorkedExample, {{"I1", "5"}});
const Transcript kFiveMetresResults = results("3,811", "13,72");
// Braking alone: v = √(2·a·L).
const Texts kBrakingAlone{{"I1", "10"}, {"I2", "0,8"}, {"I3", "0"}, {"I4", "0"}};

const Texts kEarlierResults{{"R1", "dříve R1"}, {"R2", "dříve R2"}};
const Texts kAllFourRejected{{"I1", "0"}, {"I2", "0"}, {"I3", "-1"}, {"I4", "-0,01"}};

// clang-format off
const PageRun kRuns[] = {
    {"worked_example", kWorkedExample, kWorkedExampleResults},
    {"worked_example_100_m_on_0_7",
     {{"I1", "100"}, {"I2", "0,7"}, {"I3", "1"}, {"I4", "0,2"}},
     results("30,27", "108,972")},
    {"worked_example_5_m", kFiveMetres, kFiveMetresResults},
    {"no_reaction_and_no_build_up_is_braking_alone", kBrakingAlone, results("12,526", "45,094")},
    {"negative_zero_times_pass_their_checks", with(kBrakingAlone, {{"I3", "-0"}, {"I4", "-0"}}),
     results("12,526", "45,094")},
    {"stretch_shorter_than_the_build_up_needs_same_formula", with(kWorkedExample, {{"I1", "0,1"}}),
     results("0,113", "0,407")},
    {"worked_example_with_point_separator", with_point(kWorkedExample), with_point(kWorkedExampleResults), "."},

    // Each rejected value: its warning, its substitute shown in its field, the results of it.
    {"zero_distance_becomes_5_m", with(kWorkedExample, {{"I1", "0"}}),
     Transcript{warning(kDistanceWarning), set("I1", "5")} + kFiveMetresResults},
    {"negative_zero_distance_becomes_5_m", with(kWorkedExample, {{"I1", "-0"}}),
     Transcript{warning(kDistanceWarning), set("I1", "5")} + kFiveMetresResults},
    {"zero_adhesion_becomes_0_8", with(kWorkedExample, {{"I2", "0"}}),
     Transcript{warning(kAdhesionWarning), set("I2", "0,8")} + kWorkedExampleResults},
    {"adhesion_below_the_double_range_reads_as_zero", with(kWorkedExample, {{"I2", "1e-400"}}),
     Transcript{warning(kAdhesionWarning), set("I2", "0,8")} + kWorkedExampleResults},
    {"negative_reaction_time_becomes_1_s", with(kWorkedExample, {{"I3", "-1"}}),
     Transcript{warning(kReactionTimeWarning), set("I3", "1")} + kWorkedExampleResults},
    {"negative_build_up_time_becomes_0_15_s", with(kWorkedExample, {{"I4", "-0,2"}}),
     Transcript{warning(kBuildUpTimeWarning), set("I4", "0,15")} + kWorkedExampleResults},
    {"all_four_rejected_warn_in_field_order", with(kEarlierResults, kAllFourRejected),
     Transcript{warning(kDistanceWarning), set("I1", "5"), warning(kAdhesionWarning), set("I2", "0,8"),
                warning(kReactionTimeWarning), set("I3", "1"), warning(kBuildUpTimeWarning), set("I4", "0,15")} +
         kFiveMetresResults},
    {"substitutes_are_shown_with_point_separator", with_point(kAllFourRejected),
     Transcript{warning(kDistanceWarning), set("I1", "5"), warning(kAdhesionWarning), set("I2", "0.8"),
                warning(kReactionTimeWarning), set("I3", "1"), warning(kBuildUpTimeWarning), set("I4", "0.15")} +
         with_point(kFiveMetresResults),
     "."},

    // Every input is read before any check: a read fault comes before any warning or write.
    {"page_as_it_opens_stops_at_the_empty_distance", kEarlierResults, {error(not_a_number(""))}},
    {"malformed_build_up_time_after_a_rejected_distance_writes_nothing",
     with(kWorkedExample, {{"I1", "-5"}, {"I4", "x"}}),
     {error(not_a_number("x"))}},
    {"reaction_time_beyond_the_double_range_overflows_before_any_check",
     with(kWorkedExample, {{"I1", "0"}, {"I3", "1e309"}}),
     {error(kOverflow)}},
    {"comma_is_not_a_number_with_point_separator",
     with(kWorkedExample, {{"I1", "0"}}),
     {error(not_a_number("0,8"))},
     "."},

    // Faults of the arithmetic: nothing after the faulting step is written.
    {"huge_distance_overflows_the_quadratic", with(kWorkedExample, {{"I1", "1e308"}}), {error(kOverflow)}},
    // v and V are both formed before either is shown: a V too large to round writes neither.
    {"speed_too_large_to_round_in_km_h_writes_neither",
     with(kEarlierResults, with(kBrakingAlone, {{"I1", "1,6e30"}})),
     {error(kInvalidOperation)}},
    {"long_sight_with_times_too_large_to_round_in_km_h_writes_neither",
     with(kEarlierResults, {{"I1", "9,3e30"}, {"I2", "0,1"}, {"I3", "0,5"}, {"I4", "0,49"}}),
     {error(kInvalidOperation)}},
};
// clang-format on

class VisibilitySpeedRun : public PageRunTest {};
TEST_P(VisibilitySpeedRun, Transcript) { expect_run(visibility_speed_page(), GetParam()); }
INSTANTIATE_TEST_SUITE_P(RychlostRozhledu, VisibilitySpeedRun, ::testing::ValuesIn(kRuns), run_name);

// A substitute written into its field is what the next press reads: no second warning.
TEST(RychlostRozhleduNextRun, ReadsTheSubstituteShownInTheField) {
    RecordingPort page(visibility_speed_page());
    for (const auto& [id, text] : with(kWorkedExample, {{"I2", "-0,5"}})) page.type(id, text);
    EXPECT_EQ(page.press_calculate(),
              (Transcript{warning(kAdhesionWarning), set("I2", "0,8")} + kWorkedExampleResults));
    EXPECT_EQ(page.press_calculate(), kWorkedExampleResults);
}

}  // namespace
