#pragma once
// What every printable page of the report library shares: the document around its sections (one
// self-contained HTML page for A4 with its style), the page's name, a field's caption and the date.
#include <chrono>
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

}  // namespace vorlanex::report
