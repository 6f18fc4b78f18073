#pragma once
// The event timeline of the braking pages: one 32 × 32 icon per event of the accident.
#include <array>

#include "page/layout.h"

namespace vorlanex::kinematics {

struct Point {
    int left = 0;
    int top = 0;
};

// The five event icons at their places on a page: the end of the run-out (stop sign), the
// collision, the start of the skid mark, the brake-pedal press and the start of the reaction.
constexpr std::array<page::PicturePlacement, 5> event_timeline(Point run_out_end, Point collision, Point skid_start,
                                                               Point pedal_press, Point reaction_start) {
    using page::Picture;
    return {{
        {Picture::StopSign, run_out_end.left, run_out_end.top},
        {Picture::Collision, collision.left, collision.top},
        {Picture::Skid, skid_start.left, skid_start.top},
        {Picture::BrakePedal, pedal_press.left, pedal_press.top},
        {Picture::Warning, reaction_start.left, reaction_start.top},
    }};
}

}  // namespace vorlanex::kinematics
