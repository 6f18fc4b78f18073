#pragma once
// The furniture the braking and stopping pages share: the event timeline (one 32 × 32 icon per
// event of the accident with its bold caption above it), the row captions of the left margin,
// the texts that explain the phases and the stopping speed, and the "?" buttons with the
// adhesion table and the note on EES.
#include <array>
#include <string_view>

#include "page/layout.h"

namespace vorlanex::kinematics {

struct Point {
    int left = 0;
    int top = 0;
};

// The icons the timelines use, by name.
inline constexpr std::string_view kStopSignPicture = "stop-sign";
inline constexpr std::string_view kCollisionPicture = "collision";
inline constexpr std::string_view kSkidPicture = "skid";
inline constexpr std::string_view kBrakePedalPicture = "brake-pedal";
inline constexpr std::string_view kWarningPicture = "warning";

// One event of the accident on a page's timeline: its icon, where the icon stands, and its bold
// caption of one or two lines over it (a one-line caption leaves `second_line` empty).
struct TimelineEvent {
    std::string_view picture;
    Point icon;
    std::string_view first_line;
    std::string_view second_line = {};
};

// The events' icons, in the order of the events.
template <std::size_t N>
constexpr std::array<page::PicturePlacement, N> event_pictures(const std::array<TimelineEvent, N>& events) {
    std::array<page::PicturePlacement, N> pictures{};
    for (std::size_t i = 0; i < N; ++i) pictures[i] = {events[i].picture, events[i].icon.left, events[i].icon.top};
    return pictures;
}

// The captions, centred over their icons, the last line just above the icon. A one-line caption
// gives one label; the unused second label is empty, and the window leaves empty labels out.
template <std::size_t N>
constexpr std::array<page::Label, 2 * N> event_captions(const std::array<TimelineEvent, N>& events) {
    constexpr int kWidth = 100, kLineHeight = 14, kGapAboveIcon = 18;
    const auto line = [](std::string_view text, Point icon, int line_from_last) {
        return page::centred_bold_text(text, icon.left + 16 - kWidth / 2,
                                       icon.top - kGapAboveIcon - line_from_last * kLineHeight, kWidth);
    };
    std::array<page::Label, 2 * N> captions{};
    for (std::size_t i = 0; i < N; ++i) {
        const TimelineEvent& event = events[i];
        if (event.second_line.empty()) {
            captions[2 * i] = line(event.first_line, event.icon, 0);
        } else {
            captions[2 * i] = line(event.first_line, event.icon, 1);
            captions[2 * i + 1] = line(event.second_line, event.icon, 0);
        }
    }
    return captions;
}

// The row captions of the left margin below the speed row, each with its unit; `anchor` is the
// top-left corner of the first caption, " S".
constexpr std::array<page::Label, 8> phase_row_captions(Point anchor) {
    const auto row = [anchor](int index) { return anchor.top + 24 * index; };
    const int unit_left = anchor.left + 32;
    return {{
        page::bold_text(" S", anchor.left, row(0)),
        page::unit_label("[m]", unit_left, row(0) - 1),
        page::bold_text(" mí", anchor.left, row(1)),
        page::unit_label("[1]", unit_left, row(1) - 1),
        page::bold_text(" t", anchor.left, row(2)),
        page::unit_label("[s]", unit_left, row(2) - 1),
        page::bold_text(" a", anchor.left, row(3)),
        page::unit_label("[m.s    ]", unit_left, row(3) - 1, "-2"),
    }};
}

// The table of adhesion coefficients of road surfaces; the runs of spaces line the columns up in
// the box.
// clang-format off
inline constexpr std::string_view kAdhesionTable =
    "Součinitele adheze na různých druzích povrchu\r"
    "(zdroj - Lomberk: Soudní inženýrství)\r"
    "\r"
    "beton suchý     0,8 - 1,0\r"
    "           mokrý    0,5 - 0,8\r"
    "asfalt suchý     0,6 - 0,9\r"
    "           mokrý    0,3 - 0,8\r"
    "dlažba suchá    0,6 - 0,9\r"
    "           mokrá    0,3 - 0,5\r"
    "makadam suchý   0,6 - 0,8\r"
    "           mokrý    0,3 - 0,5\r"
    "\r"
    "polní cesta suchá   0,4 - 0,6\r"
    "           mokrá         0,3 - 0,4\r"
    "tráva suchá           0,4 - 0,6\r"
    "           mokrá         0,2 - 0,5\r"
    "hluboký písek, sníh   0,2 - 0,4\r"
    "\r"
    "náledí    0 °C    0,05 - 0,10\r"
    "           -10 °C   0,08 - 0,15\r"
    "           -20 °C   0,15 - 0,20\r"
    "(zdroj - Vestanic: Teória pohybu a rázu 0,1 - 0,3)";
// clang-format on

// What the EES typed on a braking page stands for.
// clang-format off
inline constexpr std::string_view kEesNote =
    "Zadávaná hodnota EES reprezentuje ekvivalent energie, který způsobil zpomalení vozidla ve směru jeho pohybu\r"
    "(ve výpočtu není zohledněna rotace vozidla)";
// clang-format on

// The "?" button with the adhesion table, beside an adhesion coefficient field.
constexpr page::HelpButton adhesion_help_button(Point place) {
    return {kAdhesionTable, {place.left, place.top, 17, 17}, "Nápověda: součinitele adheze"};
}

// The "?" button with the note on EES, right of an EES field.
constexpr page::HelpButton ees_note_help_button(Point place) {
    return {kEesNote, {place.left, place.top, 17, 17}, "Nápověda: poznámka k EES"};
}

// The texts under the build-up box and under the reaction box; the stopping-distance page writes
// the reaction box's first line with a trailing space.
constexpr std::array<page::Label, 3> phase_notes(Point under_build_up, Point under_reaction,
                                                 std::string_view reaction_first_line = "Reakční doba řidiče") {
    return {{
        page::plain_text("Doba náběhu brzdného účinku", under_build_up.left, under_build_up.top),
        page::plain_text(reaction_first_line, under_reaction.left, under_reaction.top),
        page::plain_text("(zahrnuta i doba prodlevy brzd)", under_reaction.left, under_reaction.top + 14),
    }};
}

// What the stopping-speed box says its speed is, in three lines from its top-left corner.
constexpr std::array<page::Label, 3> stopping_speed_text(Point first_line) {
    return {{
        page::plain_text("Rychlost, kterou se může vozidlo pohybovat ", first_line.left, first_line.top),
        page::plain_text("v okamžíku začátku reakce řidiče, aby bylo  ", first_line.left, first_line.top + 14),
        page::plain_text("schopno zastavit před místem střetu.", first_line.left, first_line.top + 28),
    }};
}

// The events every timeline shows, with the icon at `icon`.
constexpr TimelineEvent reaction_start_event(Point icon) { return {kWarningPicture, icon, "Začátek", "reakce"}; }
constexpr TimelineEvent pedal_press_event(Point icon) {
    return {kBrakePedalPicture, icon, "Sešlápnutí pedálu", "brzdy"};
}
constexpr TimelineEvent skid_start_event(Point icon) { return {kSkidPicture, icon, "Začátek blokovací", "stopy"}; }

// The timeline of the two braking pages, read from right (earliest) to left (latest): the end of
// the run-out, the collision, the start of the skid mark, the pedal press, the start of the
// reaction, with the icons at these places.
constexpr std::array<TimelineEvent, 5> braking_timeline(Point run_out_end, Point collision, Point skid_start,
                                                        Point pedal_press, Point reaction_start) {
    return {{
        {kStopSignPicture, run_out_end, "Výběhová ", "rychlost"},
        {kCollisionPicture, collision, "STŘET"},
        skid_start_event(skid_start),
        pedal_press_event(pedal_press),
        reaction_start_event(reaction_start),
    }};
}

// The timeline of the stopping-distance page, read from left (earliest) to right (latest): the
// start of the reaction, the pedal press, the start of the skid mark, the stop. The collision with
// the obstacle has no place on it: its icon stands in the collision report.
constexpr std::array<TimelineEvent, 4> stopping_timeline(Point reaction_start, Point pedal_press, Point skid_start,
                                                         Point stop) {
    return {{
        reaction_start_event(reaction_start),
        pedal_press_event(pedal_press),
        skid_start_event(skid_start),
        {kStopSignPicture, stop, "Zastavení", "vozidla"},
    }};
}

}  // namespace vorlanex::kinematics
