#include "cli/calc_command.h"

#include <charconv>
#include <optional>
#include <string_view>
#include <variant>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli/batch.h"
#include "cli/output.h"
#include "cli/report.h"
#include "cli/scenario.h"
#include "registry/page_tree.h"
#include "version/version.h"

namespace vorlanex::cli {

namespace {

using Json = nlohmann::ordered_json;

constexpr std::string_view kUsage =
    "usage: vorlanex-calc [--separator C] PAGE [FIELD=TEXT ...]\n"
    "       vorlanex-calc [--separator C] [--jobs N] --batch   (JSON Lines on standard input)\n"
    "       vorlanex-calc [--separator C] --list\n"
    "       vorlanex-calc [--separator C] --report PAGE [FIELD=TEXT ...] > report.html\n";

// --help: the manual page vorlanex-calc(1) in short.
constexpr std::string_view kHelp =
    "usage: vorlanex-calc [--separator C] PAGE [FIELD=TEXT ...]\n"
    "       vorlanex-calc [--separator C] [--jobs N] --batch   < scenarios.jsonl\n"
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
    "  --batch          one scenario per input line: {\"page\":KEY,\"fields\":{FIELD:TEXT,...},\"id\":ID}\n"
    "                   (\"id\" optional: a string or a number, echoed back); one answer per line\n"
    "                   with the input's \"line\" number and the \"id\": \"events\" and every field's\n"
    "                   text after the run in \"fields\", or \"usage_error\"; an error event names\n"
    "                   its \"field\" where it has one\n"
    "  --jobs N         the batch on N threads (1 to 256, default 1), its answers in input order\n"
    "  --list           every page with its fields: id, role, name, unit, default text\n"
    "  --report         instead of JSON Lines, a printable Czech report of the run as one HTML page\n"
    "  --               ends the options\n"
    "\n"
    "Exit status: 0 the run completed (warnings allowed; a batch: every line was a scenario),\n"
    "1 a fault stopped the run, 2 usage error (a batch: some line was one), 3 the output could\n"
    "not be written. More in vorlanex-calc(1).\n";

// One line of output; text that is not valid UTF-8 is replaced rather than rejected.
std::string json_text(const Json& value) { return value.dump(-1, ' ', false, Json::error_handler_t::replace); }

// Prints each event of a single run as its own line, at once.
class PrintedEvents final : public EventSink {
public:
    explicit PrintedEvents(Output& out) : out_(out) {}
    void event(std::string_view json_object) override { out_.line(json_object); }

private:
    Output& out_;
};

// The run written as a printable report (cli/report.h) instead of its events; the run's exit status.
int run_report(const Scenario& scenario, const numeric::DecimalSeparator& separator, Output& out) {
    const Report report = make_report(*scenario.page, scenario.fields, separator, local_date());
    out.write(report.html);
    return report.completed ? kExitCompleted : kExitFault;
}

int run_single(const Scenario& scenario, const numeric::DecimalSeparator& separator, Output& out) {
    PrintedEvents print(out);
    CommandPort port(scenario, separator, print);
    return port.run() ? kExitCompleted : kExitFault;
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
        out.line(json_text(Json{{"page", page->key}, {"fields", fields}}));
    }
    return kExitCompleted;
}

// The command line read as getopt_long reads it: long options anywhere, each also by an
// unambiguous beginning of its name, a value after "=" or as the next argument, "--" ending the
// options; everything else is an operand.
struct Arguments {
    std::optional<std::string> separator;
    std::optional<std::string> jobs;
    bool batch = false;
    bool list = false;
    bool report = false;
    bool help = false;
    bool version = false;
    std::vector<std::string> operands;
};

struct LongOption {
    std::string_view name;
    std::string_view value;  // what its value is, for the message when it is missing; empty: none
};

constexpr LongOption kLongOptions[] = {{"separator", "a character"},
                                       {"jobs", "a number of threads"},
                                       {"batch", {}},
                                       {"list", {}},
                                       {"report", {}},
                                       {"help", {}},
                                       {"version", {}}};

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
        if (option->value.empty()) {
            if (value) return UsageError{option_name + " takes no value"};
        } else if (!value) {
            if (i + 1 == arguments.size()) return UsageError{option_name + " needs " + std::string(option->value)};
            value = arguments[++i];
        }
        if (option->name == "separator") result.separator = value;
        if (option->name == "jobs") result.jobs = value;
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
    unsigned jobs = 1;
    if (options.jobs) {
        const std::string& text = *options.jobs;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), jobs);
        if (error != std::errc() || end != text.data() + text.size() || jobs < 1 || jobs > kMostJobs) {
            return usage_error("--jobs takes a number of threads from 1 to " + std::to_string(kMostJobs) + "; got '" +
                               text + "'");
        }
        if (!options.batch) return usage_error("--jobs goes with --batch");
    }
    if (options.list) return run_list(separator, out);
    if (options.batch) return run_batch(separator, in, out, jobs);

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
    output.flush();
    if (!output.failed()) return status;
    err << "vorlanex-calc: the output could not be written (" << output.reason() << "); stopped\n";
    return kExitOutputFailed;
}

}  // namespace vorlanex::cli
