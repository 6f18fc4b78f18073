#include "cli/calc_command.h"

#include <cerrno>
#include <cstring>
#include <functional>
#include <istream>
#include <optional>
#include <ostream>
#include <set>
#include <string_view>
#include <variant>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli/report.h"
#include "numeric/faults.h"
#include "numeric/parse_number.h"
#include "page/field_map_port.h"
#include "page/press_calculate.h"
#include "registry/page_tree.h"
#include "version/version.h"

namespace vorlanex::cli {

namespace {

using Json = nlohmann::ordered_json;

constexpr std::string_view kUsage =
    "usage: vorlanex-calc [--separator C] PAGE [FIELD=TEXT ...]\n"
    "       vorlanex-calc [--separator C] --batch   (JSON Lines on standard input)\n"
    "       vorlanex-calc [--separator C] --list\n"
    "       vorlanex-calc [--separator C] --report PAGE [FIELD=TEXT ...] > report.html\n";

// --help: the manual page vorlanex-calc(1) in short.
constexpr std::string_view kHelp =
    "usage: vorlanex-calc [--separator C] PAGE [FIELD=TEXT ...]\n"
    "       vorlanex-calc [--separator C] --batch   < scenarios.jsonl\n"
    "       vorlanex-calc [--separator C] --list\n"
    "       vorlanex-calc [--separator C] --report PAGE [FIELD=TEXT ...] > report.html\n"
    "       vorlanex-calc --help | --version\n"
    "\n"
    "One press of \"Výpočet\" on one page of Vorlanex, without a window. Every event is one\n"
    "JSON line, in the order it happens: {\"warning\":TEXT}, {\"set\":FIELD,\"text\":TEXT} or\n"
    "{\"error\":TEXT} (a fault, which ends the run).\n"
    "\n"
    "  PAGE             kinematika, kinematika-meze, draha-zastaveni, rychlost-rozhledu,\n"
    "                   ees-katalog, ees-tuhosti, gev-evu or gev-definice\n"
    "  FIELD=TEXT       the field's text before the press; other fields keep the page's default text\n"
    "  --separator C, --separator=C\n"
    "                   the decimal separator: one character, not a digit, \"+\", \"-\", \"E\", \"e\",\n"
    "                   a space or a control character. Default: LC_NUMERIC as chosen by LC_ALL,\n"
    "                   LC_NUMERIC or LANG (cs_CZ.UTF-8 gives \",\"); \".\" when it cannot be read\n"
    "  --batch          one scenario per input line: {\"page\":KEY,\"fields\":{FIELD:TEXT,...},\"id\":ANY}\n"
    "                   (\"id\" optional); one answer per line with the input's \"line\" number and\n"
    "                   the \"id\": \"events\" and every field's text after the run in \"fields\",\n"
    "                   or \"usage_error\"; an error event names its \"field\" where it has one\n"
    "  --list           every page with its fields: id, role, name, unit, default text\n"
    "  --report         instead of JSON Lines, a printable Czech report of the run as one HTML page\n"
    "  --               ends the options\n"
    "\n"
    "Exit status: 0 the run completed (warnings allowed; a batch: every line was a scenario),\n"
    "1 a fault stopped the run, 2 usage error (a batch: some line was one), 3 the output could\n"
    "not be written. More in vorlanex-calc(1).\n";

// A batch line longer than this is refused unread, so one huge line cannot exhaust the memory.
constexpr std::size_t kMaxBatchLineBytes = std::size_t{1} << 20;

// One line of output; text that is not valid UTF-8 is replaced rather than rejected.
std::string json_line(const Json& value) {
    return value.dump(-1, ' ', false, Json::error_handler_t::replace) + "\n";
}

// The command's standard output. Every line is flushed and checked as it is written; after the
// first failed write nothing more is written, and the command stops.
class Output {
public:
    explicit Output(std::ostream& out) : out_(out) {}

