#include "collision/gev_definition_page.h"

#include <array>

#include "collision/gev_layout.h"
#include "collision/gev_ranges.h"
#include "numeric/round_to_places.h"
#include "numeric/speed_units.h"
#include "page/substitute.h"

namespace vorlanex::collision {

namespace {

using namespace page;
using numeric::Extended;
using numeric::store;

// Inputs, in the order they are read: the EES and the speed V before the collision, both in km/h.
constexpr std::string_view I1 = "I1", I2 = "I2";
// Results: V in m/s, and GEV.
constexpr std::string_view R1 = "R1", R2 = "R2";

// clang-format off
constexpr std::array kFields{
    input_field(I1, gev_field_at(240, 56), "Hodnota EES [km/h]", "km/h"),
    input_field(I2, gev_field_at(240, 96), "Rychlost vozidla před střetem [km/h]", "km/h"),
    result_field(R1, gev_field_at(240, 120), "Rychlost vozidla před střetem [m/s]", "m/s"),
    result_field(R2, gev_field_at(240, 180), "GEV [1]", "1", kBoldText),
};
// clang-format on

// clang-format off
constexpr std::array kLabels{
    plain_text("Hodnota EES:", 32, 56),
    symbol_label("EES =", 192, 56),
    unit_label("[km.h   ]", 320, 56, "-1"),
    plain_text("Rychlost vozidla před střetem:", 32, 96),
    symbol_label("V      =", 192, 96),
    unit_label("[km.h   ]", 320, 96, "-1"),
    unit_label("[m.s    ]", 320, 120, "-1"),
    symbol_label("GEV =", 192, 184),
    unit_label("[1]", 320, 184),
};
// clang-format on

constexpr std::array kPictures{PicturePlacement{"gev-definice-formula", 472, 136}};

// Beside the GEV's unit: the ranges of GEV and the kinds of impact they mean.
constexpr std::array kHelpButtons{HelpButton{kGevRanges, {352, 184, 25, 17}, "Nápověda: rozsahy GEV"}};

constexpr PageLayout kLayout{{}, kLabels, kPictures, kFields, kHelpButtons, {216, 224, 121, 25}};

constexpr std::string_view kNegativeEesWarning = "Pozor, hodnota nesmí být záporná !";
constexpr std::string_view kSpeedBelowEesWarning = "Pozor, rychlost nesmí být nižší než EES !";
// The GEV field's text when the EES is 0: there is no collision to rate.
constexpr std::string_view kNoCollision = "NENÍ STŘET";

// The GEV is shown in whole thousandths.
constexpr double kThousandths = 1000;

void calculate(Port& page) {
    // Both inputs are read before any check; V is checked against the EES as the EES check
    // leaves it.
    double EES = read_number(page, I1);
    double V = read_number(page, I2);
    if (!(EES >= 0)) EES = page::warn_and_substitute(page, I1, kNegativeEesWarning, {0});
    if (!(V >= EES)) V = page::warn_and_substitute(page, I2, kSpeedBelowEesWarning, {EES});

    write_number(page, R1, numeric::metres_per_second_rounded(V, 3));

    if (!(EES > 0)) {
        page.set_text(R2, kNoCollision);
        return;
    }
    // Δv: the drop from V to the speed left once the energy equivalent to the EES is taken away.
    // V ≥ EES > 0 here, so the root is of a number that is not negative.
    const double dv = store(Extended{V} - sqrt(square(Extended{V}) - square(Extended{EES})));
    // GEV = Δv / EES in thousandths: Δv × 1000 / EES rounded half to even to a whole number,
    // then divided by 1000.
    const double thousandths = numeric::round_to_places(Extended{dv} * kThousandths / EES, 0);
    write_number(page, R2, store(Extended{thousandths} / kThousandths));
}

// EES 30 km/h, V 50 km/h: Δv = 50 − 40 = 10 km/h, GEV 0,333; V is 13,889 m/s.
// clang-format off
constexpr std::array kWorkedExample{
    FieldText{I1, "30"},
    FieldText{I2, "50"},
};
// clang-format on

constexpr PageDefinition kPage{"gev-definice", kLayout, calculate, kWorkedExample};

}  // namespace

const PageDefinition& gev_definition_page() { return kPage; }

}  // namespace vorlanex::collision
