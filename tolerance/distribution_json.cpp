#include "tolerance/distribution_json.h"

#include <algorithm>
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
    const auto name = object.find("distribution");
    if (name == object.end() || !name->is_string()) return std::nullopt;
    const DistributionKind* kind = kind_named(name->get<std::string>());
    if (!kind) return std::nullopt;
    // The kind's pattern that names exactly the kind's numbers the object holds.
    const std::vector<KindNumber> numbers = kind_numbers(*kind);
    for (const ShortPattern& pattern : kind->patterns) {
        const std::vector<PatternPart> parts = pattern_parts(pattern.pattern);
        const bool fits = std::all_of(numbers.begin(), numbers.end(), [&](const KindNumber& number) {
            const bool named = std::any_of(parts.begin(), parts.end(), [&](const PatternPart& part) {
                return part.name == number.parameter->name;
            });
            return named == object.contains(std::string(number.parameter->name));
        });
        if (!fits) continue;
        std::string text;
        for (const PatternPart& part : parts) {
            const auto found = object.find(std::string(part.name));
            if (!found->is_string()) return std::nullopt;
            text += part.before;
            text += found->get<std::string>();
        }
        return text;
    }
    return std::nullopt;
}

}  // namespace vorlanex::tolerance
