#pragma once
// The path–time diagram of a braking reconstruction, as both braking pages declare it: reaction,
// build-up, then the skid mark up to the collision, which ends at the reaction-start time and
// distance the page shows.
#include <array>
#include <string_view>

#include "page/path_time_diagram.h"

namespace vorlanex::kinematics {

// The fields of one braking reconstruction (the page's values, or one bound's).
struct BrakingDiagramFields {
    std::string_view reaction_time;            // input, s
    std::string_view build_up_time;            // input, s
    std::string_view reaction_distance;        // m
    std::string_view build_up_distance;        // m
    std::string_view pedal_press_speed;        // m/s
    std::string_view skid_start_speed;         // km/h
    std::string_view reaction_start_time;      // s before the collision
    std::string_view reaction_start_distance;  // m before the collision
};

constexpr std::array<page::DiagramPhase, 3> braking_diagram_phases(const BrakingDiagramFields& fields) {
    using page::at;
    using page::step;
    return {
        page::DiagramPhase{page::MotionPhase::Reaction,
                           {},
                           step(fields.reaction_time),
                           step(fields.reaction_distance),
                           page::kPedalPressEvent},
        page::DiagramPhase{page::MotionPhase::BuildUp, fields.pedal_press_speed, step(fields.build_up_time),
                           step(fields.build_up_distance), page::kSkidStartEvent},
        page::DiagramPhase{page::MotionPhase::FullBraking, fields.skid_start_speed, at(fields.reaction_start_time),
                           at(fields.reaction_start_distance), page::kCollisionEvent, page::EventMark::Collision},
    };
}

}  // namespace vorlanex::kinematics
