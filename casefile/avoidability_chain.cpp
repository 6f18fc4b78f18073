#include "casefile/avoidability_chain.h"

#include <algorithm>
#include <string_view>

namespace vorlanex::casefile {

namespace {

constexpr std::string_view kStoppingPage = "draha-zastaveni";
constexpr std::string_view kReconstructionPage = "kinematika";
constexpr std::string_view kObstacleDistance = "I5";

}  // namespace

std::optional<AvoidabilityChain> avoidability_chain(const CaseFile& file, const IdIndex& index,
                                                    std::size_t calculation) {
    if (calculation >= file.calculations.size()) return std::nullopt;
    const Calculation& stopping = file.calculations[calculation];
    if (stopping.scenario.page == nullptr || stopping.scenario.page->key != kStoppingPage) return std::nullopt;
    const auto obstacle = std::find_if(stopping.links.begin(), stopping.links.end(),
                                       [](const Link& link) { return link.input == kObstacleDistance; });
    if (obstacle == stopping.links.end() || obstacle->field != kCollisionPointDistance) return std::nullopt;
    const std::optional<std::size_t> source = index.find(obstacle->from);
    if (!source || *source == calculation) return std::nullopt;
    const Calculation& reconstruction = file.calculations[*source];
    if (reconstruction.scenario.page == nullptr || reconstruction.scenario.page->key != kReconstructionPage) {
        return std::nullopt;
    }
    AvoidabilityChain chain{*source, {}};
    for (const Link& link : stopping.links) {
        if (index.find(link.from) == source) chain.linked_inputs.push_back(link.input);
    }
    return chain;
}

}  // namespace vorlanex::casefile
