#include "kinematics/braking_bounds_page.h"

#include <algorithm>
#include <array>
#include <initializer_list>

#include "kinematics/braking_diagram.h"
#include "kinematics/braking_fields.h"
#include "kinematics/braking_layout.h"
#include "kinematics/braking_model.h"

namespace vorlanex::kinematics {

namespace {

using namespace page;
using numeric::Extended;
using numeric::store;

// A lower and an upper field.
struct Pair {
    std::string_view lower;
    std::string_view upper;
};

// Input pairs, in the order they are read.
constexpr Pair J1{"J1.lo", "J1.hi"}, J2{"J2.lo", "J2.hi"}, J3{"J3.lo", "J3.hi"}, J4{"J4.lo", "J4.hi"},
    J5{"J5.lo", "J5.hi"}, J6{"J6.lo", "J6.hi"}, J7{"J7.lo", "J7.hi"}, J8{"J8.lo", "J8.hi"};
// Result pairs.
constexpr Pair Q1{"Q1.lo", "Q1.hi"}, Q2{"Q2.lo", "Q2.hi"}, Q3{"Q3.lo", "Q3.hi"}, Q4{"Q4.lo", "Q4.hi"},
    Q5{"Q5.lo", "Q5.hi"}, Q6{"Q6.lo", "Q6.hi"}, Q7{"Q7.lo", "Q7.hi"}, Q8{"Q8.lo", "Q8.hi"}, Q9{"Q9.lo", "Q9.hi"},
    Q10{"Q10.lo", "Q10.hi"}, Q11{"Q11.lo", "Q11.hi"}, Q12{"Q12.lo", "Q12.hi"}, Q13{"Q13.lo", "Q13.hi"},
    Q14{"Q14.lo", "Q14.hi"}, Q15{"Q15.lo", "Q15.hi"}, Q16{"Q16.lo", "Q16.hi"}, Q17{"Q17.lo", "Q17.hi"},
    Q18{"Q18.lo", "Q18.hi"};

constexpr Rect narrow_field_at(int left, int top) { return {left, top, 33, 21}; }

// clang-format off
constexpr std::array kFields{
    input_field(J1.lower, field_at(64, 64), "Výběhová rychlost, dolní mez [km/h]", "km/h", "0"),
    input_field(J1.upper, narrow_field_at(72, 88), "Výběhová rychlost, horní mez [km/h]", "km/h", "0"),
    input_field(J2.lower, field_at(120, 128), "Brzdná dráha po střetu, dolní mez [m]", "m"),
    input_field(J2.upper, narrow_field_at(176, 128), "Brzdná dráha po střetu, horní mez [m]", "m"),
    input_field(J3.lower, field_at(120, 152), "Součinitel adheze po střetu, dolní mez [1]", "1", "0,7"),
    input_field(J3.upper, narrow_field_at(176, 152), "Součinitel adheze po střetu, horní mez [1]", "1", "0,9"),
    input_field(J4.lower, field_at(248, 104), "EES, dolní mez [km/h]", "km/h"),
    input_field(J4.upper, narrow_field_at(272, 128), "EES, horní mez [km/h]", "km/h"),
    input_field(J5.lower, field_at(328, 128), "Brzdná dráha před střetem, dolní mez [m]", "m"),
    input_field(J5.upper, narrow_field_at(384, 128), "Brzdná dráha před střetem, horní mez [m]", "m"),
    input_field(J6.lower, field_at(328, 152), "Součinitel adheze před střetem, dolní mez [1]", "1"),
    input_field(J6.upper, narrow_field_at(384, 152), "Součinitel adheze před střetem, horní mez [1]", "1"),
    input_field(J7.lower, field_at(488, 176), "Doba náběhu brzd, dolní mez [s]", "s"),
    input_field(J7.upper, narrow_field_at(544, 176), "Doba náběhu brzd, horní mez [s]", "s"),
    input_field(J8.lower, field_at(648, 176), "Reakční doba řidiče, dolní mez [s]", "s"),
    input_field(J8.upper, narrow_field_at(704, 176), "Reakční doba řidiče, horní mez [s]", "s"),

    result_field(Q1.lower, {120, 200, 41, 19}, "Zpomalení po střetu, dolní mez [m/s²]", "m/s²", kBorderless),
    result_field(Q1.upper, {176, 200, 33, 19}, "Zpomalení po střetu, horní mez [m/s²]", "m/s²", kBorderless),
    result_field(Q2.lower, field_at(192, 56), "Rychlost po střetu, dolní mez [km/h]", "km/h"),
    result_field(Q2.upper, field_at(216, 80), "Rychlost po střetu, horní mez [km/h]", "km/h"),
    result_field(Q3.lower, field_at(120, 176), "Doba brzdění po střetu, dolní mez [s]", "s"),
    result_field(Q3.upper, narrow_field_at(176, 176), "Doba brzdění po střetu, horní mez [s]", "s"),
    result_field(Q4.lower, field_at(280, 56), "Rychlost před střetem, dolní mez [km/h]", "km/h"),
    result_field(Q4.upper, field_at(304, 80), "Rychlost před střetem, horní mez [km/h]", "km/h"),
    result_field(Q5.lower, {328, 200, 41, 19}, "Zpomalení před střetem, dolní mez [m/s²]", "m/s²", kBorderless),
    result_field(Q5.upper, {384, 200, 33, 19}, "Zpomalení před střetem, horní mez [m/s²]", "m/s²", kBorderless),
    result_field(Q6.lower, field_at(416, 64), "Rychlost na začátku blokovací stopy, dolní mez [km/h]", "km/h"),
    result_field(Q6.upper, field_at(440, 88), "Rychlost na začátku blokovací stopy, horní mez [km/h]", "km/h"),
    result_field(Q7.lower, {240, 216, 33, 19}, "GEV, dolní mez [1]", "1", kBorderless),
    result_field(Q7.upper, {288, 216, 33, 19}, "GEV, horní mez [1]", "1", kBorderless),
    result_field(Q8.lower, field_at(328, 176), "Doba brzdění před střetem, dolní mez [s]", "s"),
    result_field(Q8.upper, narrow_field_at(384, 176), "Doba brzdění před střetem, horní mez [s]", "s"),
    result_field(Q9.lower, field_at(576, 64), "Rychlost při sešlápnutí pedálu brzdy, dolní mez [km/h]", "km/h"),
    result_field(Q9.upper, field_at(600, 88), "Rychlost při sešlápnutí pedálu brzdy, horní mez [km/h]", "km/h"),
    result_field(Q10.lower, {736, 64, 49, 21}, "Rychlost na začátku reakce, na 2 desetinná místa, dolní mez [km/h]",
                 "km/h", kBoldText),
    result_field(Q10.upper, field_at(752, 88), "Rychlost na začátku reakce, na 2 desetinná místa, horní mez [km/h]",
                 "km/h"),
    result_field(Q11.lower, field_at(328, 296), "Rychlost na začátku reakce řidiče, dolní mez [m/s]", "m/s"),
    result_field(Q11.upper, field_at(384, 296), "Rychlost na začátku reakce řidiče, horní mez [m/s]", "m/s"),
    result_field(Q12.lower, field_at(328, 272),
                 "Rychlost na začátku reakce řidiče, na 3 desetinná místa, dolní mez [km/h]", "km/h"),
    result_field(Q12.upper, field_at(384, 272),
                 "Rychlost na začátku reakce řidiče, na 3 desetinná místa, horní mez [km/h]", "km/h"),
    result_field(Q13.lower, field_at(488, 128), "Dráha náběhu brzd, dolní mez [m]", "m"),
    result_field(Q13.upper, narrow_field_at(544, 128), "Dráha náběhu brzd, horní mez [m]", "m"),
    result_field(Q14.lower, field_at(648, 128), "Reakční dráha, dolní mez [m]", "m"),
    result_field(Q14.upper, narrow_field_at(704, 128), "Reakční dráha, horní mez [m]", "m"),
    result_field(Q15.lower, field_at(584, 272), "Vzdálenost začátku reakce od místa střetu, dolní mez [m]", "m"),
    result_field(Q15.upper, field_at(640, 272), "Vzdálenost začátku reakce od místa střetu, horní mez [m]", "m"),
    result_field(Q16.lower, field_at(584, 296), "Čas začátku reakce před střetem, dolní mez [s]", "s"),
    result_field(Q16.upper, field_at(640, 296), "Čas začátku reakce před střetem, horní mez [s]", "s"),
    result_field(Q17.lower, field_at(72, 328), "Rychlost pro zastavení před místem střetu, dolní mez [m/s]", "m/s"),
    result_field(Q17.upper, field_at(128, 328), "Rychlost pro zastavení před místem střetu, horní mez [m/s]", "m/s"),
    result_field(Q18.lower, field_at(72, 304), "Rychlost pro zastavení před místem střetu, dolní mez [km/h]", "km/h"),
    result_field(Q18.upper, field_at(128, 304), "Rychlost pro zastavení před místem střetu, horní mez [km/h]",
                 "km/h"),
};
// clang-format on

// clang-format off
constexpr std::array kGroupBoxes{
    GroupBox{" brzdění po střetu  ", {112, 110, 104, 114}},
    // Its left edge clears the upper GEV field (288 to 320) below the collision column.
    GroupBox{" brzdění vozidla  ", {323, 110, 101, 114}},
    GroupBox{" náběh brzd.  ", {480, 110, 104, 92}},
    GroupBox{" reakční doba ", {640, 110, 104, 92}},
    GroupBox{" Rychlost pro zastavení ", {8, 236, 264, 124}},
    GroupBox{" Rychlost vozidla, místo a čas začátku reakce řidiče od místa střetu   ", {280, 250, 504, 74}},
};
// clang-format on

// " ÷   " between the two fields of a pair: left of an upper field that stands below and right of
// its lower field; or, for two fields side by side, its ink centred in the gap from the right edge
// of the lower field to the left edge of the upper one.
constexpr std::string_view kBetween = " ÷   ";
constexpr Label between(int left, int top) { return bold_text(kBetween, left, top); }
constexpr Label between_side_by_side(int right_of_lower, int left_of_upper, int top) {
    return ink_centred_between(kBetween, right_of_lower, left_of_upper, top);
}

// The timeline reads from right (earliest) to left (latest).
constexpr auto kEvents = braking_timeline({68, 32}, {248, 24}, {432, 32}, {592, 32}, {752, 32});

// clang-format off
constexpr std::array kPageLabels{
    // The speed row: each upper field below and right of its lower field.
    bold_text(" V", 8, 75), unit_label("[km.h   ]", 110, 74, "-1"),
    between(52, 91), between(196, 83), between(284, 83), between(420, 91), between(580, 91), between(732, 91),
    // Pairs side by side in the phase boxes.
    between_side_by_side(161, 176, 131), between_side_by_side(161, 176, 155),
    between_side_by_side(161, 176, 179), between_side_by_side(161, 176, 202),
    between_side_by_side(369, 384, 131), between_side_by_side(369, 384, 155),
    between_side_by_side(369, 384, 179), between_side_by_side(369, 384, 202),
    between_side_by_side(529, 544, 131), between_side_by_side(529, 544, 179),
    between_side_by_side(689, 704, 131), between_side_by_side(689, 704, 179),
    // EES under the collision, and the GEV pair under it.
    bold_text(" EES", 216, 107), between(252, 131),
    plain_text("GEV", 272, 202), between_side_by_side(273, 288, 218),
    // Marks of the time inputs of the build-up and reaction boxes.
    bold_text("t", 490, 158), plain_text("n", 496, 164),
    bold_text("t", 650, 158), plain_text("r", 656, 164),
    // Stopping-speed box.
    plain_text("V =", 48, 307), between_side_by_side(113, 128, 307), unit_label("[km.h   ]", 174, 306, "-1"),
    plain_text("v =", 48, 331), between_side_by_side(113, 128, 331), unit_label("[m.s    ]", 174, 330, "-1"),
    // Reaction-start box.
    plain_text(" V =", 300, 275), between_side_by_side(369, 384, 275), unit_label("[km.h   ]", 430, 274, "-1"),
    plain_text("S =", 562, 275), between_side_by_side(625, 640, 275), unit_label("[m]", 686, 274),
    plain_text(" v =", 300, 299), between_side_by_side(369, 384, 299), unit_label("[m.s   ]", 430, 298, "-1"),
    plain_text("t = ", 562, 299), between_side_by_side(625, 640, 299), unit_label("[s]", 686, 298),
};
// clang-format on

// clang-format off
constexpr std::array kHelpButtons{
    adhesion_help_button({88, 152}),
    ees_note_help_button({296, 106}),
};
// clang-format on

constexpr auto kLabels = joined(event_captions(kEvents), phase_row_captions({8, 131}),
                                phase_notes({472, 206}, {640, 206}), stopping_speed_text({16, 254}), kPageLabels);
constexpr auto kPictures = event_pictures(kEvents);

constexpr PageLayout kLayout{kGroupBoxes, kLabels, kPictures, kFields, kHelpButtons, {328, 336, 313, 25}};

struct Bounds {
    double lower;
    double upper;
};

// Reads a pair, lower then upper, each checked (a substitute is shown in its field); a pair given
// the wrong way round is exchanged in the fields, and the upper value read again from its field.
Bounds read_pair(Port& page, Pair fields, const InputCheck& check) {
    double lower = read_checked(page, fields.lower, check, SubstituteShown::InField);
    double upper = read_checked(page, fields.upper, check, SubstituteShown::InField);
    if (lower > upper) {
        write_number(page, fields.upper, lower);
        write_number(page, fields.lower, upper);
        lower = upper;
        upper = read_number(page, fields.upper);
    }
    return {lower, upper};
}

// The smallest and the largest of values computed and stored in the order given.
Bounds extremes(std::initializer_list<double> values) {
    const auto [smallest, largest] = std::minmax_element(values.begin(), values.end());
    return {*smallest, *largest};
}

// G(e, v): the GEV for an EES e > 0 and a speed after the collision v, from v and e directly.
double gev(double EES, double va) { return store((speed_before_collision(va, EES) - va) / metres_per_second(EES)); }

void write_pair_rounded(Port& page, Pair fields, Bounds values, int places) {
    write_rounded(page, fields.lower, values.lower, places);
    write_rounded(page, fields.upper, values.upper, places);
}

void write_pair_in_kilometres_per_hour(Port& page, Pair fields, Bounds metres_per_second) {
    write_number(page, fields.lower, kilometres_per_hour_rounded(metres_per_second.lower, 3));
    write_number(page, fields.upper, kilometres_per_hour_rounded(metres_per_second.upper, 3));
}

void calculate(Port& page) {
    // Every pair in order, substitutes and exchanges shown in the input fields.
    const Bounds V = read_pair(page, J1, kRunOutSpeedCheck);
    const Bounds s1 = read_pair(page, J2, kDistanceCheck);
    const Bounds mu1 = read_pair(page, J3, kAdhesionCheck);
    const Bounds EES = read_pair(page, J4, kEesCheck);
    const Bounds s2 = read_pair(page, J5, kDistanceCheck);
    const Bounds mu2 = read_pair(page, J6, kAdhesionCheck);
    const Bounds tn = read_pair(page, J7, kTimeCheck);
    const Bounds tr = read_pair(page, J8, kTimeCheck);

    // Braking after the collision: decelerations and speeds from all-lower and all-upper inputs,
    // the braking time as the extremes over every combination.
    const Bounds a1{store(deceleration(mu1.lower)), store(deceleration(mu1.upper))};
    write_pair_rounded(page, Q1, a1, 3);
    const Bounds va{store(speed_after_collision(V.lower, a1.lower, s1.lower)),
                    store(speed_after_collision(V.upper, a1.upper, s1.upper))};
    write_pair_in_kilometres_per_hour(page, Q2, va);
    const Bounds t1 = extremes({
        store(braking_time_after_collision(V.upper, a1.upper, s1.upper)),
        store(braking_time_after_collision(V.upper, a1.upper, s1.lower)),
        store(braking_time_after_collision(V.upper, a1.lower, s1.upper)),
        store(braking_time_after_collision(V.upper, a1.lower, s1.lower)),
        store(braking_time_after_collision(V.lower, a1.upper, s1.upper)),
        store(braking_time_after_collision(V.lower, a1.upper, s1.lower)),
        store(braking_time_after_collision(V.lower, a1.lower, s1.upper)),
        store(braking_time_after_collision(V.lower, a1.lower, s1.lower)),
    });
    write_rounded(page, Q3.upper, t1.upper, 3);
    write_rounded(page, Q3.lower, t1.lower, 3);

    // The collision (both speeds before it are computed before either is shown), then braking
    // before it back to the start of the skid mark.
    const Bounds vb{store(speed_before_collision(va.lower, EES.lower)),
                    store(speed_before_collision(va.upper, EES.upper))};
    write_pair_in_kilometres_per_hour(page, Q4, vb);
    const Bounds a2{store(deceleration(mu2.lower)), store(deceleration(mu2.upper))};
    write_pair_rounded(page, Q5, a2, 3);
    const Bounds vs{store(skid_start_speed(vb.lower, a2.lower, s2.lower)),
                    store(skid_start_speed(vb.upper, a2.upper, s2.upper))};
    write_pair_in_kilometres_per_hour(page, Q6, vs);

    // GEV over the combinations of positive EES bounds and both speeds after the collision; a
    // field without a positive EES bound is emptied.
    if (EES.lower > 0) {
        const Bounds G = extremes(
            {gev(EES.lower, va.lower), gev(EES.lower, va.upper), gev(EES.upper, va.upper), gev(EES.upper, va.lower)});
        write_rounded(page, Q7.lower, G.lower, 3);
        write_rounded(page, Q7.upper, G.upper, 3);
    } else {
        clear_field(page, Q7.lower);
        if (EES.upper > 0) {
            const Bounds G = extremes({gev(EES.upper, va.upper), gev(EES.upper, va.lower)});
            write_rounded(page, Q7.upper, G.upper, 3);
            write_rounded(page, Q7.lower, G.lower, 3);
        } else {
            clear_field(page, Q7.upper);
        }
    }

    const Bounds t2 = extremes({
        store(braking_time_before_collision(vb.upper, a2.upper, s2.upper)),
        store(braking_time_before_collision(vb.lower, a2.upper, s2.upper)),
        store(braking_time_before_collision(vb.upper, a2.lower, s2.upper)),
        store(braking_time_before_collision(vb.lower, a2.lower, s2.upper)),
        store(braking_time_before_collision(vb.upper, a2.lower, s2.lower)),
        store(braking_time_before_collision(vb.lower, a2.lower, s2.lower)),
        store(braking_time_before_collision(vb.upper, a2.upper, s2.lower)),
        store(braking_time_before_collision(vb.lower, a2.upper, s2.lower)),
    });
    write_pair_rounded(page, Q8, t2, 3);

    // Speed at the pedal press, which is also the speed at the start of the reaction.
    const double vp_lower = store(pedal_press_speed(a2.lower, tn.lower, vs.lower));
    write_pedal_press_speed(page, vp_lower, {Q9.lower, Q10.lower, Q11.lower, Q12.lower});
    const double vp_upper = store(pedal_press_speed(a2.upper, tn.upper, vs.upper));
    write_pedal_press_speed(page, vp_upper, {Q9.upper, Q10.upper, Q11.upper, Q12.upper});

    // Build-up distance: the mean of the speeds at the pedal press and at the start of the skid
    // mark times the build-up time, over the combinations with both build-up times.
    const Bounds sn = extremes({
        store((Extended{vp_lower} + vs.lower) * tn.lower / 2.0),
        store((Extended{vp_lower} + vs.lower) * tn.upper / 2.0),
        store((Extended{vp_upper} + vs.upper) * tn.lower / 2.0),
        store((Extended{vp_upper} + vs.upper) * tn.upper / 2.0),
    });

    // Lower reaction distance, place and time of the start of the reaction...
    write_rounded(page, Q13.lower, sn.lower, 3);
    const double sr_lower = store(Extended{vp_lower} * tr.lower);
    write_rounded(page, Q14.lower, sr_lower, 3);
    const double S_lower = store(Extended{s2.lower} + sn.lower + sr_lower);
    write_rounded(page, Q15.lower, S_lower, 3);
    const double T_lower = store(Extended{t2.lower} + tn.lower + tr.lower);
    write_rounded(page, Q16.lower, T_lower, 3);

    // ...then the upper ones.
    write_rounded(page, Q13.upper, sn.upper, 3);
    const double sr_upper = store(Extended{vp_upper} * tr.upper);
    write_rounded(page, Q14.upper, sr_upper, 3);
    const double S_upper = store(Extended{s2.upper} + sn.upper + sr_upper);
    write_rounded(page, Q15.upper, S_upper, 3);
    const double T_upper = store(Extended{t2.upper} + tn.upper + tr.upper);
    write_rounded(page, Q16.upper, T_upper, 3);

    // Stopping speeds for the lower and the upper reaction-start distance.
    write_stopping_speed(page, tn.lower, tr.lower, a2.lower, S_lower, Q17.lower, Q18.lower);
    write_stopping_speed(page, tn.upper, tr.upper, a2.upper, S_upper, Q17.upper, Q18.upper);
}

// The braking example with a range for every input.
// clang-format off
constexpr std::array kWorkedExample{
    FieldText{J1.lower, "20"},  FieldText{J1.upper, "25"},  FieldText{J2.lower, "8"},   FieldText{J2.upper, "10"},
    FieldText{J3.lower, "0,7"}, FieldText{J3.upper, "0,9"}, FieldText{J4.lower, "15"},  FieldText{J4.upper, "20"},
    FieldText{J5.lower, "20"},  FieldText{J5.upper, "22"},  FieldText{J6.lower, "0,8"}, FieldText{J6.upper, "0,9"},
    FieldText{J7.lower, "0,2"}, FieldText{J7.upper, "0,3"}, FieldText{J8.lower, "1"},   FieldText{J8.upper, "1,2"},
};
// clang-format on

// The path–time diagram: the braking reconstruction of the lower and of the upper values, drawn as
// a band, with both places of the collision.
constexpr auto kLowerDiagramPhases =
    braking_diagram_phases({J8.lower, J7.lower, Q14.lower, Q13.lower, Q11.lower, Q6.lower, Q16.lower, Q15.lower});
constexpr auto kUpperDiagramPhases =
    braking_diagram_phases({J8.upper, J7.upper, Q14.upper, Q13.upper, Q11.upper, Q6.upper, Q16.upper, Q15.upper});
constexpr std::array kDiagramCurves{page::DiagramCurve{"dolní mez", kLowerDiagramPhases},
                                    page::DiagramCurve{"horní mez", kUpperDiagramPhases}};
constexpr std::array kDiagramObstacles{page::DiagramObstacle{Q15.lower, "místo střetu (dolní mez)"},
                                       page::DiagramObstacle{Q15.upper, "místo střetu (horní mez)"}};
constexpr page::PathTimeDiagramFields kDiagram{kDiagramCurves, kDiagramObstacles};

constexpr PageDefinition kPage{"kinematika-meze", kLayout, calculate, kWorkedExample, &kDiagram};

}  // namespace

const PageDefinition& braking_bounds_page() { return kPage; }

}  // namespace vorlanex::kinematics