    void write(std::string_view text) {
        if (failed()) return;
        errno = 0;
        out_ << text << std::flush;
        if (!out_) reason_ = errno != 0 ? std::strerror(errno) : "the stream refused it";
    }
    void line(const Json& value) { write(json_line(value)); }
    bool failed() const { return reason_.has_value(); }
    // Why the output failed, for the message on standard error.
    const std::string& reason() const { return *reason_; }

private:
    std::ostream& out_;
    std::optional<std::string> reason_;
};

struct UsageError {
    std::string message;
};

struct Scenario {
    const page::PageDefinition* page = nullptr;
    std::vector<std::pair<std::string, std::string>> fields;
};

// Checks a scenario against its page; the first problem as a usage error, or nothing.
std::optional<UsageError> check_scenario(const Scenario& scenario) {
    std::set<std::string_view> given;
    for (const auto& [id, text] : scenario.fields) {
        if (!scenario.page->find_field(id)) {
            return UsageError{"page '" + std::string(scenario.page->key) + "' has no field '" + id + "'"};
        }
        if (!given.insert(id).second) return UsageError{"field '" + id + "' is given twice"};
    }
    return std::nullopt;
}

std::optional<UsageError> find_page(std::string_view key, Scenario& scenario) {
    scenario.page = registry::find_page(key);
    if (!scenario.page) return UsageError{"unknown page '" + std::string(key) + "' (vorlanex-calc --list shows the pages)"};
    return std::nullopt;
}

// The page without a window that also remembers which field's text the calculation read last.
// A field's text is converted right after it is read, and converting the same text again fails
// again; so when a fault stopped the run and the text read last does not convert, its reading was
// the step that failed (a text that is not a number, or a value beyond the double range).
class CommandPort : public page::FieldMapPort {
public:
    using FieldMapPort::FieldMapPort;

