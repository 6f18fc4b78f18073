#pragma once
// vorlanex-calc's exit statuses, one meaning each, shared by the single run, the batch and the
// tolerance runs.
namespace vorlanex::cli {

// The run completed (warnings allowed), or every batch line was a scenario (faults are results).
inline constexpr int kExitCompleted = 0;
// A fault stopped the single run.
inline constexpr int kExitFault = 1;
// A usage error, or a batch line was one.
inline constexpr int kExitUsage = 2;
// The output could not be written (a full disk, a closed pipe): the command stops at once.
inline constexpr int kExitOutputFailed = 3;
// The batch's input could not be read (a folder, a device's error): the results of the lines read
// before are written.
inline constexpr int kExitInputFailed = 4;

}  // namespace vorlanex::cli
