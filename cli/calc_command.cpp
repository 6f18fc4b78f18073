#include "cli/calc_command.h"

#include <charconv>
#include <optional>
#include <string_view>
#include <variant>
#include <vector>

#include <nlohmann/json.hpp>

#include "casefile/scenario.h"
#include "casefile/separator_check.h"
#include "cli/batch.h"
#include "cli/case_command.h"
#include "cli/command_text.h"
#include "cli/output.h"
#include "cli/tolerance_command.h"
#include "numeric/escape_controls.h"
#include "registry/page_tree.h"
#include "report/report.h"
#include "tolerance/distribution_kinds.h"
#include "version/version.h"

namespace vorlanex::cli {

namespace {

using casefile::check_scenario;
using casefile::CommandPort;
using casefile::EventSink;
using casefile::find_page;
using casefile::Scenario;
using casefile::UsageError;

using Json = nlohmann::ordered_json;

// clang-format off
constexpr std::string_view kUsage =
    "usage: vorlanex-calc [--separator C] PAGE [FIELD=TEXT ...]\n"
    "       vorlanex-calc [--separator C] [--jobs N] --batch   (JSON Lines on standard input)\n"
    "       vorlanex-calc [--separator C] --list\n"
    "       vorlanex-calc [--separator C] --report PAGE [FIELD=TEXT ...] > report.html\n"
    "       vorlanex-calc [--separator C] --tolerance N [--seed S] [--jobs J] [--report] PAGE FIELD=TOLERANCE ...\n"
    "       vorlanex-calc [--separator C] --sweep FIELD=FROM..TO/STEPS [--report] PAGE [FIELD=TEXT ...]\n";
// clang-format on

// --help: the manual page vorlanex-calc(1) in short; {pages} stands for the pages' keys.
// clang-format off
constexpr std::string_view kHelp =
    "usage: vorlanex-calc [--separator C] PAGE [FIELD=TEXT ...]\n"
    "       vorlanex-calc [--separator C] [--jobs N] --batch   < scenarios.jsonl\n"
    "       vorlanex-calc [--separator C] --list\n"
    "       vorlanex-calc [--separator C] --report PAGE [FIELD=TEXT ...] > report.html\n"
    "       vorlanex-calc [--separator C] --tolerance N [--seed S] [--jobs J] [--report] PAGE FIELD=TOLERANCE ...\n"
    "       vorlanex-calc [--separator C] --sweep FIELD=FROM..TO/STEPS [--report] PAGE [FIELD=TEXT ...]\n"
    "       vorlanex-calc --case FILE [--record | --report]\n"
    "       vorlanex-calc --tolerance N [--seed S] [--jobs J] [--report] --case FILE\n"
    "       vorlanex-calc --verify FILE\n"
    "       vorlanex-calc --help | --version\n"
    "\n"
    "One press of \"Výpočet\" on one page of Vorlanex, without a window. Every event is one\n"
    "JSON line, in the order it happens: {\"warning\":TEXT}, {\"set\":FIELD,\"text\":TEXT} or\n"
    "{\"error\":TEXT} (a fault, which ends the run).\n"
    "\n"
    "  PAGE             {pages}\n"
    "  FIELD=TEXT       the field's text before the press; other fields keep the page's default text\n"
    "  --separator C, --separator=C\n"
    "                   the decimal separator: one visible character that no reader could take for\n"
    "                   a digit, a sign or an exponent (no digit of any script, \"+\", \"-\" or other\n"
    "                   dash or minus, \"E\", \"e\" or a letter like them), not a blank, and an assigned\n"
    "                   character that shows on its own (not private-use, not combining). Default:\n"
    "                   LC_NUMERIC as chosen by LC_ALL, LC_NUMERIC or LANG (cs_CZ.UTF-8 gives \",\");\n"
    "                   \".\" when it cannot be read\n"
    "  --batch          one scenario per input line: {\"page\":KEY,\"fields\":{FIELD:TEXT,...},\"id\":ID}\n"
    "                   (\"id\", a string or a number, optional); one answer per line with the input's\n"
    "                   \"line\" number and the \"id\" as written: \"events\" and every field's text\n"
    "                   after the run in \"fields\", or \"usage_error\"; an error event names the\n"
    "                   \"field\" whose text could not be read, when that was the fault\n"
    "  --jobs N         the batch or the samples on N threads (1 to 256, default 1), the same output\n"
    "                   for any N; a batch's lines in flight take at most about 24 MiB, whatever N\n"
    "  --list           every page with its fields (id, role, name, unit, default text) and the\n"
    "                   texts of its worked example\n"
    "  --report         instead of JSON Lines, a printable Czech report of the run as one HTML page\n"
    "  --tolerance N    N samples (1 to 10^9): {tolerances}\n"
    "                   one JSON object: every result's count, min, percentiles (nearest rank), max\n"
    "                   and mean as the field shows them, and the samples per warning and fault\n"
    "  --seed S         the samples' seed (0 to 2^64-1, default 1): the same seed, the same output\n"
    "                   for any --jobs (--seed and --sweep only in full: --s is --separator)\n"
    "  --sweep FIELD=FROM..TO/STEPS\n"
    "                   the page for STEPS+1 evenly spaced values of one input, every result tabulated\n"
    "  --case FILE      every calculation of the case file FILE (vorlanex-case(5)), each with the\n"
    "                   case's separator: the batch's result lines\n"
    "                   With --tolerance N: every calculation that has tolerances sampled, one\n"
    "                   JSON line each, its \"line\" and \"id\" before the --tolerance object;\n"
    "                   with --report, one printable report of them all\n"
    "  --record         with --case: the case file printed back with every calculation's outcome\n"
    "                   \"recorded\" by this version (the file itself is never written)\n"
    "  --verify FILE    every calculation run again and compared with its recorded outcome, one line\n"
    "                   each: {\"line\":N,\"id\":ID,\"same\":true} or what differs; status 1 when any differs\n"
    "  --               ends the options\n"
    "\n"
    "Exit status: 0 the run completed (warnings allowed; a batch: every line was a scenario),\n"
    "1 a fault stopped the run, 2 usage error (a batch: some line was one), 3 the output could\n"
    "not be written, 4 the batch's input could not be read; --verify: 1 when a calculation differs\n"
    "from its recorded outcome or has none. More in vorlanex-calc(1).\n";
// clang-format on

// `items` joined by blanks, from `column` on, in lines that fit the help's width; a line after the
// first starts at the help's column.
std::string wrapped(const std::vector<std::string>& items, std::size_t column) {
    constexpr std::size_t kIndent = 19, kWidth = 100;
    std::string text;
    std::size_t line_length = column;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0 && line_length + 1 + items[i].size() > kWidth) {
            text += "\n" + std::string(kIndent, ' ');
            line_length = kIndent;
        } else if (i > 0) {
            text += ' ';
            ++line_length;
        }
        text += items[i];
        line_length += items[i].size();
    }
    return text;
}

