#pragma once
// The furniture both braking pages share: the event timeline (one 32 × 32 icon per event of the
// accident with its bold caption above it), the row captions of the left margin, and the texts
// that explain the phases and the stopping speed.
#include <algorithm>
#include <array>

#include "page/layout.h"

namespace vorlanex::kinematics {

struct Point {
    int left = 0;
    int top = 0;
};

// Where the icons of the five events stand: the end of the run-out (stop sign), the collision, the
// start of the skid mark, the brake-pedal press and the start of the reaction.
struct EventTimeline {
    Point run_out_end;
    Point collision;
    Point skid_start;
    Point pedal_press;
    Point reaction_start;
};

constexpr std::array<page::PicturePlacement, 5> event_pictures(const EventTimeline& events) {
    using page::Picture;
    return {{
        {Picture::StopSign, events.run_out_end.left, events.run_out_end.top},
        {Picture::Collision, events.collision.left, events.collision.top},
        {Picture::Skid, events.skid_start.left, events.skid_start.top},
        {Picture::BrakePedal, events.pedal_press.left, events.pedal_press.top},
        {Picture::Warning, events.reaction_start.left, events.reaction_start.top},
    }};
}

// The captions, centred over their icons, the last line just above the icon.
constexpr std::array<page::Label, 9> event_captions(const EventTimeline& events) {
    constexpr int kWidth = 100, kLineHeight = 14, kGapAboveIcon = 18;
    const auto line = [](std::string_view text, Point icon, int line_from_last) {
        return page::centred_bold_text(text, icon.left + 16 - kWidth / 2,
                                       icon.top - kGapAboveIcon - line_from_last * kLineHeight, kWidth);
    };
    return {{
        line("Výběhová ", events.run_out_end, 1), line("rychlost", events.run_out_end, 0),
        line("STŘET", events.collision, 0),
        line("Začátek blokovací", events.skid_start, 1), line("stopy", events.skid_start, 0),
        line("Sešlápnutí pedálu", events.pedal_press, 1), line("brzdy", events.pedal_press, 0),
        line("Začátek", events.reaction_start, 1), line("reakce", events.reaction_start, 0),
    }};
}

// The row captions of the left margin below the speed row, each with its unit.
inline constexpr std::array<page::Label, 8> kPhaseRowCaptions{
    page::bold_text(" S", 8, 131), page::unit_label("[m]", 40, 130),
    page::bold_text(" mí", 8, 155), page::unit_label("[1]", 40, 154),
    page::bold_text(" t", 8, 179), page::unit_label("[s]", 40, 178),
    page::bold_text(" a", 8, 203), page::unit_label("[m.s    ]", 40, 202, "-2"),
};

// The "?" buttons both braking pages have at the same places: the adhesion table in the " mí" row,
// the EES note right of the (lower) EES field.
inline constexpr page::HelpButton kAdhesionHelpButton{page::HelpText::AdhesionTable, {88, 152, 17, 17},
                                                      "Nápověda: součinitele adheze"};
inline constexpr page::HelpButton kEesNoteHelpButton{page::HelpText::EesNote, {296, 106, 17, 17},
                                                     "Nápověda: poznámka k EES"};

// The texts under the build-up box and under the reaction box.
constexpr std::array<page::Label, 3> phase_notes(Point under_build_up, Point under_reaction) {
    return {{
        page::plain_text("Doba náběhu brzdného účinku", under_build_up.left, under_build_up.top),
        page::plain_text("Reakční doba řidiče", under_reaction.left, under_reaction.top),
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

// One array of several, in order, for a page's table of labels.
template <typename T, std::size_t... Sizes>
constexpr std::array<T, (Sizes + ...)> joined(const std::array<T, Sizes>&... parts) {
    std::array<T, (Sizes + ...)> all{};
    auto next = all.begin();
    ((next = std::copy(parts.begin(), parts.end(), next)), ...);
    return all;
}

}  // namespace vorlanex::kinematics
