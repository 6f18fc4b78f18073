#include "casefile/calculation_sampling.h"

#include <nlohmann/json.hpp>

#include "tolerance/distribution_json.h"
#include "tolerance/sampling.h"

namespace vorlanex::casefile {

std::variant<CalculationSampling, tolerance::InputError> sampling_of(
    const page::PageDefinition& page, std::span<const std::pair<std::string, std::string>> fields,
    const std::optional<std::string>& tolerances, const numeric::DecimalSeparator& separator, std::uint64_t samples) {
    CalculationSampling sampling;
    // The members keep the order they are written in.
    const auto given =
        tolerances ? nlohmann::ordered_json::parse(*tolerances, nullptr, false) : nlohmann::ordered_json::object();
    if (!given.is_object()) return tolerance::InputError{"the tolerances are not a JSON object"};
    for (const auto& [field, object] : given.items()) {
        auto parsed = tolerance::parse_json_form(field, object, separator);
        if (auto* error = std::get_if<tolerance::InputError>(&parsed)) return *error;
        sampling.tolerances.push_back({field, std::get<tolerance::Distribution>(parsed)});
    }
    for (const auto& [id, text] : fields) {
        if (!given.contains(id)) sampling.typed.emplace_back(id, text);
    }
    if (auto error = tolerance::check_sampling(page, sampling.tolerances, samples)) return *error;
    return sampling;
}

std::variant<CalculationSampling, tolerance::InputError> sampling_of(const Calculation& calculation,
                                                                     const numeric::DecimalSeparator& separator,
                                                                     std::uint64_t samples) {
    // Its linked inputs would be sampled with texts of its own, not with what their sources show.
    if (!calculation.links.empty() && calculation.tolerances) {
        return tolerance::InputError{
            "a calculation with links cannot be sampled yet: its linked inputs would not follow their sources"};
    }
    return sampling_of(*calculation.scenario.page, calculation.scenario.fields, calculation.tolerances, separator,
                       samples);
}

}  // namespace vorlanex::casefile