    std::string text(std::string_view field_id) const override {
        last_read_ = field_id;
        return FieldMapPort::text(field_id);
    }
    // After a fault: the field whose text failed to convert, if that was the fault.
    std::optional<std::string> field_that_failed() const {
        if (last_read_.empty()) return std::nullopt;
        try {
            numeric::parse_number(FieldMapPort::text(last_read_), separator());
            return std::nullopt;
        } catch (const numeric::Fault&) {
            return last_read_;
        }
    }

private:
    mutable std::string last_read_;
};

using EventSink = std::function<void(const Json&)>;

// The page as it opens, with the scenario's field texts set; every later warning and write is
// handed to `event` as it happens.
CommandPort prepare_page(const Scenario& scenario, const numeric::DecimalSeparator& separator, const EventSink& event) {
    CommandPort port(*scenario.page, separator,
                     {[event](std::string_view message) { event(Json{{"warning", message}}); },
                      [event](std::string_view id, std::string_view text) { event(Json{{"set", id}, {"text", text}}); }});
    for (const auto& [id, text] : scenario.fields) port.preset(id, text);
    return port;
}

// One press of "Výpočet". True when the run completed, false when a fault stopped it; the fault's
// event names the field whose text failed to convert, when that was the fault.
bool run_page(const page::PageDefinition& page, CommandPort& port, const EventSink& event) {
    const std::optional<std::string> error_box = page::press_calculate(page, port);
    if (!error_box) return true;
    Json error{{"error", *error_box}};
    if (auto field = port.field_that_failed()) error["field"] = *field;
    event(error);
    return false;
}

// The run written as a printable report (cli/report.h) instead of its events; the run's exit status.
int run_report(const Scenario& scenario, const numeric::DecimalSeparator& separator, Output& out) {
    const Report report = make_report(*scenario.page, scenario.fields, separator, local_date());
    out.write(report.html);
    return report.completed ? kExitCompleted : kExitFault;
}

int run_single(const Scenario& scenario, const numeric::DecimalSeparator& separator, Output& out) {
    const EventSink print = [&out](const Json& e) { out.line(e); };
    CommandPort port = prepare_page(scenario, separator, print);
    return run_page(*scenario.page, port, print) ? kExitCompleted : kExitFault;
}

// Parses a batch line as JSON. A key given twice in one object (which a JSON reader would
// silently take the last of) is a usage error. An array, which no scenario has, and nesting deeper
// than a scenario's two objects are refused as soon as they are seen rather than built in memory.
std::variant<Json, UsageError> parse_json(const std::string& line) {
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
    Json request = Json::parse(line, watch, false);
    if (refused) return *refused;
    if (request.is_discarded()) return UsageError{"the line is not valid JSON"};
    return request;
}

// A batch line read: its scenario or the reason it cannot be one, and its "id" when it has one.
struct BatchLine {
    std::variant<Scenario, UsageError> content;
    std::optional<Json> id;
};

BatchLine parse_batch_line(const std::string& line) {
    std::variant<Json, UsageError> parsed = parse_json(line);
    if (auto* error = std::get_if<UsageError>(&parsed)) return {*error, std::nullopt};
    const Json& request = std::get<Json>(parsed);
    if (!request.is_object()) return {UsageError{"the line is not a JSON object"}, std::nullopt};

    BatchLine result{Scenario{}, std::nullopt};
    const auto refuse = [&result](std::string message) {
        result.content = UsageError{std::move(message)};
        return result;
    };
    if (const auto id = request.find("id"); id != request.end()) {
        if (!id->is_string() && !id->is_number()) return refuse("\"id\" must be a string or a number");
        result.id = *id;
    }
    for (const auto& [key, value] : request.items()) {
        if (key != "page" && key != "fields" && key != "id") return refuse("unknown key '" + key + "'");
    }
    const auto page_key = request.find("page");
    if (page_key == request.end() || !page_key->is_string()) return refuse("\"page\" must be a string");
    Scenario& scenario = std::get<Scenario>(result.content);
    if (auto error = find_page(page_key->get<std::string>(), scenario)) return refuse(error->message);
    if (const auto fields = request.find("fields"); fields != request.end()) {
        if (!fields->is_object()) return refuse("\"fields\" must be an object of field texts");
        for (const auto& [id, text] : fields->items()) {
            if (!text.is_string()) return refuse("the text of field '" + id + "' must be a string");
            scenario.fields.emplace_back(id, text.get<std::string>());
        }
    }
    if (auto error = check_scenario(scenario)) return refuse(error->message);
    return result;
}

enum class LineRead { Line, TooLong, End };

// Reads the next line of `in` (without its "\n") into `line`. A line longer than `limit` bytes is
// read to its end but not kept.
LineRead read_line(std::istream& in, std::string& line, std::size_t limit) {
    line.clear();
    std::streambuf& buffer = *in.rdbuf();
    bool any = false;
    bool too_long = false;
    for (;;) {
        const int c = buffer.sbumpc();
        if (c == std::char_traits<char>::eof()) break;
        any = true;
        if (c == '\n') break;
        if (line.size() < limit) {
            line += static_cast<char>(c);
        } else {
            too_long = true;
        }
    }
    if (!any) return LineRead::End;
    return too_long ? LineRead::TooLong : LineRead::Line;
}

bool is_blank(std::string_view line) { return line.find_first_not_of(" \t\r") == std::string_view::npos; }

int run_batch(const numeric::DecimalSeparator& separator, std::istream& in, Output& out) {
    bool usage_errors = false;
    std::string line;
    for (long number = 1; !out.failed(); ++number) {
        const LineRead read = read_line(in, line, kMaxBatchLineBytes);
        if (read == LineRead::End) break;
        Json result{{"line", number}};
        BatchLine batch_line{UsageError{"the line is longer than 1 MiB (1048576 bytes)"}, std::nullopt};
        if (read == LineRead::Line) {
            if (is_blank(line)) continue;
            batch_line = parse_batch_line(line);
        }
        if (batch_line.id) result["id"] = *batch_line.id;
        if (const auto* error = std::get_if<UsageError>(&batch_line.content)) {
            usage_errors = true;
            result["usage_error"] = error->message;
            out.line(result);
            continue;
        }
        const Scenario& scenario = std::get<Scenario>(batch_line.content);
        Json events = Json::array();
        const EventSink collect = [&events](const Json& e) { events.push_back(e); };
        CommandPort port = prepare_page(scenario, separator, collect);
        run_page(*scenario.page, port, collect);
        Json fields = Json::object();
        for (const page::Field& field : scenario.page->layout.fields) fields[std::string(field.id)] = port.text(field.id);
        result["events"] = std::move(events);
        result["fields"] = std::move(fields);
        out.line(result);
    }
    return usage_errors ? kExitUsage : kExitCompleted;
}

int run_list(const numeric::DecimalSeparator& separator, Output& out) {
    for (const page::PageDefinition* page : registry::calculation_pages()) {
        Json fields = Json::array();
        for (const page::Field& field : page->layout.fields) {
            fields.push_back(Json{{"id", field.id},
                                  {"role", field.role == page::FieldRole::Input ? "input" : "result"},
                                  {"name", field.accessible_name},
                                  {"unit", field.unit},
                                  {"default", page::default_text(field, separator)}});
        }
        out.line(Json{{"page", page->key}, {"fields", fields}});
    }
    return kExitCompleted;
}

// The command line read as getopt_long reads it: long options anywhere, each also by an
// unambiguous beginning of its name, a value after "=" or as the next argument, "--" ending the
// options; everything else is an operand.
struct Arguments {
    std::optional<std::string> separator;
    bool batch = false;
    bool list = false;
    bool report = false;
    bool help = false;
    bool version = false;
    std::vector<std::string> operands;
};

struct LongOption {
    std::string_view name;
    bool takes_value;
};

constexpr LongOption kLongOptions[] = {{"separator", true}, {"batch", false}, {"list", false}, {"report", false},
                                       {"help", false},      {"version", false}};

std::variant<Arguments, UsageError> read_arguments(std::span<const std::string> arguments) {
    Arguments result;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--") {
            result.operands.insert(result.operands.end(), arguments.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                                   arguments.end());
            break;
        }
        if (argument == "-h") {
            result.help = true;
            continue;
        }
        if (!argument.starts_with("--")) {
            if (argument.size() > 1 && argument.front() == '-') return UsageError{"unknown option '" + argument + "'"};
            result.operands.push_back(argument);
            continue;
        }
        const std::string_view written = std::string_view(argument).substr(2);
        const std::string_view name = written.substr(0, written.find('='));
        const LongOption* option = nullptr;
        for (const LongOption& candidate : kLongOptions) {
            if (candidate.name == name) {
                option = &candidate;
                break;
            }
            if (!name.empty() && candidate.name.starts_with(name)) {
                if (option) return UsageError{"option '--" + std::string(name) + "' is ambiguous"};
                option = &candidate;
            }
        }
        if (!option) return UsageError{"unknown option '" + argument + "'"};
        const std::string option_name = "--" + std::string(option->name);
        std::optional<std::string> value;
        if (name.size() < written.size()) value = std::string(written.substr(name.size() + 1));
        if (!option->takes_value) {
            if (value) return UsageError{option_name + " takes no value"};
        } else if (!value) {
            if (i + 1 == arguments.size()) return UsageError{option_name + " needs a character"};
            value = arguments[++i];
        }
        if (option->name == "separator") result.separator = value;
        if (option->name == "batch") result.batch = true;
        if (option->name == "list") result.list = true;
        if (option->name == "report") result.report = true;
        if (option->name == "help") result.help = true;
        if (option->name == "version") result.version = true;
    }
    return result;
}

