#include "collision/ees_stiffness_page.h"

#include <array>

#include "collision/vehicle_mass.h"

namespace vorlanex::collision {

namespace {

using namespace page;
using numeric::Extended;
using numeric::store;

// Inputs, in the order they are read.
constexpr std::string_view I1 = "I1", I2 = "I2", I3 = "I3", I4 = "I4";
// Results.
constexpr std::string_view R1 = "R1", R2 = "R2";

// Every field of the page is 73 × 21, wider than the usual 41.
constexpr Rect wide_field_at(int left, int top) { return {left, top, 73, 21}; }

// In tab order: m2 stands above m1 and comes first, although m1 is read first.
// clang-format off
constexpr std::array kFields{
    input_field(I1, wide_field_at(216, 32), "EES vozidla 2, dolní mez [km/h]", "km/h"),
    input_field(I2, wide_field_at(320, 32), "EES vozidla 2, horní mez [km/h]", "km/h"),
    input_field(I4, wide_field_at(272, 64), "Hmotnost vozidla 2 [kg]", "kg"),
    input_field(I3, wide_field_at(272, 120), "Hmotnost vozidla 1 [kg]", "kg"),
    result_field(R1, wide_field_at(192, 152), "EES vozidla 1, dolní mez [km/h]", "km/h", kBoldText),
    result_field(R2, wide_field_at(352, 152), "EES vozidla 1, horní mez [km/h]", "km/h", kBoldText),
};
// clang-format on

// Subscripts and the powers of units are small labels of their own, at the subscript or
// superscript position of the text before them: after_previous moves one further right where the
// text before it is wider in the window's face than its place allows.
// clang-format off
constexpr std::array kLabels{
    // The known range of vehicle 2.
    plain_text("Známé rozmezí hodnot EES   :", 32, 8), after_previous(plain_text("2", 164, 12)),
    Label{"EES   =", 160, 32, kBoldUnitFont}, after_previous(bold_text("2", 192, 40)),
    Label{" ÷ ", 296, 32, kBoldUnitFont},
    Label{"[km.h   ]", 408, 32, kUnitFont}, after_previous(plain_text("-1", 440, 32)),
    plain_text("Hodnotu EES   stanovíme v mezích na základě porovnání ", 480, 24),
    after_previous(plain_text("2", 544, 27)),
    plain_text("s databází (např. CD Zorvath, ...).", 480, 40),
    // The masses, m2 above m1.
    plain_text("Hmotnosti vozidel:", 32, 64),
    Label{"m    =", 224, 64, kBoldUnitFont}, after_previous(bold_text("2", 240, 72)), Label{"[kg]", 352, 64, kUnitFont},
    Label{"m    =", 224, 120, kBoldUnitFont}, after_previous(bold_text("1", 240, 128)), Label{"[kg]", 352, 120, kUnitFont},
    // Why vehicle 1 needs bounds.
    plain_text("Hodnotu EES   neznáme a nelze ji objektivně stanovit ", 512, 128),
    after_previous(plain_text("1", 576, 131)),
    plain_text("podle fotodokumentace. Hodnota je stanovena", 512, 144),
    plain_text("za předpokladu mezních poměrů tuhostí podle ", 512, 160),
    plain_text("uvedených vztahů.", 512, 176),
    // The bounds of vehicle 1: lower ≤ EES ≤ upper, each ≤ a " < " over a " = ".
    plain_text("Hledaná hodnota EES   :", 32, 144), after_previous(plain_text("1", 138, 147)),
    Label{" < ", 272, 150, kBoldUnitFont}, Label{" = ", 272, 159, kBoldUnitFont},
    Label{"EES", 293, 152, kBoldUnitFont},
    Label{" < ", 328, 150, kBoldUnitFont}, Label{" = ", 328, 159, kBoldUnitFont},
    Label{"[km.h   ]", 432, 152, kUnitFont}, after_previous(plain_text("-1", 464, 152)),
    plain_text("Vzorce pro výpočet:", 32, 192),
};
// clang-format on

// clang-format off
constexpr std::array kPictures{
    PicturePlacement{"ees-tuhosti-formula", 96, 200},
};
// clang-format on

constexpr PageLayout kLayout{{}, kLabels, kPictures, kFields, {}, {608, 232, 121, 25}};

void calculate(Port& page) {
    // All four inputs are read before any check; m1 before m2.
    const double EES2_lower = read_number(page, I1);
    const double EES2_upper = read_number(page, I2);
    double m1 = read_number(page, I3);
    double m2 = read_number(page, I4);
    m1 = checked_mass(page, I3, m1);
    m2 = checked_mass(page, I4, m2);

    const double r = store(Extended{m2} / m1);

    // The lower end of the range scales by the smaller of r and √r, the upper end by the larger.
    double EES1_lower = 0;
    double EES1_upper = 0;
    if (m1 > m2) {
        EES1_lower = store(Extended{r} * EES2_lower);
        EES1_upper = store(sqrt(Extended{r}) * EES2_upper);
    } else {
        EES1_lower = store(sqrt(Extended{r}) * EES2_lower);
        EES1_upper = store(Extended{r} * EES2_upper);
    }
    write_rounded(page, R1, EES1_lower, 3);
    write_rounded(page, R2, EES1_upper, 3);
}

// Vehicle 2 with EES between 20 and 30 km/h; vehicle 1 of 1000 kg, vehicle 2 of 1440 kg.
// clang-format off
constexpr std::array kWorkedExample{
    FieldText{I1, "20"},
    FieldText{I2, "30"},
    FieldText{I3, "1000"},
    FieldText{I4, "1440"},
};
// clang-format on

constexpr PageDefinition kPage{"ees-tuhosti", kLayout, calculate, kWorkedExample};

}  // namespace

const PageDefinition& ees_stiffness_page() { return kPage; }

}  // namespace vorlanex::collision
