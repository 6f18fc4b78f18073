#pragma once
// The report of a tolerance run and of a sweep: one printable Czech page each (self-contained HTML,
// as the report of one run). The tolerance report states the command, the number of samples and the
// seed, each input as typed or its distribution, the table of percentiles of every result, how
// many samples ended with each warning and fault, and a histogram of every result with the band
// between the lowest and the highest percentile marked (the percentiles: tolerance/statistics.h); a
// result whose texts are words has the table of its texts' counts instead (tolerance/text_counts.h).
// The sweep report draws every result against the swept input. Every number is a text a field
// showed in one of the runs (the mean, rounded as the field's texts).
#include <chrono>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "numeric/decimal_separator.h"
#include "page/page_definition.h"
#include "tolerance/sampling.h"
#include "tolerance/sweep.h"

namespace vorlanex::report {

// A field as the reports name it: "R15 – Dráha … [m]" (its symbol, its caption, its unit).
std::string field_title(const page::Field& field);

// The histogram of one result of a run as an SVG chart, its lowest and highest percentile and its
// median marked; for a result with at least one number.
std::string histogram_svg(const page::Field& field, const tolerance::FieldSummary& result,
                          const numeric::DecimalSeparator& separator);

// The texts of a result whose texts are words, in place of its histogram: each text as the field
// showed it (its spaces visible), the samples that showed it and their share of the samples counted
// (tolerance::share_percent, the run's separator), the most frequent first.
std::string text_counts_table(const page::Field& field, const tolerance::FieldSummary& result,
                              const numeric::DecimalSeparator& separator);

// What a tolerance report holds below its header: how the samples are drawn, every input as typed or its distribution,
// the percentiles of every result, the counts of warnings and faults, the histograms.
std::string tolerance_body(const page::PageDefinition& page, std::span<const std::pair<std::string, std::string>> typed,
                           const numeric::DecimalSeparator& separator, std::span<const tolerance::Tolerance> tolerances,
                           const tolerance::SamplingSummary& summary);

// The chart of one result against the swept input, as the sweep report draws it, and the result's
// smallest and largest text along the sweep; nothing when no run wrote a number into the result.
struct SweepChart {
    std::string svg;
    std::string low_text, high_text;
};
std::optional<SweepChart> sweep_chart(const page::PageDefinition& page, std::string_view result_field,
                                      const tolerance::SweepRange& range, const std::vector<tolerance::SweepRow>& rows,
                                      const numeric::DecimalSeparator& separator);

// What a sweep report holds below its header: every input as typed (the swept one with `sweep_words`),
// the counts of runs with warnings and faults, the chart of every result against the swept input.
std::string sweep_body(const page::PageDefinition& page, std::span<const std::pair<std::string, std::string>> typed,
                       const numeric::DecimalSeparator& separator, const tolerance::SweepRange& range,
                       const std::vector<tolerance::SweepRow>& rows);
// How the swept input is varied: "od 10 do 50 v 100 stejných krocích" (HTML).
std::string sweep_words(const tolerance::SweepRange& range, const std::vector<tolerance::SweepRow>& rows);

std::string make_tolerance_report(const page::PageDefinition& page,
                                  std::span<const std::pair<std::string, std::string>> typed,
                                  const numeric::DecimalSeparator& separator,
                                  std::span<const tolerance::Tolerance> tolerances,
                                  const tolerance::SamplingSummary& summary, const std::string& command,
                                  std::chrono::year_month_day date);

std::string make_sweep_report(const page::PageDefinition& page,
                              std::span<const std::pair<std::string, std::string>> typed,
                              const numeric::DecimalSeparator& separator, const tolerance::SweepRange& range,
                              const std::vector<tolerance::SweepRow>& rows, const std::string& command,
                              std::chrono::year_month_day date);

}  // namespace vorlanex::report
