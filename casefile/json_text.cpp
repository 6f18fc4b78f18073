#include "casefile/json_text.h"

#include <array>

#include <nlohmann/json.hpp>

#include "numeric/utf8.h"

namespace vorlanex::casefile {

namespace {

// The escapes of the control characters: \b \t \n \f \r by name, the rest as \u00xx.
constexpr std::array<std::string_view, 0x20> kControlEscapes = [] {
    std::array<std::string_view, 0x20> escapes{
        "\\u0000", "\\u0001", "\\u0002", "\\u0003", "\\u0004", "\\u0005", "\\u0006", "\\u0007",
        "\\b",     "\\t",     "\\n",     "\\u000b", "\\f",     "\\r",     "\\u000e", "\\u000f",
        "\\u0010", "\\u0011", "\\u0012", "\\u0013", "\\u0014", "\\u0015", "\\u0016", "\\u0017",
        "\\u0018", "\\u0019", "\\u001a", "\\u001b", "\\u001c", "\\u001d", "\\u001e", "\\u001f"};
    return escapes;
}();

// Text that is not valid UTF-8 goes to the library itself, which decides how much of each broken
// sequence one U+FFFD replaces.
void append_broken_utf8(std::string& out, std::string_view text) {
    out += nlohmann::json(std::string(text)).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

}  // namespace

void append_json_string(std::string& out, std::string_view text) {
    const std::size_t start = out.size();
    out += '"';
    std::size_t plain_from = 0;  // bytes from here on are copied as they are
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte >= 0x80) {
            const std::size_t length = numeric::utf8_character_length(text.substr(i));
            if (length == 0) {
                out.resize(start);
                append_broken_utf8(out, text);
                return;
            }
            i += length;
            continue;
        }
        if (byte >= 0x20 && byte != '"' && byte != '\\') {
            ++i;
            continue;
        }
        out.append(text, plain_from, i - plain_from);
        out += byte < 0x20 ? kControlEscapes[byte] : byte == '"' ? std::string_view("\\\"") : std::string_view("\\\\");
        plain_from = ++i;
    }
    out.append(text, plain_from);
    out += '"';
}

void append_warning_event(std::string& out, std::string_view message) {
    out += R"({"warning":)";
    append_json_string(out, message);
    out += '}';
}

void append_set_event(std::string& out, std::string_view field_id, std::string_view text) {
    out += R"({"set":)";
    append_json_string(out, field_id);
    out += R"(,"text":)";
    append_json_string(out, text);
    out += '}';
}

void append_error_event(std::string& out, std::string_view message, const std::optional<std::string>& field) {
    out += R"({"error":)";
    append_json_string(out, message);
    if (field) {
        out += R"(,"field":)";
        append_json_string(out, *field);
    }
    out += '}';
}

}  // namespace vorlanex::casefile
