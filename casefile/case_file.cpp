#include "casefile/case_file.h"

#include <cctype>
#include <set>
#include <unordered_set>

#include <nlohmann/json.hpp>

#include "casefile/calculation_line.h"
#include "casefile/case_links.h"
#include "casefile/separator_check.h"
#include "casefile/written_json.h"
#include "numeric/utf8.h"

namespace vorlanex::casefile {

namespace {

using Json = nlohmann::ordered_json;

// The deepest a case file's line nests: a calculation, its "recorded", its "events", an event.
constexpr int kDeepestNesting = 4;

using Kind = CaseError::Kind;
using Fault = LineFault;

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
// is a fault, where a JSON library would keep the last or go on. A value nested too deep is not
// kept (the reader is told to discard it), so a line of 150,000 nested arrays costs no more than a
// flat one; the reader calls no end event for a value it discarded, and the keys of an object it
// discarded come with a depth beyond the deepest kept.
std::variant<Json, Fault> parse_line(std::string_view line) {
    std::vector<std::set<std::string>> open_objects;
    std::optional<Fault> fault;
    const auto watch = [&](int depth, Json::parse_event_t event, Json& parsed) {
        switch (event) {
            case Json::parse_event_t::object_start:
            case Json::parse_event_t::array_start:
                if (depth >= kDeepestNesting) {
                    if (!fault) fault = Fault{Kind::NestedTooDeep, "the line nests deeper than a case file does"};
                    return false;
                }
                if (event == Json::parse_event_t::object_start) open_objects.emplace_back();
                break;
            case Json::parse_event_t::object_end: open_objects.pop_back(); break;
            case Json::parse_event_t::key:
                if (depth > kDeepestNesting) break;
                if (!open_objects.back().insert(parsed.get<std::string>()).second && !fault) {
                    fault = Fault{Kind::MemberTwice, "'" + parsed.get<std::string>() + "' is given twice",
                                  parsed.get<std::string>()};
                }
                break;
            default: break;
        }
        return true;
    };
    Json parsed = Json::parse(line.begin(), line.end(), watch, false);
    if (parsed.is_discarded()) return Fault{Kind::NotJson, std::string(kLineNotJson)};
    if (fault) return *fault;
    if (!parsed.is_object()) return Fault{Kind::NotObject, std::string(kLineNotObject)};
    return parsed;
}

// The case's "format", judged by its number as written: 18446744073709551615 is named so, not as
// whatever a machine integer makes of it. A format is written as a whole number (digits, perhaps a
// minus); 1.5 or 1E2 is not one.
std::optional<Fault> format_fault(std::string_view written) {
    const std::string number(written_member(written, "format").value_or(""));
    const bool a_number = number.starts_with('-') || (!number.empty() && std::isdigit(number.front()) != 0);
    const bool whole = a_number && number.find_first_not_of("0123456789", 1) == std::string::npos;
    if (!whole) {
        return Fault{Kind::FormatNotWhole,
                     a_number ? "\"format\" must be a whole number written in digits; got " + number
                              : "\"format\" must be a whole number",
                     a_number ? number : std::string()};
    }
    if (number == std::to_string(kFormatWithoutLinks) || number == std::to_string(kFormat)) return std::nullopt;
    if (number.starts_with('-') || number == "0") {
        return Fault{Kind::NoSuchFormat, "there is no format " + number, number};
    }
    return Fault{Kind::NewerFormat,
                 "this file is of format " + number + "; this version of Vorlanex reads formats " +
                     std::to_string(kFormatWithoutLinks) + " and " + std::to_string(kFormat),
                 number};
}

// The case's line: its format, its separator and its description.
std::optional<Fault> read_header(std::string_view written, CaseFile& into) {
    std::variant<Json, Fault> parsed = parse_line(written);
    if (auto* fault = std::get_if<Fault>(&parsed)) {
        fault->message += " (the first line is the case: {\"format\":1,\"separator\":\",\",\"case\":{…}})";
        return *fault;
    }
    const Json& line = std::get<Json>(parsed);
    const auto format = line.find("format");
    if (format == line.end()) return Fault{Kind::NoFormat, "the case has no \"format\" (the first line is the case)"};
    if (auto fault = format_fault(written)) return fault;
    if (auto fault = unknown_member(line, {"format", "separator", "case"})) return fault;

    const auto separator = line.find("separator");
    if (separator == line.end() || !separator->is_string()) {
        return Fault{Kind::NoSeparator,
                     "the case needs \"separator\", the decimal separator its texts are written with"};
    }
    if (!can_be_chosen_separator(separator->get<std::string>())) {
        return Fault{Kind::BadSeparator,
                     "\"separator\" must be one visible character that no reader could take for a digit, a sign or "
                     "an exponent; got '" +
                         separator->get<std::string>() + "'",
                     separator->get<std::string>()};
    }
    into.separator = numeric::DecimalSeparator(separator->get<std::string>());

    if (const auto described = line.find("case"); described != line.end()) {
        if (!described->is_object()) return Fault{Kind::CaseNotObject, "\"case\" must be an object"};
        if (auto fault = unknown_member(*described, kCaseHeaderKeys, "case")) return fault;
        std::optional<Fault> fault;
        for (const CaseHeaderMember& member : kCaseHeaderMembers) {
            into.header.*member.text = optional_text(*described, std::string(member.key), fault);
        }
        if (fault) return fault;
    }
    into.header_line = written;
    return std::nullopt;
}

std::optional<Fault> read_calculation(std::string_view written, const numeric::DecimalSeparator& separator,
                                      Calculation& into) {
    std::variant<Json, Fault> parsed = parse_line(written);
    if (auto* fault = std::get_if<Fault>(&parsed)) return *fault;
    return read_case_calculation(std::get<Json>(parsed), written, separator, into);
}

}  // namespace

std::variant<CaseFile, CaseError> read_case_file(std::string_view bytes) {
    if (bytes.find_first_not_of(" \t\r\n") == std::string_view::npos) {
        return CaseError{"the case file is empty (its first line is the case: {\"format\":1,\"separator\":\",\"})",
                         Kind::Empty};
    }
    if (const auto line = line_of_invalid_utf8(bytes)) {
        return at_line(*line, Fault{Kind::InvalidUtf8, "the text is not valid UTF-8"});
    }

    CaseFile file;
    std::unordered_set<std::string> ids;
    bool links_allowed = false;
    long number = 0;
    for (std::size_t start = 0; start < bytes.size();) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos) end = bytes.size();
        std::string_view line = bytes.substr(start, end - start);
        start = end + 1;
        ++number;
        if (line.ends_with('\r')) line.remove_suffix(1);
        if (line.size() > kMaxCaseLineBytes) {
            return at_line(number, Fault{Kind::LineTooLong, "the line is longer than 1 MiB"});
        }
        if (number == 1) {
            if (auto fault = read_header(line, file)) return at_line(number, std::move(*fault));
            links_allowed = written_member(file.header_line, "format") == std::to_string(kFormat);
            continue;
        }
        if (line.find_first_not_of(" \t") == std::string_view::npos) continue;
        Calculation calculation;
        calculation.line = number;
        if (auto fault = read_calculation(line, file.separator, calculation)) return at_line(number, std::move(*fault));
        if (!calculation.links.empty() && !links_allowed) {
            return at_line(number, Fault{Kind::UnknownMember, "unknown member 'links' (links need format 2)", "links"});
        }
        if (calculation.id && !ids.insert(id_identity(*calculation.id)).second) {
            return at_line(number,
                           Fault{Kind::IdTwice, "the id " + *calculation.id + " is given to an earlier calculation too",
                                 *calculation.id});
        }
        file.calculations.push_back(std::move(calculation));
    }
    file.lines = number;
    if (auto error = check_links(file)) return *std::move(error);
    return file;
}

}  // namespace vorlanex::casefile
