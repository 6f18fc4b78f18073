#include "cli/batch_line.h"

#include <set>
#include <variant>
#include <vector>

#include <nlohmann/json.hpp>

#include "numeric/utf8.h"

namespace vorlanex::cli {

namespace {

using Json = nlohmann::ordered_json;

void clear(BatchLine& line) {
    line.scenario.page = nullptr;
    line.scenario.fields.clear();
    line.error.reset();
    line.id.reset();
}

// The checks that follow the reading, in the order the generic reader makes them.
void check_page_and_fields(std::string_view page_key, BatchLine& into) {
    if (auto error = find_page(page_key, into.scenario)) {
        into.error = std::move(error);
        return;
    }
    into.error = check_scenario(into.scenario);
}

// ---- The small reader ----

// A cursor over a line in the usual shape. Each read gives nothing when the text is not in the
// simple form it reads; the line then goes to the JSON library.
class SimpleLine {
public:
    explicit SimpleLine(std::string_view text) : text_(text) {}

    bool at_end() {
        skip_blanks();
        return next_ == text_.size();
    }
    bool take(char c) {
        skip_blanks();
        if (next_ == text_.size() || text_[next_] != c) return false;
        ++next_;
        return true;
    }
    bool next_is(char c) {
        skip_blanks();
        return next_ < text_.size() && text_[next_] == c;
    }
    // A string with no escape, no control character and valid UTF-8: its text as written.
    std::optional<std::string_view> plain_string() {
        if (!take('"')) return std::nullopt;
        const std::size_t start = next_;
        while (next_ < text_.size()) {
            const auto byte = static_cast<unsigned char>(text_[next_]);
            if (byte == '"') return text_.substr(start, next_++ - start);
            if (byte == '\\' || byte < 0x20) return std::nullopt;
            if (byte < 0x80) {
                ++next_;
            } else {
                const std::size_t length = numeric::utf8_character_length(text_.substr(next_));
                if (length == 0) return std::nullopt;
                next_ += length;
            }
        }
        return std::nullopt;
    }
    // An integer that the JSON library writes back exactly as written: "0", or up to 18 digits
    // without a leading zero, with or without a minus.
    std::optional<std::string_view> plain_integer() {
        skip_blanks();
        const std::size_t start = next_;
        if (next_ < text_.size() && text_[next_] == '-') ++next_;
        const std::size_t digits = next_;
        while (next_ < text_.size() && text_[next_] >= '0' && text_[next_] <= '9') ++next_;
        const std::size_t count = next_ - digits;
        if (count == 0 || count > 18 || (text_[digits] == '0' && (count > 1 || digits > start))) return std::nullopt;
        if (next_ < text_.size() && (text_[next_] == '.' || text_[next_] == 'e' || text_[next_] == 'E')) {
            return std::nullopt;
        }
        return text_.substr(start, next_ - start);
    }

private:
    void skip_blanks() {
        while (next_ < text_.size() &&
               (text_[next_] == ' ' || text_[next_] == '\t' || text_[next_] == '\n' || text_[next_] == '\r')) {
            ++next_;
        }
    }

