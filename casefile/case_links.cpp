#include "casefile/case_links.h"

#include <algorithm>
#include <variant>

#include <nlohmann/json.hpp>

#include "casefile/calculation_line.h"
#include "casefile/written_json.h"

namespace vorlanex::casefile {

namespace {

using Kind = CaseError::Kind;

std::string in_quotes(std::string_view text) { return "'" + std::string(text) + "'"; }

// What is wrong with `link` of `target`, as a line's fault.
std::optional<LineFault> link_fault(const CaseFile& file, const IdIndex& index, const Calculation& target,
                                    const Link& link) {
    const page::PageDefinition& page = *target.scenario.page;
    const page::Field* input = page.find_field(link.input);
    if (!input || input->role != page::FieldRole::Input) {
        return LineFault{
            Kind::LinkOntoNoInput,
            "page " + in_quotes(page.key) + " has no input field " + in_quotes(link.input) + " to take a text into",
            link.input, std::string(page.key)};
    }
    const std::optional<std::size_t> source = index.find(link.from);
    if (!source) {
        return LineFault{Kind::LinkToUnknownId,
                         "input " + in_quotes(link.input) + " takes from " + link.from + ", the id of no calculation",
                         id_text(link.from), link.input};
    }
    const page::PageDefinition& source_page = *file.calculations[*source].scenario.page;
    const page::Field* field = source_page.find_field(link.field);
    if (!field) {
        return LineFault{
            Kind::LinkFromUnknownField,
            "page " + in_quotes(source_page.key) + " of " + link.from + " has no field " + in_quotes(link.field),
            link.field, std::string(source_page.key)};
    }
    if (field->unit != input->unit) {
        const std::string from = link.field + " [" + std::string(field->unit) + "]";
        const std::string into = link.input + " [" + std::string(input->unit) + "]";
        return LineFault{Kind::LinkUnitsDiffer,
                         "field " + from + " of " + link.from + " cannot be taken into input " + into +
                             ": a link takes a text into an input of the same unit",
                         from, into};
    }
    return std::nullopt;
}

// The calculations in link order, or the calculations round a cycle, each taking from the next
// and the last from the first. `replaced` stands in for the calculation at `replaced_at`.
using OrderOrCycle = std::variant<std::vector<std::size_t>, std::vector<std::size_t>>;

OrderOrCycle order_or_cycle(const CaseFile& file, const IdIndex& index, const Calculation* replaced = nullptr,
                            std::size_t replaced_at = 0) {
    const std::size_t count = file.calculations.size();
    const auto links_of = [&](std::size_t at) -> const std::vector<Link>& {
        return replaced && at == replaced_at ? replaced->links : file.calculations[at].links;
    };
    enum class State : unsigned char { New, Open, Done };
    std::vector<State> states(count, State::New);
    std::vector<std::size_t> order;
    order.reserve(count);
    struct Visit {
        std::size_t at;
        std::size_t next_link;
    };
    std::vector<Visit> path;  // each calculation on it takes from the one after it
    for (std::size_t start = 0; start < count; ++start) {
        if (states[start] != State::New) continue;
        states[start] = State::Open;
        path.push_back({start, 0});
        while (!path.empty()) {
            Visit& visit = path.back();
            const std::vector<Link>& links = links_of(visit.at);
            if (visit.next_link == links.size()) {
                states[visit.at] = State::Done;
                order.push_back(visit.at);
                path.pop_back();
                continue;
            }
            const std::optional<std::size_t> source = index.find(links[visit.next_link++].from);
            if (!source || states[*source] == State::Done) continue;
            if (states[*source] == State::Open) {
                std::vector<std::size_t> cycle;
                auto on_path = std::find_if(path.begin(), path.end(), [&](const Visit& v) { return v.at == *source; });
                for (; on_path != path.end(); ++on_path) cycle.push_back(on_path->at);
                return OrderOrCycle(std::in_place_index<1>, std::move(cycle));
            }
            states[*source] = State::Open;
            path.push_back({*source, 0});
        }
    }
    return OrderOrCycle(std::in_place_index<0>, std::move(order));
}

std::optional<CaseError> cycle_error(const CaseFile& file, const OrderOrCycle& ordered, long line) {
    if (ordered.index() == 0) return std::nullopt;
    const std::vector<std::size_t>& cycle = std::get<1>(ordered);
    std::string chain;
    for (std::size_t at : cycle) chain += id_text(file.calculations[at].id.value_or("")) + " ← ";
    chain += id_text(file.calculations[cycle.front()].id.value_or(""));
    return at_line(line ? line : file.calculations[cycle.front()].line,
                   LineFault{Kind::LinkCycle, "the links go round in a cycle: " + chain, chain});
}

}  // namespace

IdIndex::IdIndex(const CaseFile& file) {
    for (std::size_t i = 0; i < file.calculations.size(); ++i) {
        if (file.calculations[i].id) index_.emplace(id_identity(*file.calculations[i].id), i);
    }
}

std::optional<std::size_t> IdIndex::find(std::string_view token) const {
    const auto found = index_.find(id_identity(token));
    if (found == index_.end()) return std::nullopt;
    return found->second;
}

namespace {

// A string id's text; nothing for a number, or a token no JSON string is (a link given by hand).
std::optional<std::string> string_id(std::string_view token) {
    if (!token.starts_with('"')) return std::nullopt;
    const nlohmann::json parsed = nlohmann::json::parse(token, nullptr, false);
    if (!parsed.is_string()) return std::nullopt;
    return parsed.get<std::string>();
}

}  // namespace

std::string id_identity(std::string_view token) {
    const std::optional<std::string> text = string_id(token);
    return text ? "s" + *text : "n" + std::string(token);
}

std::string id_text(std::string_view token) { return string_id(token).value_or(std::string(token)); }

std::optional<CaseError> check_links(const CaseFile& file) {
    if (!has_links(file)) return std::nullopt;
    const IdIndex index(file);
    for (const Calculation& calculation : file.calculations) {
        for (const Link& link : calculation.links) {
            if (auto fault = link_fault(file, index, calculation, link)) return at_line(calculation.line, *fault);
        }
    }
    return cycle_error(file, order_or_cycle(file, index), 0);
}

std::optional<CaseError> check_link(const CaseFile& file, std::size_t target, const Link& link) {
    const IdIndex index(file);
    const Calculation& calculation = file.calculations.at(target);
    if (auto fault = link_fault(file, index, calculation, link)) return at_line(calculation.line, *fault);
    Calculation linked = calculation;
    linked.set_link(link.input, link.from, link.field);
    return cycle_error(file, order_or_cycle(file, index, &linked, target), calculation.line);
}

std::vector<std::size_t> run_order(const CaseFile& file) {
    if (has_links(file)) {
        OrderOrCycle ordered = order_or_cycle(file, IdIndex(file));
        if (ordered.index() == 0) return std::get<0>(std::move(ordered));
    }
    std::vector<std::size_t> as_listed(file.calculations.size());
    for (std::size_t i = 0; i < as_listed.size(); ++i) as_listed[i] = i;
    return as_listed;
}

bool has_links(const CaseFile& file) {
    return std::any_of(file.calculations.begin(), file.calculations.end(), [](const Calculation& calculation) {
        return !calculation.links.empty() || (calculation.written.find("\"links\"") != std::string::npos &&
                                              written_member(calculation.written, "links"));
    });
}

}  // namespace vorlanex::casefile
