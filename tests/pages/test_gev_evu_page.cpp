// "GEV - dle metodiky EVU" on the recording fake port: every run's whole transcript of warnings,
// writes and error, in order, and the texts the fields keep.
#include <gtest/gtest.h>

#include <string>

#include "collision/gev_evu_page.h"
#include "tests/support/page_runs.h"

namespace {

using vorlanex::collision::gev_evu_page;
using namespace vorlanex::testing;

const std::string kEnergyWarning = "Pozor, chybně zadaná deformační energie !";
const std::string kMassWarning = "Pozor, chybně zadaná hmotnost !";

// I 2700 N.s, E_DEF 9000 J, m1 = m2 = 1000 kg: the root is √(18000 / 0,002) = 3000, GEV 0,9.
const Texts kWorkedExample = worked_example(gev_evu_page());

// clang-format off
const PageRun kRuns[] = {
    {"worked_example", kWorkedExample, {set("R1", "0,9")}},
    {"worked_example_with_point_separator", with_point(kWorkedExample), {set("R1", "0.9")}, "."},
    {"zero_impulse_gives_zero", with(kWorkedExample, {{"I1", "0"}}), {set("R1", "0")}},
    {"negative_impulse_gives_a_negative_gev", with(kWorkedExample, {{"I1", "-2700"}}), {set("R1", "-0,9")}},
    // √(2 × 1 / 0,002) = √1000; 2700 / 31,6227766... = 85,3815...
    {"zero_energy_is_replaced_by_1",
     with(kWorkedExample, {{"I2", "0"}}),
     {warning(kEnergyWarning), set("I2", "1"), set("R1", "85,381")}},
    {"negative_energy_is_replaced_by_1",
     with(kWorkedExample, {{"I2", "-500"}}),
     {warning(kEnergyWarning), set("I2", "1"), set("R1", "85,381")}},
    {"both_masses_zero_two_warnings_then_1000_each",
     with(kWorkedExample, {{"I3", "0"}, {"I4", "0"}}),
     {warning(kMassWarning), set("I3", "1000"), warning(kMassWarning), set("I4", "1000"), set("R1", "0,9")}},
    {"negative_zero_mass_fails_the_check",
     with(kWorkedExample, {{"I4", "-0"}}),
     {warning(kMassWarning), set("I4", "1000"), set("R1", "0,9")}},
    {"every_check_warns_in_the_order_energy_then_masses",
     with(kWorkedExample, {{"I2", "-1"}, {"I3", "-1"}, {"I4", "-1"}}),
     {warning(kEnergyWarning), set("I2", "1"), warning(kMassWarning), set("I3", "1000"), warning(kMassWarning),
      set("I4", "1000"), set("R1", "85,381")}},
    // Unequal masses: 2 × 9000 / (1/1000 + 1/1500) = 10800000, root 3286,335...; 2700 / it.
    {"unequal_masses", with(kWorkedExample, {{"I4", "1500"}}), {set("R1", "0,822")}},
    // The momentum is 3000: 187,5 / 3000 = 0,0625 and 562,5 / 3000 = 0,1875, both ties.
    {"tie_rounds_down_to_even", with(kWorkedExample, {{"I1", "187,5"}}), {set("R1", "0,062")}},
    {"tie_rounds_up_to_even", with(kWorkedExample, {{"I1", "562,5"}}), {set("R1", "0,188")}},
    {"page_as_it_opens_stops_at_the_empty_impulse", {}, {error(not_a_number(""))}},
    // Every input is read before any check: the bad energy earlier is not warned about.
    {"malformed_mass_stops_before_any_check",
     with(kWorkedExample, {{"I2", "-500"}, {"I4", "1 000"}}),
     {error(not_a_number("1 000"))}},
    {"comma_is_not_a_number_with_point_separator",
     with(kWorkedExample, {{"I2", "9000,5"}}),
     {error(not_a_number("9000,5"))},
     "."},
    // A warning and its substitute stay when the press ends in a fault; the GEV of an earlier
    // run stays as it was.
    {"gev_beyond_the_rounding_range_leaves_the_earlier_result",
     with(kWorkedExample, {{"R1", "0,9"}, {"I1", "1e20"}, {"I3", "0"}}),
     {warning(kMassWarning), set("I3", "1000"), error(kInvalidOperation)}},
    {"impulse_beyond_the_double_range_overflows_when_read",
     with(kWorkedExample, {{"I1", "1e400"}}),
     {error(kOverflow)}},
};
// clang-format on

class GevEvuRun : public PageRunTest {};
TEST_P(GevEvuRun, Transcript) { expect_run(gev_evu_page(), GetParam()); }
INSTANTIATE_TEST_SUITE_P(GevEvu, GevEvuRun, ::testing::ValuesIn(kRuns), run_name);

}  // namespace
