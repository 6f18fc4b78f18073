#include "kinematics/stopping_distance_page.h"

#include <array>
#include <span>
#include <string>
#include <string_view>

#include "kinematics/braking_layout.h"
#include "kinematics/braking_model.h"
#include "numeric/round_to_places.h"
#include "page/substitute.h"

namespace vorlanex::kinematics {

namespace {

using namespace page;
using numeric::Extended;
using numeric::metres_per_second_rounded;
using numeric::round_to_places;
using numeric::store;

// Inputs, in the order they are read.
constexpr std::string_view I1 = "I1", I2 = "I2", I3 = "I3", I4 = "I4", I5 = "I5";
// Results of the stopping run.
constexpr std::string_view R1 = "R1", R2 = "R2", R3 = "R3", R4 = "R4", R5 = "R5", R6 = "R6", R7 = "R7", R8 = "R8",
                           R9 = "R9", R10 = "R10", R11 = "R11", R12 = "R12", R13 = "R13";
// The collision report: three text lines, the collision speed in km/h and in m/s and the collision
// time, each with its unit field.
constexpr std::string_view C1 = "C1", C2 = "C2", C3 = "C3", C4 = "C4", C5 = "C5", C6 = "C6", C7 = "C7", C8 = "C8",
                           C9 = "C9";

// The report's fields read like text inside its box: no border, 19 pixels high.
constexpr FieldLook kReportLine = kBorderless;
constexpr FieldLook kRedReportLine = kBorderless.with_colour(TextColour::Red);
constexpr Rect report_line_at(int left, int top) { return {left, top, 137, 19}; }
constexpr Rect report_value_at(int left, int top) { return {left, top, 41, 19}; }

// clang-format off
constexpr std::array kFields{
    input_field(I1, field_at(152, 96), "Počáteční rychlost [km/h]", "km/h"),
    input_field(I2, field_at(152, 176), "Součinitel adheze [1]", "1", "0,8"),
    input_field(I3, field_at(232, 200), "Reakční doba řidiče [s]", "s"),
    input_field(I4, field_at(384, 200), "Doba náběhu brzdného účinku [s]", "s"),
    input_field(I5, field_at(712, 284), "Vzdálenost překážky od místa začátku reakce [m]", "m", "1000"),
    result_field(R1, field_at(312, 96), "Rychlost při sešlápnutí pedálu brzdy [km/h]", "km/h"),
    result_field(R2, field_at(152, 120), "Počáteční rychlost [m/s]", "m/s"),
    result_field(R3, field_at(312, 120), "Rychlost při sešlápnutí pedálu brzdy [m/s]", "m/s"),
    result_field(R4, field_at(232, 152), "Reakční dráha [m]", "m"),
    result_field(R5, field_at(384, 152), "Dráha náběhu brzdného účinku [m]", "m"),
    result_field(R6, field_at(384, 224), "Zpomalení při náběhu brzdného účinku [m/s²]", "m/s²"),
    result_field(R7, field_at(512, 224), "Zpomalení při brzdění [m/s²]", "m/s²"),
    result_field(R8, field_at(448, 120), "Rychlost na začátku blokovací stopy [m/s]", "m/s"),
    result_field(R9, field_at(448, 96), "Rychlost na začátku blokovací stopy [km/h]", "km/h"),
    result_field(R10, field_at(512, 152), "Brzdná dráha [m]", "m"),
    result_field(R11, {104, 312, 57, 21}, "Celková dráha na zastavení [m]", "m"),
    result_field(R12, field_at(512, 200), "Doba brzdění [s]", "s"),
    result_field(R13, {264, 312, 49, 21}, "Celkový čas na zastavení [s]", "s"),
    result_field(C1, report_line_at(640, 72), "Zpráva o střetu, 1. řádek [text]", "text", kReportLine),
    result_field(C2, report_line_at(640, 96), "Zpráva o střetu, 2. řádek [text]", "text", kRedReportLine),
    result_field(C3, report_value_at(680, 128), "Rychlost při střetu [km/h]", "km/h", kReportLine),
    result_field(C4, report_value_at(728, 128), "Jednotka rychlosti při střetu [km/h]", "km/h", kReportLine),
    result_field(C5, report_value_at(680, 152), "Rychlost při střetu [m/s]", "m/s", kReportLine),
    result_field(C6, report_value_at(728, 152), "Jednotka rychlosti při střetu [m/s]", "m/s", kReportLine),
    result_field(C7, report_line_at(640, 184), "Zpráva o střetu, 3. řádek [text]", "text", kRedReportLine),
    result_field(C8, report_value_at(680, 216), "Čas do střetu od začátku reakce [s]", "s", kReportLine),
    result_field(C9, report_value_at(728, 216), "Jednotka času do střetu [s]", "s", kReportLine),
};
// clang-format on

// clang-format off
constexpr std::array kGroupBoxes{
    GroupBox{" reakční doba  ", {208, 136, 84, 96}},
    GroupBox{" náběh b. úč. ", {356, 136, 84, 120}},
    GroupBox{" brzdění v.  ", {500, 136, 60, 120}},
    GroupBox{" STŘET ", {632, 16, 156, 232}},
    GroupBox{" Celková dráha a celkový čas nutný k zastavení vozidla   ", {8, 288, 392, 56}, kBoldFont},
    GroupBox{" Poloha překážky ", {520, 256, 268, 64}},
};
// clang-format on

// The timeline reads from left (earliest) to right (latest).
constexpr auto kEvents = stopping_timeline({156, 56}, {315, 56}, {448, 56}, {564, 64});

// clang-format off
constexpr std::array kPageLabels{
    bold_text("Dráha, potřebná na zastavení vozidla při počáteční rychlosti:", 8, 4),
    // The two speed rows: what they show, the km/h row's caption, and their units.
    plain_text("Počáteční ", 8, 93), plain_text("rychlost", 8, 107), plain_text("vozidla:", 8, 121),
    bold_text(" V", 60, 99), unit_label("[km.h   ]", 92, 98, "-1"), unit_label("[m.s   ]", 92, 122, "-1"),
    // Under the stop sign, in the speed row.
    bold_text(" V = 0", 560, 99),
    // Marks of the time inputs of the reaction and build-up boxes.
    bold_text("t", 216, 203), plain_text("r", 222, 209),
    bold_text("t", 368, 203), plain_text("n", 374, 209),
    // Totals box.
    plain_text("S =", 84, 315), unit_label("[m]", 164, 314),
    plain_text("t = ", 244, 315), unit_label("[s]", 316, 314),
    // Obstacle box.
    plain_text("Vzdálenost překážky od místa začátku ", 528, 272), plain_text("reakce řidiče vozidla :", 528, 288),
    unit_label("[m]", 756, 286),
};
// clang-format on

constexpr auto kLabels = joined(event_captions(kEvents), phase_row_captions({60, 155}),
                                phase_notes({356, 260}, {196, 236}, "Reakční doba řidiče "), kPageLabels);

// The collision icon stands in the collision report, without a caption.
constexpr auto kPictures = joined(event_pictures(kEvents), std::array{PicturePlacement{kCollisionPicture, 721, 32}});

constexpr std::array kHelpButtons{adhesion_help_button({120, 178})};

constexpr PageLayout kLayout{kGroupBoxes, kLabels, kPictures, kFields, kHelpButtons, {408, 336, 193, 25}};

// Warnings of the inputs, in the order they are read, and of a negative build-up distance.
constexpr std::string_view kNegativeSpeed = "Pozor, zadaná rychlost je záporná!";
constexpr std::string_view kWrongAdhesion = "Pozor, chybně zadán součinitel adheze!";
constexpr std::string_view kNegativeTime = "Pozor, čas nesmí být záporný!";
constexpr std::string_view kObstacleTooClose = "Pozor, překážka je příliš blízko!";
constexpr std::string_view kWrongBuildUpTime = "Pozor, chybně zadaná doba náběhu brzdného účinku !";
constexpr std::string_view kNotCalculatedRightly = "Výpočet není proveden správně !";

// The collision report's texts.
constexpr std::string_view kNoCollision = "Nedojde ke střetu ! ";
constexpr std::string_view kBlank = " ";
constexpr std::string_view kCollides = "Vozidlo se střetne";
constexpr std::string_view kWithObstacleAtSpeed = "s překážkou rychlostí:";
constexpr std::string_view kKilometresPerHourUnit = "[km/h]";
constexpr std::string_view kMetresPerSecondUnit = "[m/s]";
constexpr std::string_view kAfterTime = "za čas:";
constexpr std::string_view kSecondsUnit = "[s]";
constexpr std::string_view kCollisionWhileReacting = "Střet nastane při reakci řidiče !";
constexpr std::string_view kCollisionDuringBuildUp = "Střet nastane ve fázi náběhu brzdného účinku !";

// A value used instead of a rejected input, and the text written into the input for it ("," for
// the decimal separator).
// The substitutes are written as these literal texts (with the current decimal separator), so
// that the next run reads them again.
constexpr Substitute kSpeedSubstitute{10, "10"};
constexpr Substitute kAdhesionSubstitute{0.8, "0,8"};
constexpr Substitute kTimeSubstitute{1, "1"};
constexpr Substitute kObstacleSubstitute{50, "50"};

// w = V / 3.6 − a_n × tₙ: the speed at the start of full braking, never stored.
Extended full_braking_speed(double V, double an, double tn) { return metres_per_second(V) - Extended{an} * tn; }

// What the collision report needs of the run: the inputs and the values kept before it.
struct Motion {
    double V, tr, tn, d;
    double v0, sr, sn, an, a;
};

// A collision phase: how it forms the collision speed v_c [m/s] (stored), the collision speed
// shown in km/h, and the collision time t_c [s] from the start of the reaction (stored); the result
// fields it empties, in this order; the warning it ends with (none when empty).
struct CollisionPhase {
    double (*collision_speed)(const Motion&);
    double (*shown_kilometres_per_hour)(const Motion&, double vc);
    double (*collision_time)(const Motion&, double vc);
    std::span<const std::string_view> emptied;
    std::string_view warning;
};

constexpr std::array kEmptiedInFullBraking{R13, R11, R10, R12, R7};
constexpr std::array kEmptiedInBuildUp{R6, R5, R13, R11, R10, R12, R7, R9, R8};
constexpr std::array kEmptiedInReaction{R6, R5, R13, R11, R10, R12, R7, R9, R8, R1, R3};

// Full braking over the remaining distance x = d − s_r − s_n.
// clang-format off
constexpr CollisionPhase kFullBraking{
    [](const Motion& m) {
        const double x = store(Extended{m.d} - m.sr - m.sn);
        return store(speed_after_braking(full_braking_speed(m.V, m.an, m.tn), x, m.a));
    },
    [](const Motion&, double vc) { return kilometres_per_hour_rounded(vc, 3); },
    [](const Motion& m, double vc) { return store((full_braking_speed(m.V, m.an, m.tn) - vc) / m.a + m.tn + m.tr); },
    kEmptiedInFullBraking,
    {},
};
// clang-format on

// The build-up, a constant deceleration a_n over the remaining distance x = d − s_r.
// clang-format off
constexpr CollisionPhase kBuildUp{
    [](const Motion& m) {
        const double x = store(Extended{m.d} - m.sr);
        return store(speed_after_braking(metres_per_second(m.V), x, m.an));
    },
    [](const Motion&, double vc) { return kilometres_per_hour_rounded(vc, 3); },
    [](const Motion& m, double vc) { return store((metres_per_second(m.V) - vc) / m.an + m.tr); },
    kEmptiedInBuildUp,
    kCollisionDuringBuildUp,
};
// clang-format on

// The reaction, at the initial speed.
// clang-format off
constexpr CollisionPhase kReaction{
    [](const Motion& m) { return m.v0; },
    [](const Motion& m, double) { return round_to_places(m.V, 3); },
    [](const Motion& m, double) { return store((Extended{m.sr} - (Extended{m.sr} - m.d)) / m.v0); },
    kEmptiedInReaction,
    kCollisionWhileReacting,
};
// clang-format on

// The phase in which the vehicle reaches the obstacle, or none when it stops first (an obstacle
// exactly at S is not reached; one exactly at s_r is reached at the start of the build-up).
const CollisionPhase* collision_phase(double S, const Motion& m) {
    if (S <= m.d) return nullptr;
    if (m.d > Extended{m.sr} + m.sn) return &kFullBraking;
    if (m.d < m.sr) return &kReaction;
    return &kBuildUp;
}

constexpr std::array kBlankedWithoutCollision{C2, C7, C3, C4, C8, C9, C5, C6};

void write_no_collision(Port& page) {
    page.set_text(C1, kNoCollision);
    for (std::string_view id : kBlankedWithoutCollision) page.set_text(id, kBlank);
}

void write_collision(Port& page, const CollisionPhase& phase, const Motion& motion) {
    page.set_text(C1, kCollides);
    page.set_text(C2, kWithObstacleAtSpeed);
    const double vc = phase.collision_speed(motion);
    write_rounded(page, C5, vc, 3);
    write_number(page, C3, phase.shown_kilometres_per_hour(motion, vc));
    const double tc = phase.collision_time(motion, vc);
    write_rounded(page, C8, tc, 3);
    page.set_text(C4, kKilometresPerHourUnit);
    page.set_text(C6, kMetresPerSecondUnit);
    page.set_text(C7, kAfterTime);
    page.set_text(C9, kSecondsUnit);
    for (std::string_view id : phase.emptied) clear_field(page, id);
    if (!phase.warning.empty()) page.warning(phase.warning);
}

void calculate(Port& page) {
    // Each input is read and checked before the next one; a substitute is written into its field.
    double V = read_number(page, I1);
    if (!(V >= 0)) page.warning(kNegativeSpeed);
    if (!(V > 0)) V = substitute(page, I1, kSpeedSubstitute);
    write_number(page, R1, V);

    double mu = read_number(page, I2);
    if (!(mu >= 0)) page.warning(kWrongAdhesion);
    if (!(mu > 0)) mu = substitute(page, I2, kAdhesionSubstitute);

    double tr = read_number(page, I3);
    if (!(tr >= 0)) tr = warn_and_substitute(page, I3, kNegativeTime, kTimeSubstitute);

    double tn = read_number(page, I4);
    if (!(tn >= 0)) tn = warn_and_substitute(page, I4, kNegativeTime, kTimeSubstitute);

    double d = read_number(page, I5);
    if (!(d > 0)) d = warn_and_substitute(page, I5, kObstacleTooClose, kObstacleSubstitute);

    // Reaction and build-up: each value is rounded to 3 places as it is formed, and only the
    // rounded value is used afterwards.
    const double v0 = metres_per_second_rounded(V, 3);
    write_number(page, R2, v0);
    write_number(page, R3, v0);
    const double sr = round_to_places(metres_per_second(V) * tr, 3);
    write_number(page, R4, sr);
    const double sn =
        round_to_places(metres_per_second(V) * tn - Extended{tn} * (Extended{tn} * (deceleration(mu) * 0.5)) / 2.0, 3);
    if (!(sn >= 0)) {
        page.warning(kWrongBuildUpTime);
        page.warning(kNotCalculatedRightly);
    }
    write_number(page, R5, sn);
    const double an = round_to_places(Extended{mu} * 0.5 * kStandardGravity, 3);
    write_number(page, R6, an);
    const double a = round_to_places(deceleration(mu), 3);
    write_number(page, R7, a);
    const double v1 = round_to_places(full_braking_speed(V, an, tn), 3);
    write_number(page, R8, v1);
    write_number(page, R9, kilometres_per_hour_rounded(v1, 3));

    // Full braking to the stop and the totals, kept unrounded and shown at 3 places.
    const double sb = store(braking_distance_to_stop(full_braking_speed(V, an, tn), a));
    write_rounded(page, R10, sb, 3);
    const double S = store(Extended{sr} + sn + sb);
    write_rounded(page, R11, S, 3);
    const double tb = store(braking_time_to_stop(full_braking_speed(V, an, tn), a));
    write_rounded(page, R12, tb, 3);
    const double T = store(Extended{tn} + tr + tb);
    write_rounded(page, R13, T, 3);

    // The obstacle.
    const Motion motion{V, tr, tn, d, v0, sr, sn, an, a};
    if (const CollisionPhase* phase = collision_phase(S, motion)) {
        write_collision(page, *phase, motion);
    } else {
        write_no_collision(page);
    }
}

// 50 km/h on μ 0.8, reaction 1 s, build-up 0.2 s, the obstacle as it opens at 1000 m.
// clang-format off
constexpr std::array kWorkedExample{
    FieldText{I1, "50"}, FieldText{I2, "0,8"}, FieldText{I3, "1"}, FieldText{I4, "0,2"}, FieldText{I5, "1000"},
};
// clang-format on

// The path–time diagram: forwards to the stop, or to the obstacle when the vehicle reaches it.
// clang-format off
constexpr std::array kDiagramPhases{
    page::DiagramPhase{page::MotionPhase::Reaction, {}, page::step(I3), page::step(R4), page::kPedalPressEvent},
    page::DiagramPhase{page::MotionPhase::BuildUp, R3, page::step(I4), page::step(R5), page::kSkidStartEvent},
    page::DiagramPhase{page::MotionPhase::FullBraking, R8, page::at(R13), page::at(R11), page::kStopEvent,
                       page::EventMark::Stop},
};
// clang-format on
constexpr std::array kDiagramCurves{
    page::DiagramCurve{{}, kDiagramPhases, page::DiagramCollision{C8, I5, "střet s překážkou"}}};
constexpr std::array kDiagramObstacles{page::DiagramObstacle{I5, "překážka"}};
constexpr page::PathTimeDiagramFields kDiagram{kDiagramCurves, kDiagramObstacles};

constexpr PageDefinition kPage{"draha-zastaveni", kLayout, calculate, kWorkedExample, &kDiagram};

}  // namespace

const PageDefinition& stopping_distance_page() { return kPage; }

}  // namespace vorlanex::kinematics
