#include "spis/case_document.h"

#include <algorithm>

#include "casefile/case_run.h"
#include "casefile/json_text.h"
#include "tolerance/distribution_json.h"

namespace vorlanex::spis {

namespace {

void append_member(std::string& out, std::string_view key, std::string_view written_value) {
    if (out.size() > 1) out += ',';
    casefile::append_json_string(out, key);
    out += ':';
    out += written_value;
}

void append_text_member(std::string& out, std::string_view key, const std::optional<std::string>& text) {
    if (!text) return;
    std::string value;
    casefile::append_json_string(value, *text);
    append_member(out, key, value);
}

std::string calculation_line(const CalculationEntry& entry) {
    std::string line = "{";
    if (entry.id) append_member(line, "id", *entry.id);
    append_text_member(line, "title", entry.title);
    append_text_member(line, "note", entry.note);
    append_text_member(line, "page", std::string(entry.page->key));
    std::string fields = "{";
    for (const auto& [id, text] : entry.typed) {
        if (fields.size() > 1) fields += ',';
        casefile::append_json_string(fields, id);
        fields += ':';
        casefile::append_json_string(fields, text);
    }
    fields += '}';
    append_member(line, "fields", fields);
    if (entry.tolerances) append_member(line, "tolerances", *entry.tolerances);
    line += '}';
    return line;
}

}  // namespace

std::string CalculationEntry::text(std::string_view field_id, const numeric::DecimalSeparator& separator) const {
    const auto found =
        std::find_if(typed.begin(), typed.end(), [&](const auto& field) { return field.first == field_id; });
    if (found != typed.end()) return found->second;
    const page::Field* field = page->find_field(field_id);
    return field ? page::default_text(*field, separator) : std::string();
}

void CalculationEntry::set_text(std::string_view field_id, std::string_view text) {
    const auto found =
        std::find_if(typed.begin(), typed.end(), [&](const auto& field) { return field.first == field_id; });
    if (found != typed.end()) {
        found->second = text;
    } else {
        typed.emplace_back(field_id, text);
    }
}

std::string CalculationEntry::tolerance_text(std::string_view field_id) const {
    if (!tolerances) return {};
    const auto object = nlohmann::ordered_json::parse(*tolerances, nullptr, false);
    if (!object.is_object()) return {};
    const auto found = object.find(field_id);
    if (found == object.end()) return {};
    return tolerance::short_form_of_json(*found).value_or(found->dump());
}

std::optional<tolerance::InputError> CalculationEntry::set_tolerance(std::string_view field_id,
                                                                     std::string_view short_form,
                                                                     const numeric::DecimalSeparator& separator) {
    auto object =
        tolerances ? nlohmann::ordered_json::parse(*tolerances, nullptr, false) : nlohmann::ordered_json::object();
    if (!object.is_object()) object = nlohmann::ordered_json::object();
    const std::string key(field_id);
    if (short_form.empty()) {
        object.erase(key);
    } else {
        auto named = tolerance::json_form_of_short(field_id, short_form, separator);
        if (auto* refused = std::get_if<tolerance::InputError>(&named)) return *refused;
        object[key] = std::get<nlohmann::ordered_json>(std::move(named));  // in place when it was there
    }
    tolerances = object.empty() ? std::nullopt : std::optional<std::string>(object.dump());
    return std::nullopt;
}

namespace {

// {"format":1,"separator":",","case":{…}}, the description's members in the case file's order.
std::string header_line(const numeric::DecimalSeparator& separator, const casefile::CaseHeader& header) {
    std::string line = R"({"format":)" + std::to_string(casefile::kFormat) + R"(,"separator":)";
    casefile::append_json_string(line, separator.text());
    std::string described = "{";
    append_text_member(described, "reference", header.reference);
    append_text_member(described, "title", header.title);
    append_text_member(described, "expert", header.expert);
    append_text_member(described, "created", header.created);
    append_text_member(described, "note", header.note);
    return line + R"(,"case":)" + described + "}}";
}

}  // namespace

CaseDocument new_case(const numeric::DecimalSeparator& separator) {
    return {header_line(separator, {}), separator, {}, {}};
}

void set_case_header(CaseDocument& document, const casefile::CaseHeader& header) {
    const auto same = [](const casefile::CaseHeader& a, const casefile::CaseHeader& b) {
        return a.reference == b.reference && a.title == b.title && a.expert == b.expert && a.created == b.created &&
               a.note == b.note;
    };
    if (same(document.header, header)) return;
    document.header = header;
    document.header_line = header_line(document.separator, header);
}

CaseDocument case_document(const casefile::CaseFile& file) {
    CaseDocument document{file.header_line, file.separator, {}, file.header};
    document.calculations.reserve(file.calculations.size());
    for (const casefile::Calculation& calculation : file.calculations) {
        document.calculations.push_back({calculation.scenario.page, calculation.id, calculation.title, calculation.note,
                                         calculation.scenario.fields, calculation.tolerances});
    }
    return document;
}

CalculationEntry new_calculation(const page::PageDefinition& page) { return {&page, {}, {}, {}, {}, {}}; }

std::variant<casefile::CaseFile, casefile::CaseError> as_case_file(const CaseDocument& document) {
    std::string text = document.header_line + "\n";
    for (const CalculationEntry& entry : document.calculations) text += calculation_line(entry) + "\n";
    return casefile::read_case_file(text);
}

std::variant<std::string, casefile::CaseError> case_file_text(const CaseDocument& document, std::string_view program) {
    auto file = as_case_file(document);
    if (const auto* error = std::get_if<casefile::CaseError>(&file)) return *error;
    return casefile::recorded_case(std::get<casefile::CaseFile>(file), program);
}

}  // namespace vorlanex::spis
