// The "Dráha na zastavení" page (stopping distance and the obstacle) on the recording fake port:
// every run's whole transcript of warnings, writes and error, in order, and the texts the fields
// keep.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "kinematics/stopping_distance_page.h"
#include "tests/support/page_runs.h"

namespace {

using vorlanex::kinematics::stopping_distance_page;
using namespace vorlanex::testing;

// The page's messages, exactly as the user reads them.
const std::string kSpeedWarning = "Pozor, zadaná rychlost je záporná!";
const std::string kAdhesionWarning = "Pozor, chybně zadán součinitel adheze!";
const std::string kTimeWarning = "Pozor, čas nesmí být záporný!";
const std::string kObstacleWarning = "Pozor, překážka je příliš blízko!";
const std::string kBuildUpTimeWarning = "Pozor, chybně zadaná doba náběhu brzdného účinku !";
const std::string kNotCalculatedRightly = "Výpočet není proveden správně !";
const std::string kReactionCollision = "Střet nastane při reakci řidiče !";
const std::string kBuildUpCollision = "Střet nastane ve fázi náběhu brzdného účinku !";

// R1 is written right after the initial speed is read; R2 to R13 after every input.
Transcript initial_speed(const std::string& R1) { return {set("R1", R1)}; }
Transcript stopping_results(const std::vector<std::string>& texts) {
    return writes({"R2", "R3", "R4", "R5", "R6", "R7", "R8", "R9", "R10", "R11", "R12", "R13"}, texts);
}

// The collision report when the vehicle stops before the obstacle.
const Transcript kNoCollision = writes({"C1", "C2", "C7", "C3", "C4", "C8", "C9", "C5", "C6"},
                                       {"Nedojde ke střetu ! ", " ", " ", " ", " ", " ", " ", " ", " "});

// The collision report with the collision speed in m/s and km/h and the collision time.
Transcript collision(const std::string& C5, const std::string& C3, const std::string& C8) {
    return writes({"C1", "C2", "C5", "C3", "C8", "C4", "C6", "C7", "C9"},
                  {"Vozidlo se střetne", "s překážkou rychlostí:", C5, C3, C8, "[km/h]", "[m/s]", "za čas:", "[s]"});
}

Transcript emptied(const std::vector<std::string>& ids) { return writes(ids, std::vector<std::string>(ids.size())); }
const Transcript kEmptiedInFullBraking = emptied({"R13", "R11", "R10", "R12", "R7"});
const Transcript kEmptiedInBuildUp = emptied({"R6", "R5", "R13", "R11", "R10", "R12", "R7", "R9", "R8"});
const Transcript kEmptiedInReaction = kEmptiedInBuildUp + emptied({"R1", "R3"});

// Every result field holding a text from an earlier run, to see which ones a run replaces.
Texts earlier_results() {
    Texts texts;
    for (const char* id : {"R1",  "R2",  "R3", "R4", "R5", "R6", "R7", "R8", "R9", "R10", "R11",
                           "R12", "R13", "C1", "C2", "C3", "C4", "C5", "C6", "C7", "C8",  "C9"}) {
        texts.emplace_back(id, std::string("dříve ") + id);
    }
    return texts;
}

// 50 km/h, μ 0.8, reaction 1 s, build-up 0.2 s, obstacle at 1000 m.
const Texts kWorkedExample = worked_example(stopping_distance_page());
const Transcript k50Results = stopping_results(
    {"13,889", "13,889", "13,889", "2,699", "3,923", "7,845", "13,104", "47,174", "10,945", "27,533", "1,67", "2,87"});
const Transcript k50Run = initial_speed("50") + k50Results;

// 10 km/h with a build-up of 1 s: the vehicle would stop within the build-up, so the speed at the
// start of full braking and the braking time come out negative.
const Texts k10WithLongBuildUp{{"I1", "10"}, {"I2", "0,8"}, {"I3", "1"}, {"I4", "1"}, {"I5", "1000"}};
const Transcript k10WithLongBuildUpResults = stopping_results(
    {"2,778", "2,778", "2,778", "0,816", "3,923", "7,845", "-1,145", "-4,122", "0,084", "3,678", "-0,146", "1,854"});

// 36 km/h (10 m/s) on μ 0.6373 (a = 6.25 m/s²), reaction 1 s, no build-up: s_r = 10 m, s_b = 8 m
// and S = 18 m, all exact.
const Texts kExact{{"I1", "36"}, {"I2", "0,6373"}, {"I3", "1"}, {"I4", "0"}};
const Transcript kExactRun = initial_speed("36") + stopping_results({"10", "10", "10", "0", "3,125", "6,25", "10", "36",
                                                                     "8", "18", "1,6", "2,6"});

// 10 km/h, build-up 0.708 s: the vehicle comes to rest right at the end of the build-up.
const Texts kRestAtBuildUpEnd{{"I1", "10"}, {"I2", "0,8"}, {"I3", "1"}, {"I4", "0,708"}};
// clang-format off
const Transcript kRestAtBuildUpEndRun =
    initial_speed("10") +
    stopping_results({"2,778", "2,778", "2,778", "0,984", "3,923", "7,845", "0", "0", "0", "3,762", "0", "1,708"});
// clang-format on

// clang-format off
const PageRun kRuns[] = {
    {"worked_example", kWorkedExample, k50Run + kNoCollision},
    {"page_as_it_opens_stops_at_the_empty_initial_speed", {}, {error(not_a_number(""))}},

    // The obstacle in each phase.
    {"obstacle_at_20_m_is_hit_in_full_braking", with(kWorkedExample, {{"I5", "20"}}),
     k50Run + collision("10,871", "39,137", "1,485") + kEmptiedInFullBraking},
    {"obstacle_at_15_m_is_hit_in_the_build_up", with(kWorkedExample, {{"I5", "15"}}),
     k50Run + collision("13,571", "48,857", "1,081") + kEmptiedInBuildUp + Transcript{warning(kBuildUpCollision)}},
    {"obstacle_at_10_m_is_hit_during_the_reaction", with(kWorkedExample, {{"I5", "10"}}),
     k50Run + collision("13,889", "50", "0,72") + kEmptiedInReaction + Transcript{warning(kReactionCollision)}},

    // The boundaries between the phases.
    {"obstacle_at_the_reaction_distance_is_hit_at_the_start_of_the_build_up", with(kWorkedExample, {{"I5", "13,889"}}),
     k50Run + collision("13,889", "50", "1") + kEmptiedInBuildUp + Transcript{warning(kBuildUpCollision)}},
    {"obstacle_exactly_at_the_stopping_distance_is_not_hit", with(kExact, {{"I5", "18"}}), kExactRun + kNoCollision},
    {"obstacle_just_short_of_the_stopping_distance_is_hit_in_full_braking", with(kExact, {{"I5", "17,999"}}),
     kExactRun + collision("0,112", "0,402", "2,582") + kEmptiedInFullBraking},
    {"obstacle_at_the_reaction_distance_without_build_up_is_hit_at_the_reaction_time", with(kExact, {{"I5", "10"}}),
     kExactRun + collision("10", "36", "1") + kEmptiedInBuildUp + Transcript{warning(kBuildUpCollision)}},

    // A build-up longer than the vehicle needs to stop: nothing is clamped.
    {"build_up_beyond_the_stop_gives_negative_speeds_without_warning", k10WithLongBuildUp,
     initial_speed("10") + k10WithLongBuildUpResults + kNoCollision},
    {"negative_build_up_distance_warns_twice_and_goes_on", with(k10WithLongBuildUp, {{"I4", "2"}}),
     initial_speed("10") + writes({"R2", "R3", "R4"}, {"2,778", "2,778", "2,778"}) +
         Transcript{warning(kBuildUpTimeWarning), warning(kNotCalculatedRightly)} +
         writes({"R5", "R6", "R7", "R8", "R9", "R10", "R11", "R12", "R13"},
                {"-2,29", "3,923", "7,845", "-5,068", "-18,245", "1,637", "2,125", "-0,646", "2,354"}) +
         kNoCollision},

    // Checks and substitutes, one input at a time.
    {"speed_0_and_adhesion_0_are_replaced_without_warning", with(k10WithLongBuildUp, {{"I1", "0"}, {"I2", "0"}}),
     Transcript{set("I1", "10"), set("R1", "10"), set("I2", "0,8")} + k10WithLongBuildUpResults + kNoCollision},
    {"negative_speed_and_adhesion_warn_then_are_replaced", with(k10WithLongBuildUp, {{"I1", "-5"}, {"I2", "-1"}}),
     Transcript{warning(kSpeedWarning), set("I1", "10"), set("R1", "10"), warning(kAdhesionWarning), set("I2", "0,8")} +
         k10WithLongBuildUpResults + kNoCollision},
    {"adhesion_substitute_is_written_with_the_point_separator", with_point(with(k10WithLongBuildUp, {{"I2", "0"}})),
     with_point(initial_speed("10") + Transcript{set("I2", "0,8")} + k10WithLongBuildUpResults + kNoCollision), "."},
    {"negative_times_warn_and_are_replaced_by_1", with(k10WithLongBuildUp, {{"I3", "-1"}, {"I4", "-0,5"}}),
     initial_speed("10") + Transcript{warning(kTimeWarning), set("I3", "1"), warning(kTimeWarning), set("I4", "1")} +
         k10WithLongBuildUpResults + kNoCollision},
    {"zero_times_are_accepted", with(kWorkedExample, {{"I3", "0"}, {"I4", "0"}}),
     initial_speed("50") +
         stopping_results(
             {"13,889", "13,889", "0", "0", "3,923", "7,845", "13,889", "50", "12,295", "12,295", "1,77", "1,77"}) +
         kNoCollision},
    {"obstacle_at_0_is_replaced_by_50", with(kWorkedExample, {{"I5", "0"}}),
     initial_speed("50") + Transcript{warning(kObstacleWarning), set("I5", "50")} + k50Results + kNoCollision},
    {"negative_obstacle_distance_is_replaced_by_50", with(kWorkedExample, {{"I5", "-3"}}),
     initial_speed("50") + Transcript{warning(kObstacleWarning), set("I5", "50")} + k50Results + kNoCollision},
    {"malformed_reaction_time_after_a_substituted_speed_keeps_the_substitute_and_R1",
     with(earlier_results(), with(kWorkedExample, {{"I1", "-3"}, {"I3", "1 s"}})),
     {warning(kSpeedWarning), set("I1", "10"), set("R1", "10"), error(not_a_number("1 s"))}},

    // The vehicle comes to rest just at the obstacle: rounding alone puts a negative quantity under
    // the root of the collision speed, which is then 0.
    {"obstacle_reached_just_as_the_vehicle_comes_to_rest_is_hit_at_speed_0",
     with(kRestAtBuildUpEnd, {{"I5", "3,7619"}}),
     kRestAtBuildUpEndRun + collision("0", "0", "1,708") + kEmptiedInBuildUp + Transcript{warning(kBuildUpCollision)}},
    {"obstacle_reached_shortly_before_the_rest", with(kRestAtBuildUpEnd, {{"I5", "3,76"}}),
     kRestAtBuildUpEndRun + collision("0,106", "0,382", "1,681") + kEmptiedInBuildUp +
         Transcript{warning(kBuildUpCollision)}},

    // Faults that stay faults.
    {"adhesion_so_small_that_the_deceleration_rounds_to_0_divides_by_zero",
     with(earlier_results(), with(kWorkedExample, {{"I2", "0,00005"}})),
     initial_speed("50") + stopping_results({"13,889", "13,889", "13,889", "2,778", "0", "0", "13,889", "50"}) +
         Transcript{error(kDivisionByZero)}},
    {"build_up_deceleration_rounded_to_0_in_a_build_up_collision_is_0_divided_by_0",
     with(earlier_results(), with(kWorkedExample, {{"I1", "36"}, {"I2", "0,0001"}, {"I5", "11"}})),
     initial_speed("36") +
         stopping_results({"10", "10", "10", "2", "0", "0,001", "10", "36", "50000", "50012", "10000", "10001,2"}) +
         stopped_after(collision("10", "36", ""), 4, kInvalidOperation)},
    {"initial_speed_rounded_to_0_in_a_reaction_collision_divides_by_zero",
     with(earlier_results(), {{"I1", "0,001"}, {"I3", "1000"}, {"I4", "0"}, {"I5", "0,1"}}),
     initial_speed("0,001") +
         stopping_results({"0", "0", "0,278", "0", "3,923", "7,845", "0", "0", "0", "0,278", "0", "1000"}) +
         stopped_after(collision("0", "0,001", ""), 4, kDivisionByZero)},
    {"huge_initial_speed_cannot_be_rounded",
     with(kWorkedExample, {{"I1", "1e300"}}),
     {set("R1", "1E300"), error(kInvalidOperation)}},
};
// clang-format on

class StoppingDistanceRun : public PageRunTest {};
TEST_P(StoppingDistanceRun, Transcript) { expect_run(stopping_distance_page(), GetParam()); }
INSTANTIATE_TEST_SUITE_P(DrahaNaZastaveni, StoppingDistanceRun, ::testing::ValuesIn(kRuns), run_name);

// Independent checks of the physics: on either side of the place where one phase ends and the next
// begins, the collision speed and the collision time hardly differ, so each phase's formulas meet
// the next one's.

double number(const std::string& text) { return std::stod(with_point(text)); }

struct Report {
    double speed;       // C5 [m/s]
    double time;        // C8 [s]
    std::string shown;  // the result fields the collision phase leaves filled
};

Report collision_at(const Texts& typed, const std::string& obstacle) {
    RecordingPort page(stopping_distance_page());
    for (const auto& [id, text] : with(typed, {{"I5", obstacle}})) page.type(id, text);
    page.press_calculate();
    EXPECT_EQ(page.field("C1"), "Vozidlo se střetne") << "obstacle at " << obstacle;
    std::string shown;
    for (const char* id : {"R1", "R3", "R5", "R6", "R7", "R8", "R9", "R10", "R11", "R12", "R13"}) {
        if (!page.field(id).empty()) shown += std::string(id) + " ";
    }
    return {number(page.field("C5")), number(page.field("C8")), shown};
}

struct PhaseBoundary {
    const char* name;
    Texts typed;
    std::string before;  // an obstacle 0.1 mm before the boundary
    std::string after;   // and 0.1 mm after it
};

std::ostream& operator<<(std::ostream& out, const PhaseBoundary& b) { return out << b.name; }

class CollisionAcrossPhases : public ::testing::TestWithParam<PhaseBoundary> {};

TEST_P(CollisionAcrossPhases, SpeedAndTimeMeet) {
    const PhaseBoundary& boundary = GetParam();
    const Report before = collision_at(boundary.typed, boundary.before);
    const Report after = collision_at(boundary.typed, boundary.after);
    EXPECT_NE(before.shown, after.shown) << "the two obstacles are hit in different phases";
    // 0.2 mm further on, and the 3-place rounding of the shown values.
    EXPECT_NEAR(before.speed, after.speed, 0.004);
    EXPECT_NEAR(before.time, after.time, 0.004);
    EXPECT_LE(after.speed, before.speed + 0.001) << "the vehicle does not speed up";
    EXPECT_GE(after.time, before.time - 0.001) << "a farther obstacle is not reached sooner";
}

// The worked example's phases end at s_r = 13.889 m and s_r + s_n = 16.588 m; a slow vehicle with
// a long build-up (10 km/h, tₙ 0.5 s) and a fast one on ice (130 km/h, μ 0.1, tₙ 0.9 s).
// clang-format off
INSTANTIATE_TEST_SUITE_P(
    DrahaNaZastaveni, CollisionAcrossPhases,
    ::testing::Values(PhaseBoundary{"reaction_to_build_up", kWorkedExample, "13,8889", "13,8891"},
                      PhaseBoundary{"build_up_to_full_braking", kWorkedExample, "16,5879", "16,5881"},
                      PhaseBoundary{"slow_build_up_to_full_braking", with(k10WithLongBuildUp, {{"I4", "0,5"}}),
                                    "3,6769", "3,6771"},
                      PhaseBoundary{"fast_on_ice_build_up_to_full_braking",
                                    {{"I1", "130"}, {"I2", "0,1"}, {"I3", "1"}, {"I4", "0,9"}},
                                    "68,4119",
                                    "68,4121"}),
    [](const ::testing::TestParamInfo<PhaseBoundary>& info) { return std::string(info.param.name); });
// clang-format on

}  // namespace
