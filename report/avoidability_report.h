#pragma once
// The part of a case's report that answers whether an accident was avoidable at the permitted
// speed: for a "Dráha na zastavení" calculation that takes its obstacle distance from the collision
// point of a "Kinematika" reconstruction, whether the vehicle would have stopped before that point,
// else how fast it would have reached it and how much later than it really did; the numbers the
// answer rests on, each the text its field shows; both motions in one path–time diagram.
#include <optional>
#include <string>

#include "casefile/recorded_run.h"

namespace vorlanex::report {

// The time from the start of the reaction to the collision at the permitted speed less the time as
// it happened, formed from the two times as their fields show them and rounded to 3 places as the
// pages round their times; nothing when either field holds no number or the difference is out of
// range.
std::optional<double> time_difference(double at_permitted_speed, double as_it_happened);

// The section (an <section class="avoidability">) for the stopping calculation's run `permitted`
// and its source's run `reconstruction`. `analyses_kept`: the stopping calculation keeps analyses,
// whose share of samples that stop is not given yet (see avoidability_report.cpp).
std::string avoidability_part(const casefile::RecordedRun& reconstruction, const casefile::RecordedRun& permitted,
                              bool analyses_kept);

}  // namespace vorlanex::report
