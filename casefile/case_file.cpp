#include "casefile/case_file.h"

#include <set>
#include <unordered_set>

#include <nlohmann/json.hpp>

#include "casefile/separator_check.h"
#include "casefile/written_json.h"
#include "numeric/utf8.h"
#include "tolerance/distribution_json.h"

namespace vorlanex::casefile {

namespace {

using Json = nlohmann::ordered_json;

// The deepest a case file's line nests: a calculation, its "recorded", its "events", an event.
constexpr int kDeepestNesting = 4;

std::string at_line(long line, std::string_view message) {
    return "line " + std::to_string(line) + ": " + std::string(message);
}

// The number of the first line holding a byte that is not part of well-formed UTF-8, if any.
std::optional<long> line_of_invalid_utf8(std::string_view bytes) {
    long line = 1;
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t length = numeric::utf8_character_length(bytes.substr(at));
        if (length == 0) return line;
        if (bytes[at] == '\n') ++line;
        at += length;
    }
    return std::nullopt;
}

// One line read as JSON: a key given twice in any object, or a nesting deeper than a case file's,
// is a fault, where a JSON library would keep the last or go on.
std::variant<Json, std::string> parse_line(std::string_view line) {
    std::vector<std::set<std::string>> open_objects;
    std::optional<std::string> fault;
    int depth = 0;
    const auto watch = [&](int, Json::parse_event_t event, Json& parsed) {
        switch (event) {
            case Json::parse_event_t::object_start:
            case Json::parse_event_t::array_start:
                if (++depth > kDeepestNesting && !fault) fault = "the line nests deeper than a case file does";
                if (event == Json::parse_event_t::object_start) open_objects.emplace_back();
                break;
            case Json::parse_event_t::object_end:
                open_objects.pop_back();
                --depth;
                break;
            case Json::parse_event_t::array_end: --depth; break;
            case Json::parse_event_t::key:
                if (!open_objects.back().insert(parsed.get<std::string>()).second && !fault) {
                    fault = "'" + parsed.get<std::string>() + "' is given twice";
                }
                break;
            default: break;
        }
        return true;
    };
    Json parsed = Json::parse(line.begin(), line.end(), watch, false);
    if (parsed.is_discarded()) return std::string("the line is not valid JSON");
    if (fault) return *fault;
    if (!parsed.is_object()) return std::string("the line is not a JSON object");
    return parsed;
}

// The first member of `object` not among `known`, as a fault.
std::optional<std::string> unknown_member(const Json& object, std::initializer_list<std::string_view> known,
                                          std::string_view where) {
    for (const auto& [key, value] : object.items()) {
        if (std::find(known.begin(), known.end(), key) == known.end()) {
            return "unknown member '" + key + "'" + std::string(where);
        }
    }
    return std::nullopt;
}

// The string member `key`, if present; a fault when it is present and not a string.
std::optional<std::string> optional_text(const Json& object, const std::string& key, std::string& fault) {
    const auto found = object.find(key);
    if (found == object.end()) return std::nullopt;
    if (!found->is_string()) {
        fault = "\"" + key + "\" must be a string";
        return std::nullopt;
    }
    return found->get<std::string>();
}

// The case's line: its format, its separator and its description.
std::optional<std::string> read_header(std::string_view written, CaseFile& into) {
    std::variant<Json, std::string> parsed = parse_line(written);
    if (auto* fault = std::get_if<std::string>(&parsed)) {
        return *fault + " (the first line is the case: {\"format\":1,\"separator\":\",\",\"case\":{…}})";
    }
    const Json& line = std::get<Json>(parsed);
    const auto format = line.find("format");
    if (format == line.end()) return std::string("the case has no \"format\" (the first line is the case)");
    if (!format->is_number_integer()) return std::string("\"format\" must be a whole number");
    if (format->get<long long>() > kFormat) {
        return "this file is of format " + std::to_string(format->get<long long>()) +
               "; this version of Vorlanex reads format " + std::to_string(kFormat);
    }
    if (format->get<long long>() < kFormat) return "there is no format " + std::to_string(format->get<long long>());
    if (auto fault = unknown_member(line, {"format", "separator", "case"}, "")) return fault;

    const auto separator = line.find("separator");
    if (separator == line.end() || !separator->is_string()) {
        return std::string("the case needs \"separator\", the decimal separator its texts are written with");
    }
    if (!can_be_chosen_separator(separator->get<std::string>())) {
        return "\"separator\" must be one visible character that no reader could take for a digit, a sign or an "
               "exponent; got '" +
               separator->get<std::string>() + "'";
    }
    into.separator = numeric::DecimalSeparator(separator->get<std::string>());

    if (const auto described = line.find("case"); described != line.end()) {
        if (!described->is_object()) return std::string("\"case\" must be an object");
        if (auto fault =
                unknown_member(*described, {"reference", "title", "expert", "created", "note"}, " in \"case\"")) {
            return fault;
        }
        std::string fault;
        CaseHeader& header = into.header;
        header.reference = optional_text(*described, "reference", fault);
        header.title = optional_text(*described, "title", fault);
        header.expert = optional_text(*described, "expert", fault);
        header.created = optional_text(*described, "created", fault);
        header.note = optional_text(*described, "note", fault);
        if (!fault.empty()) return fault;
    }
    into.header_line = written;
    return std::nullopt;
}

std::optional<std::string> read_tolerances(const Json& tolerances, const Calculation& calculation,
                                           const numeric::DecimalSeparator& separator) {
    if (!tolerances.is_object()) return std::string("\"tolerances\" must be an object of fields' tolerances");
    for (const auto& [id, tolerance] : tolerances.items()) {
        const page::Field* field = calculation.scenario.page->find_field(id);
        if (!field || field->role != page::FieldRole::Input) {
            return "page '" + std::string(calculation.scenario.page->key) + "' has no input field '" + id + "'";
        }
        auto parsed = tolerance::parse_json_form(id, tolerance, separator);
        if (auto* error = std::get_if<tolerance::InputError>(&parsed)) return error->message;
    }
    return std::nullopt;
}

std::optional<std::string> read_recorded(const Json& recorded, std::string_view written, Calculation& into) {
    if (!recorded.is_object()) return std::string("\"recorded\" must be an object");
    if (auto fault = unknown_member(recorded, {"program", "events", "fields"}, " in \"recorded\"")) return fault;
    const auto program = recorded.find("program");
    const auto events = recorded.find("events");
    const auto fields = recorded.find("fields");
    if (program == recorded.end() || !program->is_string())
        return std::string("\"recorded\" needs \"program\", a version");
    if (events == recorded.end() || !events->is_array()) return std::string("\"recorded\" needs \"events\", a list");
    for (const Json& event : *events) {
        if (!event.is_object()) return std::string("every recorded event must be an object");
    }
    if (fields == recorded.end() || !fields->is_object())
        return std::string("\"recorded\" needs \"fields\", an object");
    for (const auto& [id, text] : fields->items()) {
        if (!text.is_string()) return "the recorded text of field '" + id + "' must be a string";
    }
    into.recorded = Recorded{program->get<std::string>(), std::string(*written_member(written, "events")),
                             std::string(*written_member(written, "fields"))};
    return std::nullopt;
}

std::optional<std::string> read_calculation(std::string_view written, const numeric::DecimalSeparator& separator,
                                            Calculation& into) {
    std::variant<Json, std::string> parsed = parse_line(written);
    if (auto* fault = std::get_if<std::string>(&parsed)) return *fault;
    const Json& line = std::get<Json>(parsed);
    if (auto fault = unknown_member(line, {"id", "title", "note", "page", "fields", "tolerances", "recorded"}, "")) {
        return line.contains("format") ? *fault + " (only the first line is the case)" : fault;
    }
    if (const auto id = line.find("id"); id != line.end()) {
        if (!id->is_string() && !id->is_number()) return std::string("\"id\" must be a string or a number");
        into.id = std::string(*written_member(written, "id"));
    }
    std::string fault;
    into.title = optional_text(line, "title", fault);
    into.note = optional_text(line, "note", fault);
    if (!fault.empty()) return fault;
    const auto page = line.find("page");
    if (page == line.end() || !page->is_string()) return std::string("a calculation needs \"page\", a string");
    if (auto error = find_page(page->get<std::string>(), into.scenario)) return error->message;
    if (const auto fields = line.find("fields"); fields != line.end()) {
        if (!fields->is_object()) return std::string("\"fields\" must be an object of field texts");
        for (const auto& [id, text] : fields->items()) {
            if (!text.is_string()) return "the text of field '" + id + "' must be a string";
            into.scenario.fields.emplace_back(id, text.get<std::string>());
        }
    }
    if (auto error = check_scenario(into.scenario)) return error->message;
    if (const auto tolerances = line.find("tolerances"); tolerances != line.end()) {
        if (auto error = read_tolerances(*tolerances, into, separator)) return error;
        into.tolerances = std::string(*written_member(written, "tolerances"));
    }
    if (const auto recorded = line.find("recorded"); recorded != line.end()) {
        const std::string recorded_text(*written_member(written, "recorded"));
        if (auto error = read_recorded(*recorded, recorded_text, into)) return error;
    }
    into.written = written;
    return std::nullopt;
}

// An id's identity: a string by its text, a number by its token (so 1E2 and 100 stay apart, as
// the batch keeps them).
std::string id_identity(std::string_view token) {
    if (token.starts_with('"')) return "s" + Json::parse(token).get<std::string>();
    return "n" + std::string(token);
}

}  // namespace

