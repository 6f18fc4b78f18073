#pragma once
// What every printable page of the report library shares: the document around its sections (one
// self-contained HTML page for A4 with its style), the page's name, a field's caption and the date.
#include <chrono>
#include <optional>
#include <string>
#include <string_view>

#include "page/page_definition.h"

namespace vorlanex::report {

// "<!DOCTYPE html>..." up to and including "<body>", titled `title` (escaped here).
std::string document_start(std::string_view title);
// "</body></html>".
std::string document_end();

// The page's name as its tab shows it; a sub-page under its page's.
std::string page_name(const page::PageDefinition& page);
// A field's caption without the unit its accessible name ends with ("Reakční dráha [m]").
std::string caption_of(const page::Field& field);
// "7. 12. 2026".
std::string date_text(std::chrono::year_month_day date);

// Where a report came from, so that it can be made again and checked: the command that re-creates
// it as typed (shell-quoted; empty when none does), the SHA-256 of the case file it was made from,
// if any, and a sentence on where it was made when not by that command alone (the case window).
struct Provenance {
    std::string command;
    std::optional<std::string> case_sha256;
    std::string origin{};
};
// The block every report ends with (or a case report's cover holds): the program's version, the
// date, where it was made, the case file's SHA-256 and the command.
std::string provenance_section(const Provenance& provenance, std::chrono::year_month_day date);

}  // namespace vorlanex::report
