#pragma once
// vorlanex-calc --case FILE [--record | --report] and --verify FILE: a case file's calculations
// run (the batch's result lines), printed back with their outcomes recorded, reported as one
// document, or verified against their recorded outcomes (casefile/case_run.h). The whole file is
// read and checked before anything is printed; nothing is ever written to the file.
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <variant>

#include "casefile/case_file.h"
#include "cli/output.h"

namespace vorlanex::cli {

struct CaseRequest {
    std::optional<std::string> case_file;       // --case FILE
    std::optional<std::string> verify_file;     // --verify FILE
    bool record = false;                        // --record
    bool report = false;                        // --report
    std::span<const std::string> command_line;  // every argument, for the report
};

// The case file at `path`, read and checked whole, with its bytes; or why it cannot be (the
// message of a usage error: the file cannot be read, or a line is wrong).
struct ReadCase {
    std::string bytes;
    casefile::CaseFile file;
};
std::variant<ReadCase, std::string> read_case_at(const std::string& path);

// Runs the request; a usage error (a bad combination, a file that cannot be read or is no case
// file) goes to `usage_error`, which prints it and returns status 2, before anything is written.
int run_case_command(const CaseRequest& request, Output& out,
                     const std::function<int(const std::string&)>& usage_error);

}  // namespace vorlanex::cli
