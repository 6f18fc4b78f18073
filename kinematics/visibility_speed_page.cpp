#include "kinematics/visibility_speed_page.h"

#include <array>
#include <string_view>

#include "kinematics/braking_fields.h"
#include "kinematics/braking_model.h"
#include "page/substitute.h"

namespace vorlanex::kinematics {

namespace {

using namespace page;
using numeric::store;

// Inputs, in the order they are read and then checked.
constexpr std::string_view I1 = "I1", I2 = "I2", I3 = "I3", I4 = "I4";
// Results, in the order they are written.
constexpr std::string_view R1 = "R1", R2 = "R2";

// Every row has its bold symbol, its field and its unit at these lefts; the fields are wider
// than the usual ones.
constexpr int kSymbolLeft = 240, kFieldLeft = 280, kUnitLeft = 368;
constexpr int kFieldWidth = 81, kFieldHeight = 21;
// The tops of the four input rows and the two result rows.
constexpr int kDistanceRow = 104, kAdhesionRow = 128, kReactionRow = 152, kBuildUpRow = 176;
constexpr int kMetresPerSecondRow = 248, kKilometresPerHourRow = 272;

constexpr Rect row_field(int row) { return {kFieldLeft, row, kFieldWidth, kFieldHeight}; }
constexpr Label row_symbol(std::string_view text, int row) { return bold_text(text, kSymbolLeft, row + 3); }
// The small letter set lower into the blank after a symbol's "t".
constexpr Label row_symbol_index(std::string_view letter, int row) {
    return plain_text(letter, kSymbolLeft + 6, row + 9);
}
constexpr Label row_unit(std::string_view text, int row, std::string_view power = {}) {
    return unit_label(text, kUnitLeft, row + 2, power);
}

// The results read as the page's answer: grey, flat and in the larger bold face.
constexpr FieldLook kAnswerLook = kBorderless.with_font(kBoldUnitFont);

// clang-format off
constexpr std::array kFields{
    input_field(I1, row_field(kDistanceRow), "Dráha, na které má dojít k zastavení [m]", "m"),
    input_field(I2, row_field(kAdhesionRow), "Součinitel adheze [1]", "1"),
    input_field(I3, row_field(kReactionRow), "Reakční doba řidiče [s]", "s"),
    input_field(I4, row_field(kBuildUpRow), "Doba náběhu brzdného účinku [s]", "s"),
    result_field(R1, row_field(kMetresPerSecondRow), "Rychlost přiměřená rozhledu [m/s]", "m/s", kAnswerLook),
    result_field(R2, row_field(kKilometresPerHourRow), "Rychlost přiměřená rozhledu [km/h]", "km/h", kAnswerLook),
};
// clang-format on

// clang-format off
constexpr std::array kLabels{
    // What the page computes.
    plain_text("Výpočet maximální rychlosti, kterou se může vozidlo pohybovat ", 24, 40),
    plain_text("na začátku úseku, aby bylo  schopno zastavit na dané dráze.", 24, 56),
    bold_text("\"Rychlost přiměřená rozhledu.\"", 64, 72),
    // The input rows: caption, symbol, unit.
    plain_text("Dráha, na které má dojít k zastavéní:", 24, 96),
    plain_text("(Vzdálenost, na kterou má řidič rozhled)", 32, 110),
    row_symbol("L   =", kDistanceRow),
    row_unit("[m]", kDistanceRow),
    plain_text("Součinitel adheze:", 24, kAdhesionRow + 3),
    row_symbol("mí =", kAdhesionRow),
    row_unit("[1]", kAdhesionRow),
    plain_text("Reakční doba řidiče:", 24, 148),
    plain_text("(+ zahrnuta i doba prodlevy brzd)", 64, 162),
    row_symbol("t    =", kReactionRow),
    row_symbol_index("r", kReactionRow),
    row_unit("[s]", kReactionRow),
    plain_text("Doba náběhu brzdného účinku:", 24, kBuildUpRow + 3),
    row_symbol("t    =", kBuildUpRow),
    row_symbol_index("n", kBuildUpRow),
    row_unit("[s]", kBuildUpRow),
    // The result block.
    bold_text("Maximální rychlost vozidla", 48, 232),
    bold_text("na začátku úseku L:", 96, 248),
    row_symbol("v =", kMetresPerSecondRow),
    row_unit("[m.s    ]", kMetresPerSecondRow, "-1"),
    row_symbol("V =", kKilometresPerHourRow),
    row_unit("[km.h    ]", kKilometresPerHourRow, "-1"),
};
// clang-format on

// The view ahead along a winding road.
constexpr std::array kPictures{PicturePlacement{"road-view", 368, 40}};

constexpr PageLayout kLayout{{}, kLabels, kPictures, kFields, {}, {248, 208, 121, 25}};

constexpr std::string_view kDistanceWarning = "Pozor, dráha musí být > 0 !";
constexpr std::string_view kAdhesionWarning = "Pozor, součinitel adheze musí být > 0 !\rVýpočet nelze provést !";
constexpr std::string_view kReactionTimeWarning = "Pozor, čas reakce nesmí být < 0 !";
constexpr std::string_view kBuildUpTimeWarning = "Pozor, hodnota času nesmí být < 0 !";

// What the calculation goes on with after a warning; the field shows it too, and the next run
// reads it.
constexpr double kSubstituteDistance = 5;
constexpr double kSubstituteAdhesion = 0.8;
constexpr double kSubstituteReactionTime = 1;
constexpr double kSubstituteBuildUpTime = 0.15;

void calculate(Port& page) {
    // All four inputs are read before any is checked: a field that is not a number stops the
    // run before any warning.
    double L = read_number(page, I1);
    double mu = read_number(page, I2);
    double tr = read_number(page, I3);
    double tn = read_number(page, I4);

    if (!(L > 0)) L = warn_and_substitute(page, I1, kDistanceWarning, {kSubstituteDistance});
    // The calculation goes on with 0.8, although the warning says it cannot be made.
    if (!(mu > 0)) mu = warn_and_substitute(page, I2, kAdhesionWarning, {kSubstituteAdhesion});
    if (!(tr >= 0)) tr = warn_and_substitute(page, I3, kReactionTimeWarning, {kSubstituteReactionTime});
    if (!(tn >= 0)) tn = warn_and_substitute(page, I4, kBuildUpTimeWarning, {kSubstituteBuildUpTime});

    const double a = store(deceleration(mu));

    // Entering the stretch at v, the vehicle stops exactly at its end: the stopping speed from the
    // start of the reaction over the distance L, v in m/s, then V in km/h from the rounded v. Both
    // are formed before either is shown, so a V too large to round leaves both fields as they were.
    const double v = stopping_speed(tn, tr, a, L);
    const double V = kilometres_per_hour_rounded(v, 3);
    write_number(page, R1, v);
    write_number(page, R2, V);
}

// 50 m of visible road on μ 0.8, reaction 1 s, build-up 0.15 s.
// clang-format off
constexpr std::array kWorkedExample{
    FieldText{I1, "50"},
    FieldText{I2, "0,8"},
    FieldText{I3, "1"},
    FieldText{I4, "0,15"},
};
// clang-format on

constexpr PageDefinition kPage{"rychlost-rozhledu", kLayout, calculate, kWorkedExample};

}  // namespace

const PageDefinition& visibility_speed_page() { return kPage; }

}  // namespace vorlanex::kinematics
