#include "casefile/case_run.h"

#include <nlohmann/json.hpp>

#include "casefile/json_text.h"
#include "casefile/linked_run.h"

namespace vorlanex::casefile {

namespace {

using Json = nlohmann::ordered_json;

// {"line":N,"id":ID — the start every output line of a calculation shares.
void append_line_start(const Calculation& calculation, std::string& out) {
    out += R"({"line":)";
    out += std::to_string(calculation.line);
    if (calculation.id) {
        out += R"(,"id":)";
        out += *calculation.id;
    }
}

std::optional<std::string> text_of(const Json& fields, const std::string& id) {
    const auto found = fields.find(id);
    if (found == fields.end()) return std::nullopt;
    return found->get<std::string>();
}

Json text_or_null(const std::optional<std::string>& text) { return text ? Json(*text) : Json(nullptr); }

std::string dumped(const Json& value) { return value.dump(-1, ' ', false, Json::error_handler_t::replace); }

}  // namespace

Outcome outcome_of(const RecordedRun& run) { return Outcome{run.outcome(), !run.fault()}; }

std::optional<Difference> compare(const Recorded& recorded, const Outcome& now) {
    const Json was_events = Json::parse(recorded.events);
    const Json was_fields = Json::parse(recorded.fields);
    const Json is = Json::parse("{" + now.members + "}");
    const Json& is_events = is["events"];
    const Json& is_fields = is["fields"];
    Difference difference;
    for (const auto& [id, text] : is_fields.items()) {
        const std::optional<std::string> was = text_of(was_fields, id);
        if (was != text.get<std::string>()) difference.fields.push_back({id, was, text.get<std::string>()});
    }
    for (const auto& [id, text] : was_fields.items()) {
        if (!is_fields.contains(id)) difference.fields.push_back({id, text.get<std::string>(), std::nullopt});
    }
    if (was_events != is_events) {
        difference.events_differ = true;
        difference.recorded_events = dumped(was_events);
        difference.now_events = dumped(is_events);
    }
    if (difference.fields.empty() && !difference.events_differ) return std::nullopt;
    return difference;
}

std::string case_results(const CaseFile& file) {
    std::string out;
    const std::vector<RecordedRun> runs = run_case(file);
    for (std::size_t i = 0; i < runs.size(); ++i) {
        append_line_start(file.calculations[i], out);
        out += ',';
        out += runs[i].outcome();
        out += "}\n";
    }
    return out;
}

std::string verify_case(const CaseFile& file, bool& all_same) {
    all_same = true;
    std::string out;
    const std::vector<RecordedRun> runs = run_case(file);
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const Calculation& calculation = file.calculations[i];
        append_line_start(calculation, out);
        if (!calculation.recorded) {
            all_same = false;
            out += R"(,"same":false,"recorded":null})"
                   "\n";
            continue;
        }
        const std::optional<Difference> difference = compare(*calculation.recorded, outcome_of(runs[i]));
        if (!difference) {
            out += R"(,"same":true})"
                   "\n";
            continue;
        }
        all_same = false;
        out += R"(,"same":false,"program":)";
        append_json_string(out, calculation.recorded->program);
        Json fields = Json::object();
        for (const FieldDifference& field : difference->fields) {
            fields[field.id] = Json{{"recorded", text_or_null(field.recorded)}, {"now", text_or_null(field.now)}};
        }
        if (!fields.empty()) out += R"(,"fields":)" + dumped(fields);
        if (difference->events_differ) {
            out +=
                R"(,"events":{"recorded":)" + difference->recorded_events + R"(,"now":)" + difference->now_events + "}";
        }
        out += "}\n";
    }
    return out;
}

}  // namespace vorlanex::casefile