// `placeholder` in `help` replaced by `items`, wrapped from where the placeholder stands.
void fill_in(std::string& help, std::string_view placeholder, const std::vector<std::string>& items) {
    const std::size_t at = help.find(placeholder);
    const std::size_t column = at - (help.rfind('\n', at) + 1);
    help.replace(at, placeholder.size(), wrapped(items, column));
}

// The help with every page's key from the registry, "a, b, ... or z", and every short form of a
// tolerance with its example, "FIELD=40..60 uniform, ...;", in lines that fit the help's column.
std::string help_text() {
    const auto pages = registry::calculation_pages();
    std::vector<std::string> keys;
    for (std::size_t i = 0; i < pages.size(); ++i) {
        keys.push_back(std::string(pages[i]->key) + (i + 1 == pages.size() ? "" : i + 2 == pages.size() ? " or" : ","));
    }
    std::vector<std::string> forms;
    for (const tolerance::DistributionKind& kind : tolerance::distribution_kinds()) {
        for (const tolerance::ShortPattern& pattern : kind.patterns) {
            forms.push_back("FIELD=" + std::string(pattern.command_example) + " " + std::string(pattern.english) + ",");
        }
    }
    forms.back().back() = ';';
    std::string help(kHelp);
    fill_in(help, "{pages}", keys);
    fill_in(help, "{tolerances}", forms);
    return help;
}

// Prints each event of a single run as its own line, at once.
class PrintedEvents final : public EventSink {
public:
    explicit PrintedEvents(Output& out) : out_(out) {}
    void event(std::string_view json_object) override { out_.line(json_object); }

private:
    Output& out_;
};

// The run written as a printable report (report/report.h) instead of its events; the run's exit status.
int run_report(const Scenario& scenario, const numeric::DecimalSeparator& separator,
               std::span<const std::string> command_line, Output& out) {
    const report::Report made = report::make_report(*scenario.page, scenario.fields, separator, report::local_date(),
                                                    report::Provenance{command_text(command_line), std::nullopt});
    out.write(made.html);
    return made.completed ? kExitCompleted : kExitFault;
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
        Json example = Json::object();
        for (const page::FieldText& typed : page->worked_example) {
            example[std::string(typed.id)] = page::with_separator(typed.text, separator);
        }
        out.line(json_text(Json{{"page", page->key}, {"fields", fields}, {"worked_example", example}}));
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
    ToleranceRequest tolerance;  // --tolerance, --seed, --sweep (cli/tolerance_command.h)
    CaseRequest case_file;       // --case, --record, --verify (cli/case_command.h)
    std::vector<std::string> operands;
};

struct LongOption {
    std::string_view name;
    std::string_view value;     // what its value is, for the message when it is missing; empty: none
    bool in_full_only = false;  // not matched by a beginning, so the beginnings of older options keep their meaning
};

