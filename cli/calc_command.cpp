#include "cli/calc_command.h"

#include <istream>
#include <functional>
#include <optional>
#include <ostream>
#include <string_view>
#include <variant>
#include <vector>

#include <nlohmann/json.hpp>

#include "page/field_map_port.h"
#include "page/press_calculate.h"
#include "registry/page_tree.h"

namespace vorlanex::cli {

namespace {

using page::FieldMapPort;
using Json = nlohmann::ordered_json;

constexpr std::string_view kUsage =
    "usage: vorlanex-calc [--separator C] PAGE [FIELD=TEXT ...]\n"
    "       vorlanex-calc [--separator C] --batch   (JSON Lines on standard input)\n"
    "       vorlanex-calc [--separator C] --list\n";

// One line of output; text that is not valid UTF-8 is replaced rather than rejected.
std::string json_line(const Json& value) {
    return value.dump(-1, ' ', false, Json::error_handler_t::replace) + "\n";
}

struct UsageError {
    std::string message;
};

struct Scenario {
    const page::PageDefinition* page = nullptr;
    std::vector<std::pair<std::string, std::string>> fields;
};

// Checks a scenario against its page; the first problem as a usage error, or nothing.
std::optional<UsageError> check_scenario(const Scenario& scenario) {
    for (const auto& [id, text] : scenario.fields) {
        if (!scenario.page->find_field(id)) {
            return UsageError{"page '" + std::string(scenario.page->key) + "' has no field '" + id + "'"};
        }
    }
    return std::nullopt;
}

std::optional<UsageError> find_page(std::string_view key, Scenario& scenario) {
    scenario.page = registry::find_page(key);
    if (!scenario.page) return UsageError{"unknown page '" + std::string(key) + "' (vorlanex-calc --list shows the pages)"};
    return std::nullopt;
}

using EventSink = std::function<void(const Json&)>;

// The page as it opens, with the scenario's field texts set; every later warning and write is
// handed to `event` as it happens.
FieldMapPort prepare_page(const Scenario& scenario, const numeric::DecimalSeparator& separator, const EventSink& event) {
    FieldMapPort port(*scenario.page, separator,
                      {[event](std::string_view message) { event(Json{{"warning", message}}); },
                       [event](std::string_view id, std::string_view text) { event(Json{{"set", id}, {"text", text}}); }});
    for (const auto& [id, text] : scenario.fields) port.preset(id, text);
    return port;
}

// One press of "Výpočet". True when the run completed, false when a fault stopped it.
bool run_page(const page::PageDefinition& page, FieldMapPort& port, const EventSink& event) {
    const std::optional<std::string> error_box = page::press_calculate(page, port);
    if (error_box) event(Json{{"error", *error_box}});
    return !error_box;
}

int run_single(const Scenario& scenario, const numeric::DecimalSeparator& separator, std::ostream& out) {
    const EventSink print = [&out](const Json& e) { out << json_line(e) << std::flush; };
    FieldMapPort port = prepare_page(scenario, separator, print);
    return run_page(*scenario.page, port, print) ? kExitCompleted : kExitFault;
}

// One batch line to its scenario, or the reason it cannot be one.
std::variant<Scenario, UsageError> parse_batch_line(const std::string& line) {
    const Json request = Json::parse(line, nullptr, false);
    if (request.is_discarded()) return UsageError{"the line is not valid JSON"};
    if (!request.is_object()) return UsageError{"the line is not a JSON object"};
    const auto page_key = request.find("page");
    if (page_key == request.end() || !page_key->is_string()) return UsageError{"\"page\" must be a string"};
    Scenario scenario;
    if (auto error = find_page(page_key->get<std::string>(), scenario)) return *error;
    if (const auto fields = request.find("fields"); fields != request.end()) {
        if (!fields->is_object()) return UsageError{"\"fields\" must be an object of field texts"};
        for (const auto& [id, text] : fields->items()) {
            if (!text.is_string()) return UsageError{"the text of field '" + id + "' must be a string"};
            scenario.fields.emplace_back(id, text.get<std::string>());
        }
    }
    for (const auto& [key, value] : request.items()) {
        if (key != "page" && key != "fields") return UsageError{"unknown key '" + key + "'"};
    }
    if (auto error = check_scenario(scenario)) return *error;
    return scenario;
}

int run_batch(const numeric::DecimalSeparator& separator, std::istream& in, std::ostream& out) {
    std::string line;
    while (std::getline(in, line)) {
        if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
        auto parsed = parse_batch_line(line);
        if (auto* error = std::get_if<UsageError>(&parsed)) {
            out << json_line(Json{{"usage_error", error->message}});
            continue;
        }
        const Scenario& scenario = std::get<Scenario>(parsed);
        Json events = Json::array();
        const EventSink collect = [&events](const Json& e) { events.push_back(e); };
        FieldMapPort port = prepare_page(scenario, separator, collect);
        run_page(*scenario.page, port, collect);
        Json fields = Json::object();
        for (const page::Field& field : scenario.page->layout.fields) fields[std::string(field.id)] = port.text(field.id);
        out << json_line(Json{{"events", events}, {"fields", fields}}) << std::flush;
    }
    return kExitCompleted;
}

int run_list(const numeric::DecimalSeparator& separator, std::ostream& out) {
    for (const page::PageDefinition* page : registry::calculation_pages()) {
        Json fields = Json::array();
        for (const page::Field& field : page->layout.fields) {
            fields.push_back(Json{{"id", field.id},
                                  {"role", field.role == page::FieldRole::Input ? "input" : "result"},
                                  {"name", field.accessible_name},
                                  {"unit", field.unit},
                                  {"default", page::default_text(field, separator)}});
        }
        out << json_line(Json{{"page", page->key}, {"fields", fields}});
    }
    return kExitCompleted;
}

}  // namespace

int run_calc_command(std::span<const std::string> arguments, const numeric::DecimalSeparator& regional_separator,
                     std::istream& in, std::ostream& out, std::ostream& err) {
    auto usage_error = [&](const std::string& message) {
        err << "vorlanex-calc: " << message << "\n" << kUsage;
        return kExitUsage;
    };
    numeric::DecimalSeparator separator = regional_separator;
    bool batch = false, list = false;
    std::optional<std::string> page_key;
    Scenario scenario;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--separator") {
            if (i + 1 == arguments.size()) return usage_error("--separator needs a character");
            const numeric::DecimalSeparator chosen(arguments[++i]);
            if (chosen.text() != arguments[i]) return usage_error("--separator takes exactly one character");
            separator = chosen;
        } else if (argument == "--batch") {
            batch = true;
        } else if (argument == "--list") {
            list = true;
        } else if (argument == "--help" || argument == "-h") {
            out << kUsage;
            return kExitCompleted;
        } else if (argument.starts_with("--")) {
            return usage_error("unknown option '" + argument + "'");
        } else if (!page_key) {
            page_key = argument;
        } else {
            const auto equals = argument.find('=');
            if (equals == std::string::npos) return usage_error("expected FIELD=TEXT, got '" + argument + "'");
            scenario.fields.emplace_back(argument.substr(0, equals), argument.substr(equals + 1));
        }
    }
    if (batch + list + page_key.has_value() != 1) return usage_error("give one of PAGE, --batch or --list");
    if (list) return run_list(separator, out);
    if (batch) return run_batch(separator, in, out);
    if (auto error = find_page(*page_key, scenario)) return usage_error(error->message);
    if (auto error = check_scenario(scenario)) return usage_error(error->message);
    return run_single(scenario, separator, out);
}

}  // namespace vorlanex::cli
