#pragma once
// The command's JSON output written straight into a text, byte for byte as the JSON library the
// command is built on (nlohmann/json) writes it: no blanks, strings as UTF-8 with only the quote,
// the backslash and the control characters escaped, and text that is not valid UTF-8 with each
// broken sequence replaced by U+FFFD. Each event is one object:
//   {"warning":"..."}   {"set":"R1","text":"6,865"}   {"error":"...","field":"I4"}
#include <optional>
#include <string>
#include <string_view>

namespace vorlanex::casefile {

// `text` as a JSON string, quotes included, appended to `out`.
void append_json_string(std::string& out, std::string_view text);

void append_warning_event(std::string& out, std::string_view message);
void append_set_event(std::string& out, std::string_view field_id, std::string_view text);
// `field` is the field whose text failed to convert, when that was the fault.
void append_error_event(std::string& out, std::string_view message, const std::optional<std::string>& field);

}  // namespace vorlanex::casefile
