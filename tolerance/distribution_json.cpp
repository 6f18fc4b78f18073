#include "tolerance/distribution_json.h"

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

}  // namespace vorlanex::tolerance
