#include "cli/case_command.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <variant>

#include "casefile/case_file.h"
#include "casefile/case_run.h"
#include "casefile/case_writer.h"
#include "casefile/file_digest.h"
#include "cli/command_text.h"
#include "cli/exit_status.h"
#include "report/case_report.h"
#include "report/report.h"
#include "version/version.h"

namespace vorlanex::cli {

namespace {

// The file's bytes, or why they cannot be read. `path` is UTF-8, which Windows takes only as
// a path made of it (a plain string there is in the ANSI code page).
std::variant<std::string, std::string> read_file(const std::string& path) {
    std::ifstream in(std::filesystem::path(std::u8string(path.begin(), path.end())), std::ios::binary);
    if (!in) return std::variant<std::string, std::string>(std::in_place_index<1>, "cannot open '" + path + "'");
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (in.bad() || (in.fail() && !bytes.str().empty())) {
        return std::variant<std::string, std::string>(std::in_place_index<1>, "cannot read '" + path + "'");
    }
    return std::variant<std::string, std::string>(std::in_place_index<0>, bytes.str());
}

}  // namespace

std::variant<ReadCase, std::string> read_case_at(const std::string& path) {
    std::variant<std::string, std::string> bytes = read_file(path);
    if (bytes.index() == 1) return std::get<1>(bytes);
    // An empty or unreadable file gives nothing here: a directory reads as empty on some systems.
    std::variant<casefile::CaseFile, casefile::CaseError> read = casefile::read_case_file(std::get<0>(bytes));
    if (const auto* error = std::get_if<casefile::CaseError>(&read)) return path + ": " + error->message;
    return ReadCase{std::move(std::get<0>(bytes)), std::move(std::get<casefile::CaseFile>(read))};
}

int run_case_command(const CaseRequest& request, Output& out,
                     const std::function<int(const std::string&)>& usage_error) {
    if (request.case_file && request.verify_file) return usage_error("give one of --case and --verify");
    if (request.record && !request.case_file) return usage_error("--record goes with --case");
    if (request.record && request.report) return usage_error("give one of --record and --report");
    if (request.verify_file && request.report) return usage_error("--report goes with --case, not --verify");

    const std::string& path = request.case_file ? *request.case_file : *request.verify_file;
    std::variant<ReadCase, std::string> read = read_case_at(path);
    if (const auto* error = std::get_if<std::string>(&read)) return usage_error(*error);
    const std::string& text = std::get<ReadCase>(read).bytes;
    const casefile::CaseFile& file = std::get<ReadCase>(read).file;

    if (request.verify_file) {
        bool all_same = true;
        out.write(casefile::verify_case(file, all_same));
        return all_same ? kExitCompleted : kExitFault;
    }
    if (request.record) {
        out.write(casefile::case_file_text(file, kVersion));
        return kExitCompleted;
    }
    if (request.report) {
        const report::Provenance provenance{command_text(request.command_line), casefile::sha256_hex(text)};
        out.write(report::make_case_report(file, casefile::run_case(file), report::local_date(), provenance).html);
        return kExitCompleted;
    }
    out.write(casefile::case_results(file));
    return kExitCompleted;
}

}  // namespace vorlanex::cli
