#include "tolerance/distribution_json.h"

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace vorlanex::tolerance {

namespace {

template <typename Json>
std::variant<Distribution, InputError> parse_object(std::string_view field, const Json& object,
                                                    const numeric::DecimalSeparator& separator) {
    const std::string prefix = "tolerance of field '" + std::string(field) + "': ";
    if (!object.is_object()) return InputError{prefix + "expected an object"};
    std::vector<std::pair<std::string, std::string>> members;
    for (const auto& [name, value] : object.items()) {
        if (!value.is_string()) return InputError{prefix + "\"" + name + "\" must be a string"};
        members.emplace_back(name, value.template get<std::string>());
    }
    return parse_named_form(field, members, separator);
}

}  // namespace

std::variant<Distribution, InputError> parse_json_form(std::string_view field, const nlohmann::json& object,
                                                       const numeric::DecimalSeparator& separator) {
    return parse_object(field, object, separator);
}

std::variant<Distribution, InputError> parse_json_form(std::string_view field, const nlohmann::ordered_json& object,
                                                       const numeric::DecimalSeparator& separator) {
    return parse_object(field, object, separator);
}

std::variant<nlohmann::ordered_json, InputError> json_form_of_short(std::string_view field, std::string_view text,
                                                                    const numeric::DecimalSeparator& separator) {
    if (auto checked = parse_short_form(field, text, separator); auto* failed = std::get_if<InputError>(&checked)) {
        return *failed;
    }
    const ShortForm form = std::get<ShortForm>(split_short_form(field, text, separator));
    nlohmann::ordered_json object = nlohmann::ordered_json::object();
    object["distribution"] = std::string(shape_name(form.shape));
    for (const auto& [name, part] : form.members) object[std::string(name)] = std::string(part);
    return object;
}

std::optional<std::string> short_form_of_json(const nlohmann::ordered_json& object) {
    if (!object.is_object()) return std::nullopt;
    const auto text = [&](const char* name) -> std::optional<std::string> {
        const auto found = object.find(name);
        if (found == object.end() || !found->is_string()) return std::nullopt;
        return found->get<std::string>();
    };
    const auto joined = [&](std::initializer_list<const char*> names,
                            std::string_view between) -> std::optional<std::string> {
        std::string out;
        for (const char* name : names) {
            const auto part = text(name);
            if (!part) return std::nullopt;
            if (name != *names.begin()) out += between;
            out += *part;
        }
        return out;
    };
    const auto kind = text("distribution");
    if (kind == "uniform") return joined({"low", "high"}, "..");
    if (kind == "triangular") return joined({"low", "mode", "high"}, "..");
    if (kind != "normal") return std::nullopt;
    const auto centre = joined({"mean", "sd"}, "~");
    if (!centre || (!object.contains("low") && !object.contains("high"))) return centre;
    const auto cut = joined({"low", "high"}, "..");
    if (!cut) return std::nullopt;
    return *centre + "~" + *cut;
}

}  // namespace vorlanex::tolerance
