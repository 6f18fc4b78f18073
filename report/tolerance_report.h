#pragma once
// The report of a tolerance run and of a sweep: one printable Czech page each (self-contained HTML,
// as the report of one run). The tolerance report states the command, the number of samples and the
// seed, each input as typed or its distribution, the table of percentiles of every result, how
// many samples ended with each warning and fault, and a histogram of every result with the 95 %
// interval marked. The sweep report draws every result against the swept input. Every number is
// a text a field showed in one of the runs (the mean, rounded as the field's texts).
#include <chrono>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "numeric/decimal_separator.h"
#include "page/page_definition.h"
#include "tolerance/sampling.h"
#include "tolerance/sweep.h"

namespace vorlanex::report {

// The histogram of one result of a run as an SVG chart, its 2.5 %, 50 % and 97.5 % percentiles
// marked; for a result with at least one number.
std::string histogram_svg(const page::Field& field, const tolerance::FieldSummary& result,
                          const numeric::DecimalSeparator& separator);

// What a tolerance report holds below its header: how the samples are drawn, every input as typed or its distribution,
// the percentiles of every result, the counts of warnings and faults, the histograms.
std::string tolerance_body(const page::PageDefinition& page, std::span<const std::pair<std::string, std::string>> typed,
                           const numeric::DecimalSeparator& separator, std::span<const tolerance::Tolerance> tolerances,
                           const tolerance::SamplingSummary& summary);

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
