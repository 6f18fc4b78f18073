#pragma once
// The avoidability chain of a case: a "Dráha na zastavení" calculation whose obstacle distance (I5)
// takes the distance from the start of the reaction to the collision point (R15) of a
// "Kinematika" calculation. The two together answer whether the vehicle, driven at the speed typed
// into the stopping calculation (the permitted speed), would have stopped before the collision
// point the reconstruction found.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "casefile/case_file.h"
#include "casefile/case_links.h"

namespace vorlanex::casefile {

// The reconstruction's field that the stopping calculation's obstacle distance takes: the distance
// from the start of the reaction to the collision point.
inline constexpr std::string_view kCollisionPointDistance = "R15";

struct AvoidabilityChain {
    std::size_t reconstruction = 0;          // the index of the "Kinematika" calculation
    std::vector<std::string> linked_inputs;  // the stopping calculation's inputs taken from it, as written
};

// The chain that ends in the calculation at `index`, or nothing when it is no such calculation.
std::optional<AvoidabilityChain> avoidability_chain(const CaseFile& file, const IdIndex& index,
                                                    std::size_t calculation);

}  // namespace vorlanex::casefile
