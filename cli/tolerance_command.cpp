#include "cli/tolerance_command.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <chrono>
#include <iostream>
#include <new>
#include <string_view>
#include <variant>

#include <nlohmann/json.hpp>

#include "casefile/calculation_sampling.h"
#include "casefile/file_digest.h"
#include "casefile/scenario.h"
#include "cli/case_command.h"
#include "cli/command_text.h"
#include "cli/exit_status.h"
#include "cli/machine_memory.h"
#include "cli/process.h"
#include "report/case_tolerance_report.h"
#include "report/report.h"
#include "report/tolerance_report.h"
#include "tolerance/distribution_json.h"
#include "tolerance/distribution_kinds.h"
#include "tolerance/sampling.h"
#include "tolerance/statistics.h"
#include "tolerance/sweep.h"

namespace vorlanex::cli {

using casefile::check_scenario;
using casefile::find_page;
using casefile::Scenario;

namespace {

using Json = nlohmann::ordered_json;

// A whole decimal number from `low` to `high`, or nothing.
std::optional<std::uint64_t> whole_number(const std::string& text, std::uint64_t low, std::uint64_t high) {
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < low || value > high) return std::nullopt;
    return value;
}

// A text holding what a short form's pattern puts between numbers ("..", "~"), unless that is the
// decimal separator itself.
bool is_tolerance_text(std::string_view text, const numeric::DecimalSeparator& separator) {
    return std::any_of(std::begin(tolerance::kPatternSeparators), std::end(tolerance::kPatternSeparators),
                       [&](std::string_view between) {
                           return between != separator.text() && text.find(between) != std::string_view::npos;
                       });
}

// Progress of a long run on standard error, once it has taken a second: a bar redrawn in place on a
// terminal, otherwise a line every tenth.
class ProgressReport {
public:
    ProgressReport(std::ostream& err, bool terminal) : err_(err), terminal_(terminal) {}
    ~ProgressReport() {
        if (shown_ && terminal_) err_ << "\n" << std::flush;
    }