    std::string_view text_;
    std::size_t next_ = 0;
};

// Reads a line in the usual shape; false when the line is not in it, and `into` is then to be
// read again by the JSON library.
bool read_simply(std::string_view line, BatchLine& into) {
    SimpleLine reader(line);
    if (!reader.take('{')) return false;
    std::optional<std::string_view> page_key;
    bool has_fields = false;
    bool first = true;
    while (!reader.take('}')) {
        if (!first && !reader.take(',')) return false;
        first = false;
        const std::optional<std::string_view> key = reader.plain_string();
        if (!key || !reader.take(':')) return false;
        if (*key == "id") {
            if (into.id) return false;
            std::optional<std::string_view> id;
            if (reader.next_is('"')) {
                id = reader.plain_string();
                if (id) into.id = "\"" + std::string(*id) + "\"";  // written back as it is written
            } else {
                id = reader.plain_integer();
                if (id) into.id = std::string(*id);
            }
            if (!id) return false;
        } else if (*key == "page") {
            if (page_key) return false;
            page_key = reader.plain_string();
            if (!page_key) return false;
        } else if (*key == "fields") {
            if (has_fields || !reader.take('{')) return false;
            has_fields = true;
            bool first_field = true;
            while (!reader.take('}')) {
                if (!first_field && !reader.take(',')) return false;
                first_field = false;
                const std::optional<std::string_view> id = reader.plain_string();
                if (!id || !reader.take(':')) return false;
                const std::optional<std::string_view> text = reader.plain_string();
                if (!text) return false;
                for (const auto& [given, _] : into.scenario.fields) {
                    if (given == *id) return false;  // given twice: the library words the refusal
                }
                into.scenario.fields.emplace_back(*id, *text);
            }
        } else {
            return false;
        }
    }
    if (!reader.at_end() || !page_key) return false;
    check_page_and_fields(*page_key, into);
    return true;
}

// ---- The JSON library ----

// Parses a batch line as JSON. A key given twice in one object (which a JSON reader would
// silently take the last of) is a usage error. An array, which no scenario has, and nesting deeper
// than a scenario's two objects are refused as soon as they are seen rather than built in memory.
std::variant<Json, UsageError> parse_json(std::string_view line) {
    constexpr int kScenarioDepth = 2;                 // the scenario and its "fields"
    std::vector<std::set<std::string>> open_objects;  // the keys seen so far in each
    int depth = 0;
    std::string last_key;
    bool in_fields = false;  // the object now open is the scenario's "fields"
    std::optional<UsageError> refused;
    const auto watch = [&](int, Json::parse_event_t event, Json& parsed) {
        switch (event) {
        case Json::parse_event_t::array_start:
            ++depth;
            if (!refused) {
                refused = UsageError{depth == 1 ? "the line is not a JSON object"
                                                : "a scenario holds no arrays (the value of '" + last_key + "' is one)"};
            }
            return false;
        case Json::parse_event_t::object_start:
            if (++depth > kScenarioDepth) {
                if (!refused) refused = UsageError{"the line nests objects deeper than a scenario does"};
                return false;
            }
            in_fields = open_objects.size() == 1 && last_key == "fields";
            open_objects.emplace_back();
            break;
        case Json::parse_event_t::array_end:
            --depth;
            break;
        case Json::parse_event_t::object_end:
            if (depth-- > kScenarioDepth) break;
            open_objects.pop_back();
            in_fields = false;
            break;
        case Json::parse_event_t::key:
            if (depth > kScenarioDepth) break;
            last_key = parsed.get<std::string>();
            if (!open_objects.back().insert(last_key).second && !refused) {
                refused = UsageError{(in_fields ? "field '" : "key '") + last_key + "' is given twice"};
            }
            break;
        default:
            break;
        }
        return true;
    };
    Json request = Json::parse(line.begin(), line.end(), watch, false);
    if (refused) return *refused;
    if (request.is_discarded()) return UsageError{"the line is not valid JSON"};
    return request;
}

}  // namespace

void read_batch_line_generically(std::string_view line, BatchLine& into) {
    clear(into);
    std::variant<Json, UsageError> parsed = parse_json(line);
    if (auto* error = std::get_if<UsageError>(&parsed)) {
        into.error = std::move(*error);
        return;
    }
    const Json& request = std::get<Json>(parsed);
    if (!request.is_object()) {
        into.error = UsageError{"the line is not a JSON object"};
        return;
    }
    if (const auto id = request.find("id"); id != request.end()) {
        if (!id->is_string() && !id->is_number()) {
            into.error = UsageError{"\"id\" must be a string or a number"};
            return;
        }
        into.id = id->dump(-1, ' ', false, Json::error_handler_t::replace);
    }
    for (const auto& [key, value] : request.items()) {
        if (key != "page" && key != "fields" && key != "id") {
            into.error = UsageError{"unknown key '" + key + "'"};
            return;
        }
    }
    const auto page_key = request.find("page");
    if (page_key == request.end() || !page_key->is_string()) {
        into.error = UsageError{"\"page\" must be a string"};
        return;
    }
    if (auto error = find_page(page_key->get<std::string>(), into.scenario)) {
        into.error = std::move(error);
        return;
    }
    if (const auto fields = request.find("fields"); fields != request.end()) {
        if (!fields->is_object()) {
            into.error = UsageError{"\"fields\" must be an object of field texts"};
            return;
        }
        for (const auto& [id, text] : fields->items()) {
            if (!text.is_string()) {
                into.error = UsageError{"the text of field '" + id + "' must be a string"};
                return;
            }
            into.scenario.fields.emplace_back(id, text.get<std::string>());
        }
    }
    into.error = check_scenario(into.scenario);
}

void read_batch_line(std::string_view line, BatchLine& into) {
    clear(into);
    if (!read_simply(line, into)) read_batch_line_generically(line, into);
}

}  // namespace vorlanex::cli
