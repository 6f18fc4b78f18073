#pragma once
// The protocol's HTML cut into parts that a browser prints one at a time, and each document made
// safe to print.
//
// A protocol of many calculations is too large to lay out at once in reasonable time and memory, so
// it is printed in parts: the cover and contents, then the calculations a number of sections at a
// time, each part a complete document with the report's own head (its style, its @page rule). The
// parts' PDFs are joined and numbered over the whole afterwards (page_numbers.h).
#include <cstddef>
#include <string>
#include <vector>

namespace vorlanex::spis::protocol {

// How many calculation sections one part holds unless asked otherwise: about 150 pages, which
// Chromium lays out in a few seconds and a few hundred megabytes.
inline constexpr std::size_t kSectionsPerPart = 100;

// The documents to print, in order. A report of at most `sections_per_part` calculations, or HTML
// that is not a report (no <body>, no calculation section), is one part: the document as it is.
// Otherwise the first part is everything before the first calculation (the cover, the contents)
// and every further one holds the next `sections_per_part` calculations; each begins with the
// report's head and ends as the report ends.
std::vector<std::string> protocol_parts(const std::string& html, std::size_t sections_per_part);

// A document of `count` empty pages with the head of `html` (its style and its @page rule), so
// that the browser prints on each page only what the report's page margin boxes put there: its
// page numbers, "Strana N z count", where the report's own style places them.
std::string page_numbers_document(const std::string& html, int count);

// What the browser is given instead of `html`: the same document behind a Content-Security-Policy
// that lets it load nothing (no script, frame, file, fetch or remote style; images and fonts only
// from data: URLs, styles only from the document itself), stated before anything of the document
// so that it binds everything that follows, and with every <meta http-equiv> of the document made
// inert (a refresh would navigate away from it). With `page_margin_boxes` false the document's
// page margin boxes (its page numbers) are not printed.
std::string sealed_document(const std::string& html, bool page_margin_boxes);

}  // namespace vorlanex::spis::protocol
