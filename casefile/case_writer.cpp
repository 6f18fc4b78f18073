#include "casefile/case_writer.h"

#include <functional>

#include <nlohmann/json.hpp>

#include "casefile/case_links.h"
#include "casefile/json_text.h"
#include "casefile/linked_run.h"
#include "casefile/written_json.h"

namespace vorlanex::casefile {

namespace {

void append_member(std::string& out, std::string_view key, std::string_view written_value) {
    if (out.size() > 1) out += ',';
    append_json_string(out, key);
    out += ':';
    out += written_value;
}

void append_text_member(std::string& out, std::string_view key, const std::optional<std::string>& text) {
    if (!text) return;
    std::string value;
    append_json_string(value, *text);
    append_member(out, key, value);
}

// The format the case is written in: 2 when a calculation has links, else 1.
int format_of(const CaseFile& file) { return has_links(file) ? kFormat : kFormatWithoutLinks; }

// {"format":1,"separator":",","case":{…}}, the description's members in the case file's order.
std::string header_line(const numeric::DecimalSeparator& separator, const CaseHeader& header, int format) {
    std::string line = R"({"format":)" + std::to_string(format) + R"(,"separator":)";
    append_json_string(line, separator.text());
    std::string described = "{";
    for (const CaseHeaderMember& member : kCaseHeaderMembers) {
        append_text_member(described, member.key, header.*member.text);
    }
    return line + R"(,"case":)" + described + "}}";
}

// Whether the key token `written` (quotes and escapes as written) is `key`: read as JSON only when it
// holds an escape, as keys seldom do.
bool is_key(std::string_view written, std::string_view key) {
    if (written.find('\\') == std::string_view::npos) {
        return written.size() == key.size() + 2 && written.substr(1, key.size()) == key;
    }
    return nlohmann::ordered_json::parse(written).get<std::string>() == key;
}

// The calculation's members without "recorded": as written, or anew.
std::string members_of(const Calculation& calculation) {
    std::string members = "{";
    if (!calculation.written.empty()) {
        for (const WrittenMember& member : written_members(calculation.written)) {
            if (is_key(member.key, "recorded")) continue;
            if (members.size() > 1) members += ',';
            members += member.key;
            members += ':';
            members += member.value;
        }
        return members;
    }
    if (calculation.id) append_member(members, "id", *calculation.id);
    append_text_member(members, "title", calculation.title);
    append_text_member(members, "note", calculation.note);
    append_text_member(members, "page", std::string(calculation.scenario.page->key));
    std::string fields = "{";
    for (const auto& [id, text] : calculation.scenario.fields) {
        if (fields.size() > 1) fields += ',';
        append_json_string(fields, id);
        fields += ':';
        append_json_string(fields, text);
    }
    append_member(members, "fields", fields + '}');
    if (!calculation.links.empty()) {
        std::string links = "{";
        for (const Link& link : calculation.links) {
            if (links.size() > 1) links += ',';
            append_json_string(links, link.input);
            links += R"(:{"from":)" + link.from + R"(,"field":)";
            append_json_string(links, link.field);
            links += '}';
        }
        append_member(members, "links", links + '}');
    }
    if (calculation.tolerances) append_member(members, "tolerances", *calculation.tolerances);
    if (!calculation.analyses.empty()) append_member(members, "analyses", analyses_json(calculation.analyses));
    return members;
}

// The case's line as written, its "format" made `format` where it was another.
std::string header_of_format(std::string_view written, int format) {
    const std::string wanted = std::to_string(format);
    const std::optional<std::string_view> token = written_member(written, "format");
    if (!token || *token == wanted) return std::string(written);
    const std::size_t at = static_cast<std::size_t>(token->data() - written.data());
    return std::string(written.substr(0, at)) + wanted + std::string(written.substr(at + token->size()));
}

// The line each calculation is written on. A case whose calculations are all as read, in the
// file's order, keeps its blank lines; once one is edited, added or moved, the lines follow one
// another.
std::vector<long> written_lines(const CaseFile& file) {
    bool as_read = true;
    long previous = 1;
    for (const Calculation& calculation : file.calculations) {
        as_read = as_read && !calculation.written.empty() && calculation.line > previous;
        previous = calculation.line;
    }
    std::vector<long> lines;
    lines.reserve(file.calculations.size());
    long line = 1;
    for (const Calculation& calculation : file.calculations) lines.push_back(as_read ? calculation.line : ++line);
    return lines;
}

// The calculation's members and its outcome recorded by `program`, appended to `out`.
void append_calculation(std::string& out, const Calculation& calculation, std::string_view program,
                        std::string_view outcome) {
    out += members_of(calculation);
    out += R"(,"recorded":{"program":)";
    append_json_string(out, program);
    out += ',';
    out += outcome;
    out += "}}";
}

// The case's text, calculation i's outcome `outcome_of(i)`: where that is none, its line as written
// is the line (or, without one, it is run).
std::string write_case(const CaseFile& file, std::string_view program,
                       const std::function<const std::string*(std::size_t)>& outcome_of) {
    const std::vector<long> lines = written_lines(file);
    std::size_t size = file.header_line.size() + 1 + static_cast<std::size_t>(lines.empty() ? 0 : lines.back());
    for (const Calculation& calculation : file.calculations) size += calculation.written.size();
    std::string out;
    out.reserve(size);
    out += case_line_text(file);
    out += '\n';
    long line = 1;
    for (std::size_t i = 0; i < file.calculations.size(); ++i) {
        for (++line; line < lines[i]; ++line) out += '\n';  // the blank lines stay
        const Calculation& calculation = file.calculations[i];
        if (const std::string* outcome = outcome_of(i)) {
            append_calculation(out, calculation, program, *outcome);
        } else if (!calculation.written.empty()) {
            out += calculation.written;
        } else {
            append_calculation(out, calculation, program, run_in_case(file, i).outcome());
        }
        out += '\n';
    }
    return out;
}

}  // namespace

CaseFile new_case(const numeric::DecimalSeparator& separator) {
    CaseFile file{header_line(separator, {}, kFormatWithoutLinks), {}, separator, {}, 1};
    return file;
}

Calculation new_calculation(const page::PageDefinition& page) {
    Calculation calculation;
    calculation.scenario.page = &page;
    return calculation;
}

Calculation copy_of(const Calculation& calculation) {
    Calculation copy = calculation;
    copy.id.reset();
    copy.written.clear();
    copy.line = 0;
    copy.recorded.reset();
    return copy;
}

bool set_case_header(CaseFile& file, const CaseHeader& header) {
    if (file.header == header) return false;
    file.header = header;
    file.header_line = header_line(file.separator, header, format_of(file));
    return true;
}

std::string case_file_text(const CaseFile& file, std::string_view program, std::span<const RecordedRun> runs) {
    return write_case(file, program, [&](std::size_t i) { return &runs[i].outcome(); });
}

std::string case_file_text(const CaseFile& file, std::string_view program) {
    return case_file_text(file, program, run_case(file));
}

std::string case_file_text(const CaseFile& file, std::string_view program,
                           std::span<const std::optional<std::string>> outcomes) {
    return write_case(file, program, [&](std::size_t i) { return outcomes[i] ? &*outcomes[i] : nullptr; });
}

std::string calculation_line(const Calculation& calculation, std::string_view program, std::string_view outcome) {
    std::string line;
    append_calculation(line, calculation, program, outcome);
    return line;
}

void take_written_line(Calculation& calculation, std::string line, std::string_view program, std::string_view outcome) {
    const std::string object = "{" + std::string(outcome) + "}";
    calculation.recorded = Recorded{std::string(program), std::string(written_member(object, "events").value_or("[]")),
                                    std::string(written_member(object, "fields").value_or("{}"))};
    calculation.written = std::move(line);
}

void number_lines(CaseFile& file) {
    const std::vector<long> lines = written_lines(file);
    for (std::size_t i = 0; i < file.calculations.size(); ++i) file.calculations[i].line = lines[i];
    file.lines = file.calculations.empty() ? 1 : lines.back();
}

std::string case_line_text(const CaseFile& file) { return header_of_format(file.header_line, format_of(file)); }

}  // namespace vorlanex::casefile
