#include "casefile/calculation_sampling.h"

#include <nlohmann/json.hpp>

#include "casefile/case_links.h"
#include "casefile/linked_run.h"
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
    std::vector<std::pair<std::string, std::string>> typed;
    for (const auto& field : calculation.scenario.fields) {
        if (!calculation.link_of(field.first)) typed.push_back(field);
    }
    auto sampling = sampling_of(*calculation.scenario.page, typed, calculation.tolerances, separator, samples);
    if (auto* ready = std::get_if<CalculationSampling>(&sampling)) {
        for (const tolerance::Tolerance& tolerance : ready->tolerances) {
            if (const Link* link = calculation.link_of(tolerance.field)) {
                return tolerance::InputError{"tolerance of field '" + tolerance.field +
                                             "': the input takes its text from " + id_text(link->from) + "." +
                                             link->field};
            }
        }
    }
    return sampling;
}

std::variant<ChainSampling, tolerance::InputError> chain_sampling_of(const CaseFile& file, std::size_t index,
                                                                     std::uint64_t samples) {
    const IdIndex ids(file);
    const std::vector<bool> needed = with_its_sources(file, ids, index);
    ChainSampling chain;
    std::vector<std::size_t> positions(file.calculations.size(), 0);
    for (const std::size_t at : run_order(file)) {
        if (!needed[at] || at == index) continue;
        positions[at] = chain.calculations.size();
        chain.calculations.push_back(&file.calculations[at]);
    }
    positions[index] = chain.calculations.size();
    chain.calculations.push_back(&file.calculations[index]);

    for (const Calculation* calculation : chain.calculations) {
        auto sampling = sampling_of(*calculation, file.separator, samples);
        if (auto* error = std::get_if<tolerance::InputError>(&sampling)) {
            if (calculation == chain.calculations.back()) return *error;
            return tolerance::InputError{"source on line " + std::to_string(calculation->line) + ": " + error->message};
        }
        chain.samplings.push_back(std::move(std::get<CalculationSampling>(sampling)));
        if (calculation != chain.calculations.back() && calculation->tolerances && calculation->id)
            chain.through.push_back(id_text(*calculation->id));
    }
    for (std::size_t position = 0; position < chain.calculations.size(); ++position) {
        const Calculation& calculation = *chain.calculations[position];
        const CalculationSampling& sampling = chain.samplings[position];
        tolerance::ChainPage page{calculation.scenario.page, sampling.typed, sampling.tolerances, {}};
        for (const Link& link : calculation.links) {
            const std::optional<std::size_t> source = ids.find(link.from);
            if (!source || !needed[*source]) continue;
            LinkFaults faults = link_faults(link);
            page.taken.push_back({link.input, positions[*source], link.field, std::move(faults.when_empty),
                                  std::move(faults.when_faulted)});
        }
        chain.chain.push_back(std::move(page));
    }
    return chain;
}

}  // namespace vorlanex::casefile
