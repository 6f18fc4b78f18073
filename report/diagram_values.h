#pragma once
// The values of a run's path–time diagram, read back from the texts the run left in the fields
// that its page declares for the diagram (parse_number: the very numbers the page shows), phase by
// phase from the start of the reaction. Between them it only works out each phase's curve from its
// start speed.
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "casefile/recorded_run.h"
#include "page/path_time_diagram.h"

namespace vorlanex::report {

struct Point {
    double t = 0;  // s
    double s = 0;  // m
};

// One phase as drawn: a straight line at constant speed, or a parabola (a quadratic Bézier curve
// whose control point lies half-way in time along the start speed's tangent).
struct Segment {
    page::MotionPhase phase;
    Point from;
    Point to;
    std::optional<Point> control;
};

struct EventPoint {
    std::string caption;
    Point at;
    page::EventMark mark;
    std::string detail;  // the shown time and distance, where both come from one field each
};

struct Curve {
    std::string_view name;  // empty for a page's one curve
    std::vector<Segment> segments;
    std::vector<EventPoint> events;
};

// An obstacle line: its caption with the distance as the field shows it, and the distance.
struct ObstacleValue {
    std::string caption;
    double s;
};

struct DiagramValues {
    std::vector<Curve> curves;  // one, or the lower and the upper curve of a band
    std::vector<ObstacleValue> obstacles;
};

// The diagram's values from the run, or what keeps it from being drawn: fields the run did not
// write, fields that hold no number, negative times, distances or speeds (Czech phrases).
std::variant<DiagramValues, std::vector<std::string>> read_diagram_values(const casefile::RecordedRun& run,
                                                                          const page::PathTimeDiagramFields& fields);

}  // namespace vorlanex::report
