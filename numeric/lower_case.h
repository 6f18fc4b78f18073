#pragma once
// Lower case without the C library's locale: a self-contained table of Unicode's one-to-one
// lowercase mappings for the Latin, Greek, Cyrillic and Armenian letters, so that the result never
// depends on the locale the program happens to run in.
#include <string>
#include <string_view>

namespace vorlanex::numeric {

// The lowercase letter of `code_point` (Unicode's simple mapping: "Ž" -> "ž", "İ"
// -> "i", "Σ" -> "σ"), or `code_point` itself when it has none or lies outside the table.
char32_t lower_case(char32_t code_point);

// `text` with every well-formed UTF-8 character lowered; any other byte is kept as it is.
std::string lower_case(std::string_view text);

}  // namespace vorlanex::numeric
