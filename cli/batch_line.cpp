#include "cli/batch_line.h"

#include <algorithm>
#include <charconv>
#include <set>
#include <variant>
#include <vector>

#include <nlohmann/json.hpp>

#include "casefile/calculation_line.h"
#include "numeric/utf8.h"
#include "registry/page_tree.h"

namespace vorlanex::cli {

namespace {

using Json = nlohmann::ordered_json;

// The most keys an object of a scenario has: the top level has three ("id", "page", "fields"),
// "fields" at most every field of the page with the most. A line with an object of more keys is
// refused as soon as the key after them is read, so a line of many keys costs no more than any
// other line of its length.
std::size_t most_keys_in_an_object() {
    static const std::size_t most = [] {
        std::size_t keys = 3;
        for (const page::PageDefinition* page : registry::calculation_pages()) {
            keys = std::max(keys, page->layout.fields.size());
        }
        return keys;
    }();
    return most;
}

UsageError too_many_keys() {
    return UsageError{"the line has an object of more than " + std::to_string(most_keys_in_an_object()) +
                      " keys, more than any scenario has"};
}

// A fault of the calculation line's reader as the batch's usage error: a fault of the scenario
// against its page keeps its kind and what it names, as check_scenario gives it.
UsageError usage_error(const casefile::LineFault& fault) {
    switch (fault.kind) {
        case casefile::CaseError::Kind::UnknownPage:
            return UsageError{fault.message, UsageError::Kind::UnknownPage, fault.subject};
        case casefile::CaseError::Kind::UnknownField:
            return UsageError{fault.message, UsageError::Kind::UnknownField, fault.subject};
        case casefile::CaseError::Kind::FieldTwice:
            return UsageError{fault.message, UsageError::Kind::FieldTwice, fault.subject};
        default: return UsageError{fault.message};
    }
}

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
    // A number as JSON writes one ("-12", "0", "1.5e3") within the range of a double (the JSON
    // library refuses a line with a number beyond it): its text as written.
    std::optional<std::string_view> plain_number() {
        skip_blanks();
        const std::size_t start = next_;
        take_byte('-');
        if (!take_byte('0') && take_digits() == 0) return std::nullopt;
        if (take_byte('.') && take_digits() == 0) return std::nullopt;
        if (take_byte('e') || take_byte('E')) {
            if (!take_byte('+')) take_byte('-');
            if (take_digits() == 0) return std::nullopt;
        }
        const std::string_view number = text_.substr(start, next_ - start);
        double value = 0;
        if (std::from_chars(number.data(), number.data() + number.size(), value).ec != std::errc()) return std::nullopt;
        return number;
    }

private:
    bool take_byte(char c) {
        if (next_ == text_.size() || text_[next_] != c) return false;
        ++next_;
        return true;
    }
    std::size_t take_digits() {
        const std::size_t start = next_;
        while (next_ < text_.size() && text_[next_] >= '0' && text_[next_] <= '9') ++next_;
        return next_ - start;
    }
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
                id = reader.plain_number();
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
                if (!text || into.scenario.fields.size() == most_keys_in_an_object()) return false;
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

// Thrown from the reading to stop it once the line is refused: nothing after the refusal can
// change the line's answer.
struct Refused {};

// Parses a batch line as JSON. A key given twice in one object (which a JSON reader would
// silently take the last of) is a usage error, and so is an object of more keys than a scenario
// has. An array, which no scenario has, and nesting deeper than a scenario's two objects are
// refused too. The first of these refusals in the line is its answer, and the reading stops there
// rather than build the rest in memory.
std::variant<Json, UsageError> parse_json(std::string_view line) {
    constexpr int kScenarioDepth = 2;                 // the scenario and its "fields"
    std::vector<std::set<std::string>> open_objects;  // the keys seen so far in each
    int depth = 0;
    std::string last_key;
    bool in_fields = false;  // the object now open is the scenario's "fields"
    std::optional<UsageError> refused;
    const auto refuse = [&refused](UsageError error) {
        refused = std::move(error);
        throw Refused{};
    };
    const auto watch = [&](int, Json::parse_event_t event, Json& parsed) {
        switch (event) {
            case Json::parse_event_t::array_start:
                refuse(UsageError{depth == 0 ? std::string(casefile::kLineNotObject)
                                             : "a scenario holds no arrays (the value of '" + last_key + "' is one)"});
                break;
            case Json::parse_event_t::object_start:
                if (++depth > kScenarioDepth) refuse(UsageError{"the line nests objects deeper than a scenario does"});
                in_fields = open_objects.size() == 1 && last_key == "fields";
                open_objects.emplace_back();
                break;
            case Json::parse_event_t::object_end:
                --depth;
                open_objects.pop_back();
                in_fields = false;
                break;
            case Json::parse_event_t::key: {
                last_key = parsed.get<std::string>();
                std::set<std::string>& keys = open_objects.back();
                if (!keys.insert(last_key).second) {
                    refuse(UsageError{(in_fields ? "field '" : "key '") + last_key + "' is given twice"});
                }
                if (keys.size() > most_keys_in_an_object()) refuse(too_many_keys());
                break;
            }
            default: break;
        }
        return true;
    };
    try {
        Json request = Json::parse(line.begin(), line.end(), watch, false);
        if (request.is_discarded()) return UsageError{std::string(casefile::kLineNotJson)};
        return request;
    } catch (const Refused&) {
        return *refused;
    }
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
        into.error = UsageError{std::string(casefile::kLineNotObject)};
        return;
    }
    casefile::Calculation read;
    read.scenario = std::move(into.scenario);  // its storage reused
    const std::optional<casefile::LineFault> fault = casefile::read_batch_calculation(request, line, read);
    into.scenario = std::move(read.scenario);
    into.id = std::move(read.id);
    if (fault) into.error = usage_error(*fault);
}

void read_batch_line(std::string_view line, BatchLine& into) {
    clear(into);
    if (!read_simply(line, into)) read_batch_line_generically(line, into);
}

}  // namespace vorlanex::cli