std::variant<CaseFile, CaseError> read_case_file(std::string_view bytes) {
    if (bytes.find_first_not_of(" \t\r\n") == std::string_view::npos) {
        return CaseError{"the case file is empty (its first line is the case: {\"format\":1,\"separator\":\",\"})"};
    }
    if (const auto line = line_of_invalid_utf8(bytes)) return CaseError{at_line(*line, "the text is not valid UTF-8")};

    CaseFile file;
    std::unordered_set<std::string> ids;
    long number = 0;
    for (std::size_t start = 0; start < bytes.size();) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos) end = bytes.size();
        std::string_view line = bytes.substr(start, end - start);
        start = end + 1;
        ++number;
        if (line.ends_with('\r')) line.remove_suffix(1);
        if (line.size() > kMaxCaseLineBytes) return CaseError{at_line(number, "the line is longer than 1 MiB")};
        if (number == 1) {
            if (auto fault = read_header(line, file)) return CaseError{at_line(number, *fault)};
            continue;
        }
        if (line.find_first_not_of(" \t") == std::string_view::npos) continue;
        Calculation calculation;
        calculation.line = number;
        if (auto fault = read_calculation(line, file.separator, calculation)) return CaseError{at_line(number, *fault)};
        if (calculation.id && !ids.insert(id_identity(*calculation.id)).second) {
            return CaseError{at_line(number, "the id " + *calculation.id + " is given to an earlier calculation too")};
        }
        file.calculations.push_back(std::move(calculation));
    }
    file.lines = number;
    return file;
}

}  // namespace vorlanex::casefile
