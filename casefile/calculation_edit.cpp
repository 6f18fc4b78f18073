#include <algorithm>

#include <nlohmann/json.hpp>

#include "casefile/case_file.h"
#include "tolerance/distribution_json.h"

namespace vorlanex::casefile {

std::string Calculation::text(std::string_view field_id, const numeric::DecimalSeparator& separator) const {
    const auto& typed = scenario.fields;
    const auto found =
        std::find_if(typed.begin(), typed.end(), [&](const auto& field) { return field.first == field_id; });
    if (found != typed.end()) return found->second;
    const page::Field* field = scenario.page->find_field(field_id);
    return field ? page::default_text(*field, separator) : std::string();
}

void Calculation::set_text(std::string_view field_id, std::string_view text) {
    auto& typed = scenario.fields;
    const auto found =
        std::find_if(typed.begin(), typed.end(), [&](const auto& field) { return field.first == field_id; });
    if (found != typed.end()) {
        found->second = text;
    } else {
        typed.emplace_back(field_id, text);
    }
    written.clear();
}

void Calculation::set_description(std::optional<std::string> Calculation::*member, std::optional<std::string> text) {
    this->*member = text && !text->empty() ? std::move(text) : std::nullopt;
    written.clear();
}

std::string Calculation::tolerance_text(std::string_view field_id) const {
    if (!tolerances) return {};
    const auto object = nlohmann::ordered_json::parse(*tolerances, nullptr, false);
    if (!object.is_object()) return {};
    const auto found = object.find(field_id);
    if (found == object.end()) return {};
    return tolerance::short_form_of_json(*found).value_or(found->dump());
}

std::optional<tolerance::InputError> Calculation::set_tolerance(std::string_view field_id, std::string_view short_form,
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
    written.clear();
    return std::nullopt;
}

const Link* Calculation::link_of(std::string_view input) const {
    const auto found = std::find_if(links.begin(), links.end(), [&](const Link& link) { return link.input == input; });
    return found == links.end() ? nullptr : &*found;
}

void Calculation::set_link(std::string_view input, std::string from, std::string field) {
    Link link{std::string(input), std::move(from), std::move(field)};
    const auto found = std::find_if(links.begin(), links.end(), [&](const Link& held) { return held.input == input; });
    if (found != links.end()) {
        *found = std::move(link);
    } else {
        links.push_back(std::move(link));
    }
    std::erase_if(scenario.fields, [&](const auto& typed) { return typed.first == input; });
    written.clear();
}

void Calculation::remove_link(std::string_view input) {
    std::erase_if(links, [&](const Link& link) { return link.input == input; });
    written.clear();
}

bool same_inputs(const Calculation& a, const Calculation& b) {
    return a.scenario.page == b.scenario.page && a.scenario.fields == b.scenario.fields && a.tolerances == b.tolerances;
}

void Calculation::set_analyses(const Analyses& kept) {
    analyses = kept;
    written.clear();
}

}  // namespace vorlanex::casefile
