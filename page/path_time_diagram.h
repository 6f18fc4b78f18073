#pragma once
// Which fields a braking page's path–time diagram takes: for each phase (reaction at constant
// speed, brake build-up, full braking) the field of its start speed and those of its end in time
// and distance, and where a collision and an obstacle stand. A page declares this beside its
// layout; the report reads the values from the fields after a run and draws them, knowing no page.
#include <optional>
#include <span>
#include <string_view>

namespace vorlanex::page {

enum class MotionPhase { Reaction, BuildUp, FullBraking };

// Where a phase ends, in time or distance: a field holding the step from the phase's start, or a
// field holding the value counted from the start of the reaction.
struct DiagramCoordinate {
    std::string_view field;
    bool from_reaction_start = false;
};
constexpr DiagramCoordinate step(std::string_view field) { return {field, false}; }
constexpr DiagramCoordinate at(std::string_view field) { return {field, true}; }

// How the point at a phase's end is marked.
enum class EventMark { Event, Collision, Stop };

struct DiagramPhase {
    MotionPhase phase;
    std::string_view start_speed;  // km/h or m/s, as the field's unit says; none at constant speed
    DiagramCoordinate time;
    DiagramCoordinate distance;
    std::string_view end_event;  // the caption of the point where the phase ends
    EventMark end_mark = EventMark::Event;
};

// An obstacle the vehicle may reach before it stops. The run writes the collision time into
// `time` (counted from the start of the reaction), or a text that is no number when there is no
// collision; the vehicle then meets the obstacle at `distance`. The phases after it have no values.
struct DiagramCollision {
    std::string_view time;
    std::string_view distance;
    std::string_view caption;
};

struct DiagramCurve {
    std::string_view name;  // empty for a page's one curve
    std::span<const DiagramPhase> phases;
    std::optional<DiagramCollision> collision = std::nullopt;
};

// A horizontal line at the distance a field holds.
struct DiagramObstacle {
    std::string_view field;
    std::string_view caption;
};

struct PathTimeDiagramFields {
    std::span<const DiagramCurve> curves;  // one, or the lower and the upper curve of a band
    std::span<const DiagramObstacle> obstacles;
};

// The captions of the events every braking page shares.
inline constexpr std::string_view kPedalPressEvent = "sešlápnutí pedálu brzdy";
inline constexpr std::string_view kSkidStartEvent = "začátek blokovací stopy";
inline constexpr std::string_view kCollisionEvent = "střet";
inline constexpr std::string_view kStopEvent = "zastavení";
inline constexpr std::string_view kCollisionPlace = "místo střetu";

}  // namespace vorlanex::page
