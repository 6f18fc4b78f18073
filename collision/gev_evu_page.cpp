#include "collision/gev_evu_page.h"

#include <array>

#include "collision/gev_layout.h"
#include "collision/gev_ranges.h"
#include "collision/vehicle_mass.h"
#include "page/substitute.h"

namespace vorlanex::collision {

namespace {

using namespace page;
using numeric::Extended;

// Inputs, in the order they are read: the impulse I, the deformation energy E_DEF, the masses m1
// and m2.
constexpr std::string_view I1 = "I1", I2 = "I2", I3 = "I3", I4 = "I4";
// Result: GEV.
constexpr std::string_view R1 = "R1";

// clang-format off
constexpr std::array kFields{
    input_field(I1, gev_field_at(216, 24), "Impuls rázu [N.s]", "N·s"),
    input_field(I2, gev_field_at(216, 64), "Deformační energie [J]", "J"),
    input_field(I3, gev_field_at(216, 104), "Hmotnost vozidla 1 [kg]", "kg"),
    input_field(I4, gev_field_at(216, 144), "Hmotnost vozidla 2 [kg]", "kg"),
    result_field(R1, gev_field_at(216, 196), "GEV [1]", "1", kBoldText),
};
// clang-format on

// clang-format off
constexpr std::array kPageLabels{
    bold_text("Přepočet pro uživatele PC-Crash.", 8, 0),
    // One row per input: its caption (the masses share one), the symbol, the unit.
    plain_text("Impuls rázu:", 32, 24),
    symbol_label("I       =", 168, 24),
    unit_label("[N.s]", 296, 24),
    plain_text("Deformační energie:", 32, 64),
    symbol_label("E      =", 168, 64),
    subscript_label("DEF", 176, 72),
    unit_label("[J]", 296, 64),
    plain_text("Hmotnosti vozidel:", 32, 104),
    symbol_label("m      =", 168, 104),
    subscript_label("1", 184, 112),
    unit_label("[kg]", 296, 104),
    symbol_label("m      =", 168, 144),
    subscript_label("2", 184, 152),
    unit_label("[kg]", 296, 144),
    symbol_label("GEV =", 168, 200),
    // Where the inputs come from.
    plain_text("Vstupní hodnoty je možno získat z:", 448, 32),
    plain_text("protokolu ", 640, 32),
    plain_text("(parametry rázu) ", 640, 48),
    plain_text("(PC Crash, ...)", 640, 64),
};
// clang-format on

constexpr auto kLabels = joined(kPageLabels, gev_ranges_legend(480, 256));

constexpr std::array kPictures{PicturePlacement{"gev-evu-formula", 480, 108}};

constexpr PageLayout kLayout{{}, kLabels, kPictures, kFields, {}, {192, 232, 121, 25}};

constexpr std::string_view kEnergyWarning = "Pozor, chybně zadaná deformační energie !";

// What a deformation energy that is not positive is replaced with.
constexpr double kSubstituteEnergy = 1;

void calculate(Port& page) {
    // All four inputs are read before any check. The impulse has none: 0 gives a GEV of 0, a
    // negative impulse a negative GEV.
    const double I = read_number(page, I1);
    double E_DEF = read_number(page, I2);
    double m1 = read_number(page, I3);
    double m2 = read_number(page, I4);
    if (!(E_DEF > 0)) E_DEF = page::warn_and_substitute(page, I2, kEnergyWarning, {kSubstituteEnergy});
    m1 = checked_mass(page, I3, m1);
    m2 = checked_mass(page, I4, m2);

    // GEV = I / √(2·E_DEF / (1/m1 + 1/m2)); the root is a momentum in N.s. With
    // positive E_DEF, m1 and m2 nothing here can divide by zero or take the root of a negative.
    const Extended momentum = sqrt(2.0 * Extended{E_DEF} / (1.0 / Extended{m1} + 1.0 / Extended{m2}));
    write_rounded(page, R1, Extended{I} / momentum, 3);
}

// I 2700 N.s, E_DEF 9000 J, both masses 1000 kg: the momentum is √(18000 / 0,002) = 3000 N.s,
// GEV 0,9.
// clang-format off
constexpr std::array kWorkedExample{
    FieldText{I1, "2700"},
    FieldText{I2, "9000"},
    FieldText{I3, "1000"},
    FieldText{I4, "1000"},
};
// clang-format on

constexpr PageDefinition kPage{"gev-evu", kLayout, calculate, kWorkedExample};

}  // namespace

const PageDefinition& gev_evu_page() { return kPage; }

}  // namespace vorlanex::collision
