#pragma once
// A field's tolerance written as a JSON object, as a case file's calculation holds it:
//   {"distribution":"normal","mean":"0,8","sd":"0,05","low":"0,6","high":"1"}
// Every member is a string; the numbers are texts under the number rules.
#include <optional>
#include <string>
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

// The named form of a short form ("14..16" gives {"distribution":"uniform","low":"14","high":"16"}),
// every number the text exactly as typed; or why parse_short_form refuses the short form.
std::variant<nlohmann::ordered_json, InputError> json_form_of_short(std::string_view field, std::string_view text,
                                                                    const numeric::DecimalSeparator& separator);

// The short form of a named form, its texts as written and joined with ".." and "~"; nothing when
// the object is not one a short form writes (a member that is not a string, an unknown
// distribution, a missing number, a normal distribution cut on one side only).
std::optional<std::string> short_form_of_json(const nlohmann::ordered_json& object);

}  // namespace vorlanex::tolerance
