// "Přepočet EES", sub-page "EES" (EES from catalogue values) on the recording fake port: every
// run's whole transcript of warnings, writes and error, in order, and the texts the fields keep.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "collision/ees_catalogue_page.h"
#include "tests/support/page_runs.h"

namespace {

using vorlanex::collision::ees_catalogue_page;
using namespace vorlanex::testing;

const std::string kMassWarning = "Pozor, chybně zadaná hmotnost !";
const std::string kEesWarning = "Pozor, chybně zadaná hodnota EES !";

// The real EES in km/h (R1), then in m/s (R2).
Transcript results(const std::string& kmh, const std::string& ms) { return writes({"R1", "R2"}, {kmh, ms}); }

// Catalogue mass 900 kg, real mass 1600 kg, catalogue EES 40 km/h.
const Texts kWorkedExample = worked_example(ees_catalogue_page());
const Transcript kWorkedExampleResults = results("30", "8,333");

// Both result fields holding texts from an earlier run.
const Texts kEarlierResults{{"R1", "dříve R1"}, {"R2", "dříve R2"}};

// clang-format off
const PageRun kRuns[] = {
    {"worked_example", kWorkedExample, kWorkedExampleResults},
    // √0.8 × 30 = 26.8328…; the m/s value comes from the rounded 26.833 (7.4536…).
    {"lighter_catalogue_vehicle", {{"I1", "1000"}, {"I2", "1250"}, {"I3", "30"}}, results("26,833", "7,454")},
    {"equal_masses_give_the_catalogue_ees_rounded",
     {{"I1", "1200"}, {"I2", "1200"}, {"I3", "33,33349"}},
     results("33,333", "9,259")},
    {"page_as_it_opens_stops_at_the_empty_catalogue_mass", {}, {error(not_a_number(""))}},
    {"every_input_is_read_before_any_check",
     {{"I1", "-900"}, {"I2", "0"}, {"I3", "abc"}},
     {error(not_a_number("abc"))}},
    {"zero_real_mass_falls_back_to_1000_in_the_field", with(kWorkedExample, {{"I2", "0"}}),
     Transcript{warning(kMassWarning), set("I2", "1000")} + results("37,947", "10,541")},
    {"negative_real_mass_falls_back_to_1000_in_the_field", with(kWorkedExample, {{"I2", "-5"}}),
     Transcript{warning(kMassWarning), set("I2", "1000")} + results("37,947", "10,541")},
    {"real_mass_below_the_double_range_reads_as_zero", with(kWorkedExample, {{"I2", "1e-400"}}),
     Transcript{warning(kMassWarning), set("I2", "1000")} + results("37,947", "10,541")},
    {"zero_catalogue_mass_is_only_warned_about_and_gives_zero", with(kWorkedExample, {{"I1", "0"}}),
     Transcript{warning(kMassWarning)} + results("0", "0")},
    {"zero_catalogue_ees_passes_without_warning", with(kWorkedExample, {{"I3", "0"}}), results("0", "0")},
    {"negative_catalogue_ees_is_only_warned_about_and_carries_its_sign", with(kWorkedExample, {{"I3", "-10"}}),
     Transcript{warning(kEesWarning)} + results("-7,5", "-2,083")},
    {"both_masses_bad_warn_twice_real_mass_first",
     {{"I1", "0"}, {"I2", "-1"}, {"I3", "40"}},
     Transcript{warning(kMassWarning), set("I2", "1000"), warning(kMassWarning)} + results("0", "0")},
    {"every_check_fails_in_order",
     {{"I1", "0"}, {"I2", "0"}, {"I3", "-1"}},
     Transcript{warning(kMassWarning), set("I2", "1000"), warning(kMassWarning), warning(kEesWarning)} +
         results("0", "0")},
    {"negative_catalogue_mass_fails_at_the_root_keeping_the_fallback_and_old_results",
     with(kEarlierResults, {{"I1", "-900"}, {"I2", "0"}, {"I3", "40"}}),
     {warning(kMassWarning), set("I2", "1000"), warning(kMassWarning), error(kInvalidOperation)}},
    // The mass ratio 10^600 fits extended precision; the result's thousandfold leaves 64 bits.
    {"result_beyond_rounding_range_leaves_both_results_old",
     with(kEarlierResults, {{"I1", "1e300"}, {"I2", "1e-300"}, {"I3", "1"}}),
     {error(kInvalidOperation)}},
    {"worked_example_with_point_separator", with_point(kWorkedExample), with_point(kWorkedExampleResults), "."},
    {"comma_is_not_a_number_with_point_separator",
     with(kWorkedExample, {{"I3", "40,5"}}),
     {error(not_a_number("40,5"))},
     "."},
};
// clang-format on

class EesCatalogueRun : public PageRunTest {};
TEST_P(EesCatalogueRun, Transcript) { expect_run(ees_catalogue_page(), GetParam()); }
INSTANTIATE_TEST_SUITE_P(EesKatalog, EesCatalogueRun, ::testing::ValuesIn(kRuns), run_name);

// mass × EES² is the same for the catalogue vehicle and the real one, within the rounding of the
// shown value; the m/s value is the km/h value over 3.6.
TEST(EesKatalogPhysics, MassTimesEesSquaredIsKept) {
    const Texts cases[] = {
        {{"I1", "900"}, {"I2", "1600"}, {"I3", "40"}},
        {{"I1", "1450"}, {"I2", "980"}, {"I3", "27.5"}},
        {{"I1", "2100"}, {"I2", "2105"}, {"I3", "12"}},
        {{"I1", "700"}, {"I2", "3800"}, {"I3", "55"}},
    };
    for (const Texts& typed : cases) {
        RecordingPort page(ees_catalogue_page(), ".");
        for (const auto& [id, text] : typed) page.type(id, text);
        ASSERT_EQ(page.press_calculate().size(), 2U);
        const double catalogue_mass = std::stod(typed[0].second);
        const double real_mass = std::stod(typed[1].second);
        const double catalogue_ees = std::stod(typed[2].second);
        const double real_ees = std::stod(page.field("R1"));
        EXPECT_NEAR(real_mass * real_ees * real_ees, catalogue_mass * catalogue_ees * catalogue_ees,
                    real_mass * 2 * real_ees * 0.0005)
            << typed[1].second;
        EXPECT_NEAR(std::stod(page.field("R2")), real_ees / 3.6, 0.0005 + 1e-9);
    }
}

}  // namespace
