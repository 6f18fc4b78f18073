#include "collision/ees_catalogue_page.h"

#include <array>

#include "collision/vehicle_mass.h"
#include "numeric/round_to_places.h"
#include "numeric/speed_units.h"

namespace vorlanex::collision {

namespace {

using namespace page;
using numeric::Extended;

// Inputs, in the order they are read.
constexpr std::string_view I1 = "I1", I2 = "I2", I3 = "I3";
// Results.
constexpr std::string_view R1 = "R1", R2 = "R2";

// Every field of the page is 65 × 21, wider than the usual 41.
constexpr Rect wide_field_at(int left, int top) { return {left, top, 65, 21}; }

// clang-format off
constexpr std::array kFields{
    input_field(I1, wide_field_at(160, 112), "Katalogová hmotnost vozidla [kg]", "kg"),
    input_field(I2, wide_field_at(272, 112), "Skutečná hmotnost vozidla [kg]", "kg"),
    input_field(I3, wide_field_at(160, 152), "Katalogová hodnota EES [km/h]", "km/h"),
    result_field(R1, wide_field_at(272, 152), "Skutečná hodnota EES [km/h]", "km/h", kBoldText),
    result_field(R2, wide_field_at(272, 176), "Skutečná hodnota EES [m/s]", "m/s"),
};
// clang-format on

// clang-format off
constexpr std::array kLabels{
    plain_text("Přepočet z katalogových listů.", 8, 0),
    // Column heads: the catalogue values, then the real ones.
    bold_text(" Katalogové", 160, 72), plain_text("    hodnoty", 160, 88),
    bold_text("Skutečné", 280, 72), plain_text("  hodnoty", 280, 88),
    // Mass row; its unit serves both columns.
    plain_text("Hmotnost ", 88, 104), plain_text("vozidla:", 88, 120),
    Label{"[kg]", 344, 112, kUnitFont},
    // EES row, with the real EES in m/s on the line below.
    Label{"EES:", 88, 152, kUnitFont},
    Label{"[km.h   ]", 344, 152, kUnitFont}, plain_text("-1", 376, 150),
    Label{"[m.s   ]", 344, 176, kUnitFont}, plain_text("-1", 368, 176),
};
// clang-format on

// clang-format off
constexpr std::array kPictures{
    PicturePlacement{"filing-cabinet", 176, 24},  // over the catalogue column
    PicturePlacement{"dented-car", 288, 24},      // over the real column
    PicturePlacement{"ees-katalog-formula", 488, 128},
};
// clang-format on

constexpr PageLayout kLayout{{}, kLabels, kPictures, kFields, {}, {248, 208, 121, 25}};

constexpr std::string_view kWrongEes = "Pozor, chybně zadaná hodnota EES !";

void calculate(Port& page) {
    // All three inputs are read before any check.
    const double m_KAT = read_number(page, I1);
    double m_SKUT = read_number(page, I2);
    const double EES_KAT = read_number(page, I3);

    // The real mass falls back to 1000 kg; the catalogue mass and the EES are only warned about.
    m_SKUT = checked_mass(page, I2, m_SKUT);
    if (!(m_KAT > 0)) page.warning(kWrongMass);
    if (!(EES_KAT >= 0)) page.warning(kWrongEes);

    // The real EES keeps mass × EES² of the catalogue vehicle; the m/s value is formed from the
    // rounded km/h value. A negative catalogue mass fails at the square root.
    const double EES_SKUT = numeric::round_to_places(sqrt(Extended{m_KAT} / m_SKUT) * EES_KAT, 3);
    const double EES_SKUT_ms = numeric::metres_per_second_rounded(EES_SKUT, 3);
    write_number(page, R1, EES_SKUT);
    write_number(page, R2, EES_SKUT_ms);
}

// A catalogue vehicle of 900 kg with EES 40 km/h, the real vehicle 1600 kg.
// clang-format off
constexpr std::array kWorkedExample{
    FieldText{I1, "900"},
    FieldText{I2, "1600"},
    FieldText{I3, "40"},
};
// clang-format on

constexpr PageDefinition kPage{"ees-katalog", kLayout, calculate, kWorkedExample};

}  // namespace

const PageDefinition& ees_catalogue_page() { return kPage; }

}  // namespace vorlanex::collision