    void operator()(std::uint64_t done, std::uint64_t total) {
        if (std::chrono::steady_clock::now() - start_ < std::chrono::seconds(1)) return;
        const auto tenths_of_percent = static_cast<unsigned>(done * 1000 / total);
        if (terminal_) {
            constexpr unsigned kWidth = 40;
            const unsigned filled = tenths_of_percent * kWidth / 1000;
            err_ << "\r[" << std::string(filled, '#') << std::string(kWidth - filled, ' ') << "] "
                 << tenths_of_percent / 10 << " % of " << total << " samples" << std::flush;
        } else if (tenths_of_percent / 100 > last_tenth_ || !shown_) {
            last_tenth_ = tenths_of_percent / 100;
            err_ << "vorlanex-calc: " << done << " of " << total << " samples\n" << std::flush;
        }
        shown_ = true;
    }

private:
    std::ostream& err_;
    bool terminal_;
    bool shown_ = false;
    unsigned last_tenth_ = 0;
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

Json summary_json(std::string_view page, const tolerance::SamplingSummary& summary) {
    Json results = Json::object();
    for (const tolerance::FieldSummary& field : summary.results) {
        if (field.words) {
            // The counts of its texts, in the summary's order (the most frequent first).
            Json texts = Json::object();
            for (const tolerance::TextCount& text : field.texts) texts[text.text] = text.samples;
            results[field.field] = Json{{"count", tolerance::total_samples(field.texts)}, {"texts", texts}};
            continue;
        }
        Json entry{{"count", field.count}};
        if (field.count > 0) {
            entry["min"] = field.min;
            for (std::size_t i = 0; i < tolerance::kPercentiles.size(); ++i)
                entry[std::string(tolerance::kPercentiles[i].json_name)] = field.percentiles[i];
            entry["max"] = field.max;
            entry["mean"] = field.mean;
        }
        results[field.field] = entry;
    }
    const auto counts = [](const std::vector<tolerance::TextCount>& texts) {
        Json object = Json::object();
        for (const tolerance::TextCount& text : texts) object[text.text] = text.samples;
        return object;
    };
    return Json{{"page", page},       {"samples", summary.samples},           {"seed", summary.seed},
                {"results", results}, {"warnings", counts(summary.warnings)}, {"faults", counts(summary.faults)}};
}

Json sweep_json(std::string_view page, const tolerance::SweepRange& range,
                const std::vector<tolerance::SweepRow>& rows) {
    Json table = Json::array();
    for (const tolerance::SweepRow& row : rows) {
        Json results = Json::object();
        for (const auto& [id, text] : row.results) results[id] = text;
        Json entry{{"input", row.input}, {"results", results}, {"warnings", row.warnings}};
        if (row.fault) entry["fault"] = *row.fault;
        table.push_back(entry);
    }
    return Json{{"page", page}, {"sweep", range.field}, {"rows", table}};
}

// --tolerance N, --seed S and --jobs J as the sampling's settings, or the usage error.
std::variant<tolerance::SamplingSettings, std::string> sampling_settings(const ToleranceRequest& request) {
    tolerance::SamplingSettings settings;
    const auto samples = whole_number(*request.samples, 1, tolerance::kMostSamples);
    if (!samples) {
        return "--tolerance takes a number of samples from 1 to " + std::to_string(tolerance::kMostSamples) +
               "; got '" + *request.samples + "'";
    }
    settings.samples = *samples;
    settings.seed = kDefaultSeed;
    if (request.seed) {
        const auto seed = whole_number(*request.seed, 0, std::numeric_limits<std::uint64_t>::max());
        if (!seed) return "--seed takes a whole number from 0 to 18446744073709551615; got '" + *request.seed + "'";
        settings.seed = *seed;
    }
    settings.jobs = request.jobs;
    return settings;
}

// Bytes as gigabytes to one decimal: "1.5 GB".
std::string gigabytes(std::uint64_t bytes) {
    std::array<char, 32> text{};
    const auto end = std::to_chars(text.data(), text.data() + text.size(), static_cast<double>(bytes) / 1e9,
                                   std::chars_format::fixed, 1)
                         .ptr;
    return std::string(text.data(), end) + " GB";
}

// Why a run of `page` cannot fit in what the machine has free, said before a sample is taken:
// otherwise it would end, after a long time, by the kernel's out-of-memory killer.
std::optional<std::string> beyond_memory(std::span<const tolerance::ChainPage> chain,
                                         const tolerance::SamplingSettings& settings) {
    const page::PageDefinition& page = *chain.back().page;
    const std::uint64_t needed = tolerance::most_chain_sampling_memory(chain, settings.samples, settings.jobs);
    const MachineMemory machine = machine_memory();
    if (machine.available == 0 || needed <= machine.available) return std::nullopt;
    return "--tolerance " + std::to_string(settings.samples) + " of page '" + std::string(page.key) + "' needs up to " +
           gigabytes(needed) +
           " of memory (8 bytes per sample for each result field that keeps numbers, and for each field summarised "
           "at once); this machine has " +
           gigabytes(machine.available) + " available of " + gigabytes(machine.total);
}

// The samples' summary of a chain of pages, with progress on `progress`; nothing (and the reason
// said there) when the samples do not fit in memory.
std::optional<tolerance::SamplingSummary> sampled(std::span<const tolerance::ChainPage> chain,
                                                  const numeric::DecimalSeparator& separator,
                                                  const tolerance::SamplingSettings& settings, std::ostream& progress) {
    try {
        ProgressReport report_progress(progress, &progress == &std::cerr && error_stream_is_terminal());
        return tolerance::run_chain_samples(chain, separator, settings, std::ref(report_progress));
    } catch (const std::bad_alloc&) {
        progress << "vorlanex-calc: not enough memory for " << settings.samples << " samples (8 bytes per sample and "
                 << "result field)\n";
        return std::nullopt;
    }
}

// Every calculation of the case whose samples can differ (it or a source it takes from has
// tolerances), each with its sources and checked; or the first usage error, named with its line.
std::variant<std::vector<casefile::ChainSampling>, std::string> case_samplings(const casefile::CaseFile& file,
                                                                               std::uint64_t samples) {
    std::vector<casefile::ChainSampling> all;
    for (std::size_t index = 0; index < file.calculations.size(); ++index) {
        const casefile::Calculation& calculation = file.calculations[index];
        if (!calculation.tolerances && calculation.links.empty()) continue;
        auto chain = casefile::chain_sampling_of(file, index, samples);
        if (auto* error = std::get_if<tolerance::InputError>(&chain)) {
            return "line " + std::to_string(calculation.line) + ": " + error->message;
        }
        if (std::get<casefile::ChainSampling>(chain).sampled())
            all.push_back(std::move(std::get<casefile::ChainSampling>(chain)));
    }
    return all;
}

}  // namespace

int run_case_tolerance_command(const ToleranceRequest& request, Output& out, std::ostream& progress,
                               const std::function<int(const std::string&)>& usage_error) {
    if (request.sweep) return usage_error("--sweep goes with PAGE, not with --case");
    if (!request.operands.empty()) return usage_error("--case takes a case file alone");
    const auto read_settings = sampling_settings(request);
    if (const auto* error = std::get_if<std::string>(&read_settings)) return usage_error(*error);
    const tolerance::SamplingSettings settings = std::get<tolerance::SamplingSettings>(read_settings);

    std::variant<ReadCase, std::string> read = read_case_at(*request.case_file);
    if (const auto* error = std::get_if<std::string>(&read)) return usage_error(*error);
    const casefile::CaseFile& file = std::get<ReadCase>(read).file;
    auto samplings = case_samplings(file, settings.samples);
    if (const auto* error = std::get_if<std::string>(&samplings))
        return usage_error(*request.case_file + ": " + *error);
    for (const casefile::ChainSampling& chain : std::get<std::vector<casefile::ChainSampling>>(samplings)) {
        if (auto refusal = beyond_memory(chain.chain, settings)) {
            return usage_error(*request.case_file + ": line " + std::to_string(chain.calculations.back()->line) + ": " +
                               *refusal);
        }
    }

    std::vector<report::SampledCalculation> runs;
    for (const casefile::ChainSampling& chain : std::get<std::vector<casefile::ChainSampling>>(samplings)) {
        const casefile::Calculation& calculation = *chain.calculations.back();
        std::optional<tolerance::SamplingSummary> summary = sampled(chain.chain, file.separator, settings, progress);
        if (!summary) return kExitFault;
        if (request.report) {
            runs.push_back({&calculation, &chain.samplings.back(), std::move(*summary)});
            continue;
        }
        // The line's number, its id as written and the sources sampled with it, then the summary's members.
        std::string line = "{\"line\":" + std::to_string(calculation.line);
        if (calculation.id) line += ",\"id\":" + *calculation.id;
        if (!chain.through.empty()) line += ",\"through\":" + json_text(Json(chain.through));
        line += "," + json_text(summary_json(calculation.scenario.page->key, *summary)).substr(1);
        out.line(line);
    }
    if (request.report) {
        const report::Provenance provenance{command_text(request.command_line),
                                            casefile::sha256_hex(std::get<ReadCase>(read).bytes)};
        out.write(report::make_case_tolerance_report(file, runs, report::local_date(), provenance));
    }
    return kExitCompleted;
}

int run_tolerance_command(const ToleranceRequest& request, const numeric::DecimalSeparator& separator, Output& out,
                          std::ostream& progress, const std::function<int(const std::string&)>& usage_error) {
    if (request.seed && !request.samples) return usage_error("--seed goes with --tolerance");
    if (request.samples.has_value() == request.sweep.has_value())
        return usage_error("give one of --tolerance N or --sweep");
    if (request.operands.empty()) return usage_error("--tolerance and --sweep need PAGE");

    Scenario scenario;
    if (auto error = find_page(request.operands.front(), scenario)) return usage_error(error->message);
    for (auto field = request.operands.begin() + 1; field != request.operands.end(); ++field) {
        const auto equals = field->find('=');
        if (equals == std::string::npos) return usage_error("expected FIELD=TEXT, got '" + *field + "'");
        scenario.fields.emplace_back(field->substr(0, equals), field->substr(equals + 1));
    }
    if (auto error = check_scenario(scenario)) return usage_error(error->message);
    const page::PageDefinition& page = *scenario.page;
    const std::string command = command_text(request.command_line);

    if (request.sweep) {
        auto range = tolerance::parse_sweep(*request.sweep, page, separator);
        if (auto* error = std::get_if<tolerance::InputError>(&range)) return usage_error(error->message);
        const auto& swept = std::get<tolerance::SweepRange>(range);
        const std::vector<tolerance::SweepRow> rows = tolerance::run_sweep(page, scenario.fields, separator, swept);
        if (request.report) {
            out.write(report::make_sweep_report(page, scenario.fields, separator, swept, rows, command,
                                                report::local_date()));
        } else {
            out.line(json_text(sweep_json(page.key, swept, rows)));
        }
        return kExitCompleted;
    }

    const auto read_settings = sampling_settings(request);
    if (const auto* error = std::get_if<std::string>(&read_settings)) return usage_error(*error);
    const tolerance::SamplingSettings settings = std::get<tolerance::SamplingSettings>(read_settings);

    std::vector<tolerance::Tolerance> tolerances;
    std::vector<std::pair<std::string, std::string>> typed;
    for (const auto& [id, text] : scenario.fields) {
        if (!is_tolerance_text(text, separator)) {
            typed.emplace_back(id, text);
            continue;
        }
        auto parsed = tolerance::parse_short_form(id, text, separator);
        if (auto* error = std::get_if<tolerance::InputError>(&parsed)) return usage_error(error->message);
        tolerances.push_back({id, std::get<tolerance::Distribution>(parsed)});
    }
    if (auto error = tolerance::check_sampling(page, tolerances, settings.samples)) return usage_error(error->message);
    const tolerance::ChainPage alone{&page, typed, tolerances, {}};
    if (auto refusal = beyond_memory({&alone, 1}, settings)) return usage_error(*refusal);

    const std::optional<tolerance::SamplingSummary> summary = sampled({&alone, 1}, separator, settings, progress);
    if (!summary) return kExitFault;
    if (request.report) {
        out.write(
            report::make_tolerance_report(page, typed, separator, tolerances, *summary, command, report::local_date()));
    } else {
        out.line(json_text(summary_json(page.key, *summary)));
    }
    return kExitCompleted;
}

}  // namespace vorlanex::cli
