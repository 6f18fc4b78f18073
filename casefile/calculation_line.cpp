#include "casefile/calculation_line.h"

#include <algorithm>

#include <nlohmann/json.hpp>

#include "casefile/written_json.h"
#include "tolerance/distribution_json.h"

namespace vorlanex::casefile {

namespace {

using Json = nlohmann::ordered_json;
using Kind = CaseError::Kind;

enum class Line { Batch, Case };

constexpr std::string_view kBatchMembers[] = {"id", "page", "fields"};
constexpr std::string_view kCaseMembers[] = {"id",         "title",    "note",     "page", "fields",
                                             "tolerances", "analyses", "recorded", "links"};

// A member the line may not hold, in the line's own words.
std::optional<LineFault> foreign_member(const Json& line, Line form) {
    if (form == Line::Batch) {
        for (const auto& [key, value] : line.items()) {
            if (std::find(std::begin(kBatchMembers), std::end(kBatchMembers), key) == std::end(kBatchMembers))
                return LineFault{Kind::UnknownMember, "unknown key '" + key + "'", key};
        }
        return std::nullopt;
    }
    auto fault = unknown_member(line, kCaseMembers);
    if (!fault || !line.contains("format")) return fault;
    return LineFault{Kind::CaseLineAgain, fault->message + " (only the first line is the case)", fault->subject};
}

// A scenario's fault (an unknown page or field, a field given twice) as a line's fault.
LineFault scenario_fault(const UsageError& error, std::string_view page) {
    switch (error.kind) {
        case UsageError::Kind::UnknownPage: return LineFault{Kind::UnknownPage, error.message, error.subject};
        case UsageError::Kind::UnknownField:
            return LineFault{Kind::UnknownField, error.message, error.subject, std::string(page)};
        case UsageError::Kind::FieldTwice:
        case UsageError::Kind::Other: break;
    }
    return LineFault{Kind::FieldTwice, error.message, error.subject};
}

std::optional<LineFault> read_tolerances(const Json& tolerances, const Calculation& calculation,
                                         const numeric::DecimalSeparator& separator) {
    if (!tolerances.is_object())
        return LineFault{Kind::TolerancesNotObject, "\"tolerances\" must be an object of fields' tolerances"};
    const std::string page(calculation.scenario.page->key);
    for (const auto& [id, tolerance] : tolerances.items()) {
        const page::Field* field = calculation.scenario.page->find_field(id);
        if (!field || field->role != page::FieldRole::Input) {
            return LineFault{Kind::ToleranceOfNoInput, "page '" + page + "' has no input field '" + id + "'", id, page};
        }
        auto parsed = tolerance::parse_json_form(id, tolerance, separator);
        if (auto* error = std::get_if<tolerance::InputError>(&parsed)) {
            return LineFault{Kind::BadTolerance, error->message, id, error->message};
        }
    }
    return std::nullopt;
}

std::optional<LineFault> read_recorded(const Json& recorded, std::string_view written, Calculation& into) {
    if (!recorded.is_object()) return LineFault{Kind::RecordedNotObject, "\"recorded\" must be an object"};
    if (auto fault = unknown_member(recorded, {"program", "events", "fields"}, "recorded")) return fault;
    const auto program = recorded.find("program");
    const auto events = recorded.find("events");
    const auto fields = recorded.find("fields");
    if (program == recorded.end() || !program->is_string())
        return LineFault{Kind::RecordedWithoutProgram, "\"recorded\" needs \"program\", a version"};
    if (events == recorded.end() || !events->is_array())
        return LineFault{Kind::RecordedWithoutEvents, "\"recorded\" needs \"events\", a list"};
    for (const Json& event : *events) {
        if (!event.is_object())
            return LineFault{Kind::RecordedEventNotObject, "every recorded event must be an object"};
    }
    if (fields == recorded.end() || !fields->is_object())
        return LineFault{Kind::RecordedWithoutFields, "\"recorded\" needs \"fields\", an object"};
    for (const auto& [id, text] : fields->items()) {
        if (!text.is_string())
            return LineFault{Kind::RecordedTextNotText, "the recorded text of field '" + id + "' must be a string", id};
    }
    into.recorded = Recorded{program->get<std::string>(), std::string(*written_member(written, "events")),
                             std::string(*written_member(written, "fields"))};
    return std::nullopt;
}

// "links": each input's source, its id token as written; whether the source and its field exist
// is checked once the whole file is read (case_links.h).
std::optional<LineFault> read_links(const Json& links, std::string_view written, Calculation& into) {
    if (!links.is_object()) return LineFault{Kind::LinksNotObject, "\"links\" must be an object of inputs' links"};
    for (const auto& [input, link] : links.items()) {
        const bool well_formed = link.is_object() && link.size() == 2 && link.contains("from") &&
                                 (link["from"].is_string() || link["from"].is_number()) && link.contains("field") &&
                                 link["field"].is_string();
        if (!well_formed) {
            return LineFault{Kind::BadLink,
                             "the link of '" + input +
                                 "' must be {\"from\":ID,\"field\":FIELD}: the id of a "
                                 "calculation and its field",
                             input};
        }
        const std::string_view link_text = *written_member(*written_member(written, "links"), input);
        into.links.push_back(
            {input, std::string(*written_member(link_text, "from")), link["field"].get<std::string>()});
    }
    return std::nullopt;
}

// The one reader: the checks in the order the line's fault is looked for.
std::optional<LineFault> read_calculation(Line form, const Json& line, std::string_view written,
                                          const numeric::DecimalSeparator* separator, Calculation& into) {
    if (form == Line::Case) {
        if (auto fault = foreign_member(line, form)) return fault;
    }
    if (const auto id = line.find("id"); id != line.end()) {
        if (!id->is_string() && !id->is_number())
            return LineFault{Kind::IdNotTextOrNumber, "\"id\" must be a string or a number"};
        into.id = std::string(*written_member(written, "id"));  // the token itself: the same text the line has
    }
    if (form == Line::Batch) {
        if (auto fault = foreign_member(line, form)) return fault;
    } else {
        std::optional<LineFault> fault;
        into.title = optional_text(line, "title", fault);
        into.note = optional_text(line, "note", fault);
        if (fault) return fault;
    }
    const auto page = line.find("page");
    if (page == line.end() || !page->is_string()) {
        return LineFault{Kind::NoPage,
                         form == Line::Batch ? "\"page\" must be a string" : "a calculation needs \"page\", a string"};
    }
    if (auto error = find_page(page->get<std::string>(), into.scenario)) return scenario_fault(*error, {});
    if (const auto fields = line.find("fields"); fields != line.end()) {
        if (!fields->is_object())
            return LineFault{Kind::FieldsNotObject, "\"fields\" must be an object of field texts"};
        for (const auto& [id, text] : fields->items()) {
            if (!text.is_string())
                return LineFault{Kind::FieldTextNotText, "the text of field '" + id + "' must be a string", id};
            into.scenario.fields.emplace_back(id, text.get<std::string>());
        }
    }
    if (auto error = check_scenario(into.scenario)) return scenario_fault(*error, into.scenario.page->key);
    if (form == Line::Batch) return std::nullopt;

    if (const auto tolerances = line.find("tolerances"); tolerances != line.end()) {
        if (auto error = read_tolerances(*tolerances, into, *separator)) return error;
        into.tolerances = std::string(*written_member(written, "tolerances"));
    }
    if (const auto links = line.find("links"); links != line.end()) {
        if (auto error = read_links(*links, written, into)) return error;
    }
    if (const auto analyses = line.find("analyses"); analyses != line.end()) {
        auto read = read_analyses(*analyses, *written_member(written, "analyses"), *into.scenario.page, *separator);
        if (auto* fault = std::get_if<std::string>(&read)) return LineFault{Kind::BadAnalyses, *fault, {}, *fault};
        into.analyses = std::get<Analyses>(std::move(read));
    }
    if (const auto recorded = line.find("recorded"); recorded != line.end()) {
        const std::string recorded_text(*written_member(written, "recorded"));
        if (auto error = read_recorded(*recorded, recorded_text, into)) return error;
    }
    into.written = written;
    return std::nullopt;
}

}  // namespace

std::optional<LineFault> read_batch_calculation(const Json& line, std::string_view written, Calculation& into) {
    return read_calculation(Line::Batch, line, written, nullptr, into);
}

std::optional<LineFault> read_case_calculation(const Json& line, std::string_view written,
                                               const numeric::DecimalSeparator& separator, Calculation& into) {
    return read_calculation(Line::Case, line, written, &separator, into);
}

CaseError at_line(long line, LineFault fault) {
    return CaseError{"line " + std::to_string(line) + ": " + fault.message, fault.kind, line, std::move(fault.subject),
                     std::move(fault.detail)};
}

std::optional<LineFault> unknown_member(const Json& object, std::span<const std::string_view> known,
                                        std::string_view in) {
    for (const auto& [key, value] : object.items()) {
        if (std::find(known.begin(), known.end(), key) == known.end()) {
            return LineFault{Kind::UnknownMember,
                             "unknown member '" + key + "'" + (in.empty() ? "" : " in \"" + std::string(in) + "\""),
                             key, std::string(in)};
        }
    }
    return std::nullopt;
}

std::optional<std::string> optional_text(const Json& object, const std::string& key, std::optional<LineFault>& fault) {
    const auto found = object.find(key);
    if (found == object.end()) return std::nullopt;
    if (!found->is_string()) {
        fault = LineFault{Kind::NotText, "\"" + key + "\" must be a string", key};
        return std::nullopt;
    }
    return found->get<std::string>();
}

}  // namespace vorlanex::casefile
