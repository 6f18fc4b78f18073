#pragma once
// The path–time diagram of a braking run: the distance from the place where the driver starts to
// react, against the time since then, phase by phase (reaction at constant speed, brake build-up at
// the mean build-up deceleration, full braking), with the collision or the stop and the obstacle.
// It is drawn as inline SVG from the texts the run wrote into its fields, read back with
// parse_number: the very numbers the page shows. Between them it only draws each phase's curve
// from its start speed.
#include <optional>
#include <string>
#include <string_view>

#include "casefile/recorded_run.h"

namespace vorlanex::report {

struct PathTimeDiagram {
    std::string svg;        // the drawing (an <svg> element), when it could be drawn
    std::string not_drawn;  // otherwise the reason, one Czech sentence
};

// The diagram of the run's page, or nothing for a page that has none.
std::optional<PathTimeDiagram> path_time_diagram(const casefile::RecordedRun& run);

// A run whose page draws one curve, and the name its curve goes by beside another.
struct ComparedMotion {
    const casefile::RecordedRun& run;
    std::string_view name;
};
// Two motions on the same axes, each curve named in the legend and at its last event, the second
// one dashed; the obstacle lines are the first motion's. Nothing when a page has no diagram or
// draws a band.
std::optional<PathTimeDiagram> compared_motions_diagram(const ComparedMotion& first, const ComparedMotion& second);

}  // namespace vorlanex::report