int run(std::span<const std::string> arguments, const numeric::DecimalSeparator& regional_separator, std::istream& in,
        Output& out, std::ostream& err) {
    auto usage_error = [&](const std::string& message) {
        err << "vorlanex-calc: " << message << "\n" << kUsage;
        return kExitUsage;
    };
    const std::variant<Arguments, UsageError> read = read_arguments(arguments);
    if (const auto* error = std::get_if<UsageError>(&read)) return usage_error(error->message);
    const Arguments& options = std::get<Arguments>(read);
    if (options.help) {
        out.write(kHelp);
        return kExitCompleted;
    }
    if (options.version) {
        out.write("vorlanex-calc " + std::string(kVersion) + "\n");
        return kExitCompleted;
    }
    numeric::DecimalSeparator separator = regional_separator;
    if (options.separator) {
        if (!numeric::can_be_decimal_separator(*options.separator)) {
            return usage_error("--separator takes one visible character that is not a digit, \"+\", \"-\", \"E\", "
                               "\"e\" or a blank; got '" + *options.separator + "'");
        }
        separator = numeric::DecimalSeparator(*options.separator);
    }
    if (options.report && options.operands.empty()) return usage_error("--report needs PAGE");
    if (options.batch + options.list + !options.operands.empty() != 1) {
        return usage_error("give one of PAGE, --batch or --list");
    }
    if (options.list) return run_list(separator, out);
    if (options.batch) return run_batch(separator, in, out);

    Scenario scenario;
    if (auto error = find_page(options.operands.front(), scenario)) return usage_error(error->message);
    for (auto field = options.operands.begin() + 1; field != options.operands.end(); ++field) {
        const auto equals = field->find('=');
        if (equals == std::string::npos) return usage_error("expected FIELD=TEXT, got '" + *field + "'");
        scenario.fields.emplace_back(field->substr(0, equals), field->substr(equals + 1));
    }
    if (auto error = check_scenario(scenario)) return usage_error(error->message);
    if (options.report) return run_report(scenario, separator, out);
    return run_single(scenario, separator, out);
}

}  // namespace

int run_calc_command(std::span<const std::string> arguments, const numeric::DecimalSeparator& regional_separator,
                     std::istream& in, std::ostream& out, std::ostream& err) {
    Output output(out);
    const int status = run(arguments, regional_separator, in, output, err);
    if (!output.failed()) return status;
    err << "vorlanex-calc: the output could not be written (" << output.reason() << "); stopped\n";
    return kExitOutputFailed;
}

}  // namespace vorlanex::cli
