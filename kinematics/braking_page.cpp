#include "kinematics/braking_page.h"

#include <array>

#include "kinematics/braking_diagram.h"
#include "kinematics/braking_fields.h"
#include "kinematics/braking_layout.h"
#include "kinematics/braking_model.h"

namespace vorlanex::kinematics {

namespace {

using namespace page;
using numeric::Extended;
using numeric::store;

// Inputs, in the order they are read.
constexpr std::string_view I1 = "I1", I2 = "I2", I3 = "I3", I4 = "I4", I5 = "I5", I6 = "I6", I7 = "I7", I8 = "I8";
// Results.
constexpr std::string_view R1 = "R1", R2 = "R2", R3 = "R3", R4 = "R4", R5 = "R5", R6 = "R6", R7 = "R7", R8 = "R8",
                           R9 = "R9", R10 = "R10", R11 = "R11", R12 = "R12", R13 = "R13", R14 = "R14", R15 = "R15",
                           R16 = "R16", R17 = "R17", R18 = "R18";

// clang-format off
constexpr std::array kFields{
    input_field(I1, field_at(64, 80), "Výběhová rychlost [km/h]", "km/h", "0"),
    input_field(I2, field_at(144, 128), "Brzdná dráha po střetu [m]", "m"),
    input_field(I3, field_at(144, 152), "Součinitel adheze po střetu [1]", "1", "0,8"),
    input_field(I4, field_at(248, 104), "EES [km/h]", "km/h"),
    input_field(I5, field_at(352, 128), "Brzdná dráha před střetem [m]", "m"),
    input_field(I6, field_at(352, 152), "Součinitel adheze před střetem [1]", "1"),
    input_field(I7, field_at(512, 176), "Doba náběhu brzd [s]", "s"),
    input_field(I8, field_at(672, 176), "Reakční doba řidiče [s]", "s"),
    result_field(R1, {144, 200, 41, 19}, "Zpomalení po střetu [m/s²]", "m/s²", kBorderless),
    result_field(R2, field_at(224, 80), "Rychlost po střetu [km/h]", "km/h"),
    result_field(R3, field_at(144, 176), "Doba brzdění po střetu [s]", "s"),
    result_field(R4, field_at(272, 80), "Rychlost před střetem [km/h]", "km/h"),
    result_field(R5, field_at(352, 200), "Zpomalení před střetem [m/s²]", "m/s²", kBorderless),
    result_field(R6, field_at(432, 80), "Rychlost na začátku blokovací stopy [km/h]", "km/h"),
    result_field(R7, {288, 216, 25, 19}, "GEV [1]", "1", kBorderless),
    result_field(R8, field_at(352, 176), "Doba brzdění před střetem [s]", "s"),
    result_field(R9, field_at(592, 80), "Rychlost při sešlápnutí pedálu brzdy [km/h]", "km/h"),
    result_field(R10, {744, 80, 49, 21}, "Rychlost na začátku reakce, na 2 desetinná místa [km/h]", "km/h",
                 kBoldText),
    result_field(R11, field_at(408, 272), "Rychlost na začátku reakce řidiče [m/s]", "m/s"),
    result_field(R12, field_at(296, 272), "Rychlost na začátku reakce řidiče, na 3 desetinná místa [km/h]",
                 "km/h"),
    result_field(R13, field_at(512, 128), "Dráha náběhu brzd [m]", "m"),
    result_field(R14, field_at(672, 128), "Reakční dráha [m]", "m"),
    result_field(R15, field_at(584, 272), "Vzdálenost začátku reakce od místa střetu [m]", "m"),
    result_field(R16, field_at(704, 272), "Čas začátku reakce před střetem [s]", "s"),
    result_field(R17, field_at(96, 328), "Rychlost pro zastavení před místem střetu [m/s]", "m/s"),
    result_field(R18, field_at(96, 304), "Rychlost pro zastavení před místem střetu [km/h]", "km/h"),
};
// clang-format on

// clang-format off
constexpr std::array kGroupBoxes{
    GroupBox{" brzdění po střetu  ", {112, 110, 104, 116}},
    GroupBox{" brzdění vozidla  ", {320, 110, 104, 116}},
    GroupBox{" náběh brzd.  ", {472, 110, 104, 92}},
    GroupBox{" reakční doba ", {632, 110, 104, 92}},
    // The reaction-start box begins left of its first label " V =" (at 272), so its frame runs clear
    // of the "V"; the stopping-speed box beside it is narrowed to keep the two frames apart.
    GroupBox{" Rychlost pro zastavení ", {8, 236, 252, 120}},
    GroupBox{" Rychlost vozidla, místo a čas začátku reakce řidiče od místa střetu   ", {266, 248, 522, 56}},
};
// clang-format on

// The timeline reads from right (earliest) to left (latest).
constexpr auto kEvents = braking_timeline({68, 40}, {248, 40}, {435, 40}, {595, 40}, {752, 40});

// clang-format off
constexpr std::array kPageLabels{
    // The speed row's caption and unit.
    bold_text(" V", 8, 83), unit_label("[km.h   ]", 108, 82, "-1"),
    // Under the collision column.
    bold_text(" EES", 216, 107), plain_text("GEV", 264, 218),
    // Marks of the time inputs of the build-up and reaction boxes.
    bold_text("t", 496, 179), plain_text("n", 502, 185),
    bold_text("t", 656, 179), plain_text("r", 662, 185),
    // Stopping-speed box.
    plain_text("V =", 72, 307), unit_label("[km.h   ]", 140, 306, "-1"),
    plain_text("v =", 72, 331), unit_label("[m.s    ]", 140, 330, "-1"),
    // Reaction-start box.
    plain_text(" V =", 272, 275), unit_label("[km.h   ]", 340, 274, "-1"),
    plain_text("=", 398, 275), unit_label("[m.s   ]", 452, 274, "-1"),
    plain_text("S =", 562, 275), unit_label("[m]", 628, 274),
    plain_text("t = ", 684, 275), unit_label("[s]", 748, 274),
};
// clang-format on

// clang-format off
constexpr std::array kHelpButtons{
    adhesion_help_button({88, 152}),
    ees_note_help_button({296, 106}),
};
// clang-format on

constexpr auto kLabels = joined(event_captions(kEvents), phase_row_captions({8, 131}),
                                phase_notes({464, 206}, {632, 206}), stopping_speed_text({16, 254}), kPageLabels);
constexpr auto kPictures = event_pictures(kEvents);

constexpr PageLayout kLayout{kGroupBoxes, kLabels, kPictures, kFields, kHelpButtons, {288, 320, 313, 25}};

void calculate(Port& page) {
    // Read and check every input; a substitute is used for the calculation only, the field
    // keeps what the user typed.
    const double V = read_number(page, I1);
    const double s1 = read_checked(page, I2, kDistanceCheck);
    const double mu1 = read_checked(page, I3, kAdhesionCheck);
    const double EES = read_checked(page, I4, kEesCheck);
    const double s2 = read_checked(page, I5, kDistanceCheck);
    const double mu2 = read_checked(page, I6, kAdhesionCheck);
    const double tn = read_checked(page, I7, kTimeCheck);
    const double tr = read_checked(page, I8, kTimeCheck);

    // Braking after the collision.
    const double a1 = store(deceleration(mu1));
    write_rounded(page, R1, a1, 3);
    const double va = store(speed_after_collision(V, a1, s1));
    write_number(page, R2, kilometres_per_hour_rounded(va, 3));
    const double t1 = store((Extended{va} - metres_per_second(V)) / a1);
    write_rounded(page, R3, t1, 3);

    // The collision, then braking before it back to the start of the skid mark.
    const double vb = store(speed_before_collision(va, EES));
    write_number(page, R4, kilometres_per_hour_rounded(vb, 3));
    const double a2 = store(deceleration(mu2));
    write_rounded(page, R5, a2, 3);
    const double vs = store(skid_start_speed(vb, a2, s2));
    write_number(page, R6, kilometres_per_hour_rounded(vs, 3));

    // GEV: the speed change in the collision over its EES, only for a positive EES.
    if (EES > 0) {
        write_number(page, R7, store((Extended{vb} - va) / metres_per_second(EES)));
    } else {
        clear_field(page, R7);
    }

    // Braking time before the collision.
    const double t2 = store((Extended{vs} - vb) / a2);
    write_rounded(page, R8, t2, 3);

    // Speed at the pedal press, which is also the speed at the start of the reaction.
    const double vp = store(pedal_press_speed(a2, tn, vs));
    write_pedal_press_speed(page, vp, {R9, R10, R11, R12});

    // Build-up and reaction distances; place and time of the start of the reaction.
    const double sn = store(Extended{vp} * tn - Extended{tn} * tn * (Extended{a2} / 2.0 * 0.5));
    write_rounded(page, R13, sn, 3);
    const double sr = store(Extended{vp} * tr);
    write_rounded(page, R14, sr, 3);
    const double S = store(Extended{s2} + sn + sr);
    write_rounded(page, R15, S, 3);
    const double T = store(Extended{t2} + tn + tr);
    write_rounded(page, R16, T, 3);

    // The highest speed at the start of the reaction that still stops before the collision
    // point; the km/h value is formed from the rounded m/s value.
    write_stopping_speed(page, tn, tr, a2, S, R17, R18);
}

// Run-out 20 km/h over 8 m on μ 0.7, EES 15 km/h, a 20 m skid mark on μ 0.8, build-up 0.2 s and
// reaction 1 s.
// clang-format off
constexpr std::array kWorkedExample{
    FieldText{I1, "20"}, FieldText{I2, "8"},   FieldText{I3, "0,7"}, FieldText{I4, "15"},
    FieldText{I5, "20"}, FieldText{I6, "0,8"}, FieldText{I7, "0,2"}, FieldText{I8, "1"},
};
// clang-format on

// The path–time diagram: reaction, build-up and the skid mark up to the collision.
constexpr auto kDiagramPhases = braking_diagram_phases({I8, I7, R14, R13, R11, R6, R16, R15});
constexpr std::array kDiagramCurves{page::DiagramCurve{{}, kDiagramPhases}};
constexpr std::array kDiagramObstacles{page::DiagramObstacle{R15, page::kCollisionPlace}};
constexpr page::PathTimeDiagramFields kDiagram{kDiagramCurves, kDiagramObstacles};

constexpr PageDefinition kPage{"kinematika", kLayout, calculate, kWorkedExample, &kDiagram};

}  // namespace

const PageDefinition& braking_page() { return kPage; }

}  // namespace vorlanex::kinematics
