#include "casefile/linked_run.h"

#include <optional>
#include <utility>

#include "casefile/case_links.h"
#include "tolerance/sampling.h"

namespace vorlanex::casefile {

namespace {

// Why `link`'s text cannot be taken from `source`, as the linked calculation's fault; or nothing.
std::optional<std::string> not_taken(const Link& link, const RecordedRun* source) {
    if (!source || tolerance::shows_nothing(taken_text(*source, link.field))) return link_faults(link).when_empty;
    if (source->fault()) return link_faults(link).when_faulted;
    return std::nullopt;
}

}  // namespace

LinkFaults link_faults(const Link& link) {
    const std::string taken = "vstup " + link.input + " převzatý z " + id_text(link.from) + "." + link.field;
    return {taken + " je prázdný", taken + " nelze převzít: výpočet " + id_text(link.from) + " skončil chybou"};
}

const std::string& taken_text(const RecordedRun& source, std::string_view field) {
    const page::Field* found = source.page().find_field(field);
    const bool input = found && found->role == page::FieldRole::Input;
    return input ? source.text_before(field) : source.text_after(field);
}

RecordedRun run_with_sources(const Calculation& calculation, const numeric::DecimalSeparator& separator,
                             const SourceRun& source_run) {
    std::vector<std::pair<std::string, std::string>> typed;
    for (const auto& field : calculation.scenario.fields) {
        if (!calculation.link_of(field.first)) typed.push_back(field);
    }
    std::optional<RecordedRun::NotRun> not_run;
    for (const Link& link : calculation.links) {
        const RecordedRun* source = source_run(link);
        const std::optional<std::string> fault = not_taken(link, source);
        if (fault && !not_run) not_run = RecordedRun::NotRun{*fault, link.input};
        typed.emplace_back(link.input, fault ? std::string() : taken_text(*source, link.field));
    }
    const page::PageDefinition& page = *calculation.scenario.page;
    if (not_run) return RecordedRun(page, typed, separator, *not_run);
    return RecordedRun(page, typed, separator);
}

namespace {

// The calculations of `file` that `needed` marks run in link order, the others left unrun.
std::vector<std::optional<RecordedRun>> run_needed(const CaseFile& file, const IdIndex& index,
                                                   const std::vector<bool>& needed) {
    std::vector<std::optional<RecordedRun>> ran(file.calculations.size());
    const SourceRun source_run = [&](const Link& link) -> const RecordedRun* {
        const std::optional<std::size_t> source = index.find(link.from);
        return source && ran[*source] ? &*ran[*source] : nullptr;
    };
    for (std::size_t at : run_order(file)) {
        if (needed[at]) ran[at].emplace(run_with_sources(file.calculations[at], file.separator, source_run));
    }
    return ran;
}

}  // namespace

std::vector<bool> with_its_sources(const CaseFile& file, const IdIndex& ids, std::size_t index) {
    std::vector<bool> needed(file.calculations.size(), false);
    for (std::vector<std::size_t> waiting{index}; !waiting.empty();) {
        const std::size_t at = waiting.back();
        waiting.pop_back();
        if (needed[at]) continue;
        needed[at] = true;
        for (const Link& link : file.calculations[at].links) {
            if (const auto source = ids.find(link.from)) waiting.push_back(*source);
        }
    }
    return needed;
}

RecordedRun run_in_case(const CaseFile& file, std::size_t index) {
    const Calculation& calculation = file.calculations.at(index);
    if (calculation.links.empty()) return run_with_sources(calculation, file.separator, {});
    const IdIndex ids(file);
    return std::move(*run_needed(file, ids, with_its_sources(file, ids, index))[index]);
}

std::vector<RecordedRun> run_case(const CaseFile& file) {
    const IdIndex index = has_links(file) ? IdIndex(file) : IdIndex();  // a case without links looks up no id
    std::vector<std::optional<RecordedRun>> ran =
        run_needed(file, index, std::vector<bool>(file.calculations.size(), true));
    std::vector<RecordedRun> runs;
    runs.reserve(ran.size());
    for (std::optional<RecordedRun>& run : ran) runs.push_back(std::move(*run));
    return runs;
}

}  // namespace vorlanex::casefile
