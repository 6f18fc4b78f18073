#pragma once
// vorlanex-calc --batch: one scenario a line of the input, one result a line of the output, in
// the order of the input, however long the input (it is read and written as it goes).
//
//   {"line":1,"id":"a-1","events":[{"set":"R1","text":"6,865"},...],"fields":{"I1":"20",...}}
//   {"line":2,"usage_error":"unknown page 'kinematic' (vorlanex-calc --list shows the pages)"}
//
// Blank lines are counted but get no result. Results are handed to the output as they are made
// and written out at the latest whenever the batch would wait for more input, so a program that
// feeds the batch line by line gets each answer before it sends the next line.
#include <cstddef>
#include <iosfwd>

#include "cli/output.h"
#include "numeric/decimal_separator.h"

namespace vorlanex::cli {

// A batch line longer than this is refused unread, so one huge line cannot exhaust the memory.
inline constexpr std::size_t kMaxBatchLineBytes = std::size_t{1} << 20;
// The most threads --jobs starts.
inline constexpr unsigned kMostJobs = 256;
// With several threads, the most bytes the lines read and their results not yet written take
// (or one block of lines, when that alone takes more), however many threads run.
inline constexpr std::size_t kMostBytesInFlight = std::size_t{24} << 20;
// What a result takes at most besides the texts of its line: the events and every field of the
// page with the texts a run writes.
inline constexpr std::size_t kResultBytesBesidesTexts = std::size_t{4} << 10;

// Runs the batch on `jobs` threads (1: on the calling thread). Returns kExitUsage when some line
// was no scenario, kExitCompleted otherwise; stops at the first output that fails. With one job
// the input is read no further than the line whose result could not be written; with more, a
// few hundred lines or kMostBytesInFlight further at most. When the input cannot be read, the
// results of the lines read before are written, the reason goes to `err` and the status is
// kExitInputFailed.
int run_batch(const numeric::DecimalSeparator& separator, std::istream& in, Output& out, std::ostream& err,
              unsigned jobs);

}  // namespace vorlanex::cli
