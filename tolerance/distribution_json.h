#pragma once
// A field's tolerance written as a JSON object, as a case file's calculation holds it:
//   {"distribution":"normal","mean":"0,8","sd":"0,05","low":"0,6","high":"1"}
// Every member is a string; the numbers are texts under the number rules.
#include <string_view>
#include <variant>

#include <nlohmann/json.hpp>

#include "tolerance/distribution.h"

namespace vorlanex::tolerance {

// Parsed and checked; an error names the field (not an object, a member that is not a string, and
// everything parse_named_form refuses).
std::variant<Distribution, InputError> parse_json_form(std::string_view field, const nlohmann::json& object,
                                                       const numeric::DecimalSeparator& separator);
std::variant<Distribution, InputError> parse_json_form(std::string_view field, const nlohmann::ordered_json& object,
                                                       const numeric::DecimalSeparator& separator);

}  // namespace vorlanex::tolerance