constexpr LongOption kLongOptions[] = {{"separator", "a character"},
                                       {"jobs", "a number of threads"},
                                       {"batch", {}},
                                       {"list", {}},
                                       {"report", {}},
                                       {"help", {}},
                                       {"version", {}},
                                       {"tolerance", "a number of samples"},
                                       {"seed", "a number", true},
                                       {"sweep", "FIELD=FROM..TO/STEPS", true},
                                       {"case", "a case file"},
                                       {"record", {}, true},
                                       {"verify", "a case file", true}};

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
            if (!name.empty() && !candidate.in_full_only && candidate.name.starts_with(name)) {
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
        if (option->name == "tolerance") result.tolerance.samples = value;
        if (option->name == "seed") result.tolerance.seed = value;
        if (option->name == "sweep") result.tolerance.sweep = value;
        if (option->name == "case") result.case_file.case_file = value;
        if (option->name == "record") result.case_file.record = true;
        if (option->name == "verify") result.case_file.verify_file = value;
    }
    return result;
}

int run(std::span<const std::string> arguments, const numeric::DecimalSeparator& regional_separator, std::istream& in,
        Output& out, std::ostream& err) {
    auto usage_error = [&](const std::string& message) {
        err << "vorlanex-calc: " << numeric::with_controls_escaped(message) << "\n" << kUsage;
        return kExitUsage;
    };
    const std::variant<Arguments, UsageError> read = read_arguments(arguments);
    if (const auto* error = std::get_if<UsageError>(&read)) return usage_error(error->message);
    const Arguments& options = std::get<Arguments>(read);
    const bool tolerance = options.tolerance.samples || options.tolerance.seed || options.tolerance.sweep;
    if (options.help) {
        out.write(help_text());
        return kExitCompleted;
    }
    if (options.version) {
        out.write("vorlanex-calc " + std::string(kVersion) + "\n");
        return kExitCompleted;
    }
    numeric::DecimalSeparator separator = regional_separator;
    if (options.separator) {
        if (!casefile::can_be_chosen_separator(*options.separator)) {
            return usage_error(
                "--separator takes one visible character that no reader could take for a digit, a "
                "sign or an exponent (not \"0\"-\"9\" nor any other digit, \"+\", \"-\" nor any "
                "other dash, \"E\", \"e\" nor a letter like them) and is no blank; got '" +
                *options.separator + "'");
        }
        separator = numeric::DecimalSeparator(*options.separator);
    }
    unsigned jobs = 1;
    if (options.jobs) {
        const std::string& text = *options.jobs;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), jobs);
        if (error != std::errc() || end != text.data() + text.size() || jobs < 1 || jobs > kMostJobs) {
            return usage_error("--jobs takes a number of threads from 1 to " + std::to_string(kMostJobs) + "; got '" +
                               text + "'");
        }
        if (!options.batch && !options.tolerance.samples) return usage_error("--jobs goes with --batch or --tolerance");
    }
    const CaseRequest& case_options = options.case_file;
    if (case_options.case_file || case_options.verify_file || case_options.record) {
        if (options.separator)
            return usage_error("a case file gives its own separator: --separator goes without --case");
        if (options.tolerance.samples && case_options.case_file && !case_options.verify_file && !case_options.record &&
            !options.batch && !options.list) {
            ToleranceRequest request = options.tolerance;
            request.case_file = case_options.case_file;
            request.jobs = jobs;
            request.report = options.report;
            request.operands = options.operands;
            request.command_line = arguments;
            return run_case_tolerance_command(request, out, err, usage_error);
        }
        if (options.batch || options.list || tolerance || options.jobs || !options.operands.empty()) {
            return usage_error("--case and --verify take a case file alone");
        }
        CaseRequest request = case_options;
        request.report = options.report;
        request.command_line = arguments;
        return run_case_command(request, out, usage_error);
    }
    if (options.report && options.operands.empty()) return usage_error("--report needs PAGE");
    if (options.batch + options.list + (tolerance || !options.operands.empty()) != 1) {
        return usage_error("give one of PAGE, --batch or --list");
    }
    if (tolerance) {
        ToleranceRequest request = options.tolerance;
        request.jobs = jobs;
        request.report = options.report;
        request.operands = options.operands;
        request.command_line = arguments;
        return run_tolerance_command(request, separator, out, err, usage_error);
    }
    if (options.list) return run_list(separator, out);
    if (options.batch) return run_batch(separator, in, out, err, jobs);

    Scenario scenario;
    if (auto error = find_page(options.operands.front(), scenario)) return usage_error(error->message);
    for (auto field = options.operands.begin() + 1; field != options.operands.end(); ++field) {
        const auto equals = field->find('=');
        if (equals == std::string::npos) return usage_error("expected FIELD=TEXT, got '" + *field + "'");
        scenario.fields.emplace_back(field->substr(0, equals), field->substr(equals + 1));
    }
    if (auto error = check_scenario(scenario)) return usage_error(error->message);
    if (options.report) return run_report(scenario, separator, arguments, out);
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
