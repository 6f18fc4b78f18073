#include "report/document.h"

#include "registry/page_tree.h"
#include "report/markup.h"
#include "version/version.h"

namespace vorlanex::report {

namespace {

// The diagram's section does not break either, so that its heading prints with its diagram also
// where `break-after: avoid` is not honoured (older Chromium, such as the one in Qt WebEngine 6.4).
constexpr std::string_view kStyle = R"(
@page { size: A4; margin: 15mm 15mm 17mm 15mm;
  @bottom-right { content: "Strana " counter(page) " z " counter(pages); font-size: 8pt; color: #555; } }
html { font-family: "Liberation Sans", Arial, Helvetica, sans-serif; font-size: 9pt; color: #111; }
body { margin: 0; }
@media screen { body { max-width: 180mm; margin: 10mm auto; } }
.program { margin: 0; color: #555; font-size: 9pt; letter-spacing: 0.03em; }
h1 { font-size: 18pt; margin: 1mm 0 3mm; }
h2 { font-size: 11.5pt; margin: 6mm 0 2mm; padding-bottom: 0.8mm; border-bottom: 0.5pt solid #777; break-after: avoid; }
p { margin: 1.5mm 0; }
table { border-collapse: collapse; width: 100%; }
th, td { border: 0.5pt solid #aaa; padding: 0.5mm 1.6mm; text-align: left; vertical-align: top; }
thead th { background: #ececec; font-weight: bold; }
tr { break-inside: avoid; }
table.facts { width: auto; }
table.facts th { background: none; font-weight: normal; color: #555; border: none; padding-left: 0; }
table.facts td { border: none; }
td.id { color: #666; font-size: 8pt; white-space: nowrap; }
td.unit { white-space: nowrap; }
.inputs td.typed, .inputs td.used, .results td.shown { width: 22%; }
.results td.note { width: 20%; }
ul.kept { columns: 2; font-size: 8.5pt; }
.text { white-space: pre-wrap; overflow-wrap: anywhere; font-weight: bold; unicode-bidi: isolate; }
.code-point { font-weight: normal; font-size: 7pt; border: 0.5pt solid #b25c00; color: #b25c00; padding: 0 0.4mm; margin: 0 0.2mm; }
.note { color: #555; font-size: 8.5pt; }
.taken { display: block; color: #555; font-size: 8.5pt; }
.mark { color: #b25c00; font-weight: bold; }
tr.changed td.used, tr.kept td.shown { background: #fff3d9; }
ol.warnings li { margin: 1mm 0; }
.fault { border: 0.8pt solid #c62828; padding: 2mm 3mm; }
.fault .text { color: #c62828; }
figure { margin: 0; break-inside: avoid; }
section.diagram { break-inside: avoid; }
figure svg { width: 100%; height: auto; max-height: 115mm; }
figcaption { color: #555; font-size: 8.5pt; margin-top: 1mm; }
.rules, footer { font-size: 8.5pt; color: #333; }
footer { margin-top: 5mm; border-top: 0.5pt solid #aaa; padding-top: 1.5mm; }
table.percentiles th, table.percentiles td { font-size: 7.5pt; padding: 0.4mm 1mm; }
table.percentiles td.number, table.texts td.number { text-align: right; white-space: nowrap; }
code.command { font-size: 8pt; overflow-wrap: anywhere; }
.charts { display: grid; grid-template-columns: 1fr 1fr; gap: 3mm 5mm; }
.charts figure svg { max-height: 60mm; }
.provenance { font-size: 8.5pt; break-inside: avoid; }
code.sha256 { font-size: 7.5pt; overflow-wrap: anywhere; }
section.calculation { break-before: page; }
section.avoidability { break-before: page; }
p.answer { font-size: 11pt; font-weight: bold; border-left: 2pt solid #1f5fbf; padding: 1mm 0 1mm 3mm; }
table.avoidability-numbers td.value { text-align: right; white-space: nowrap; }
.cover h1 { font-size: 22pt; }
ol.contents li { margin: 1mm 0; }
.recorded-differs { border: 0.8pt solid #b25c00; padding: 2mm 3mm; }
)";

}  // namespace

std::string document_start(std::string_view title) {
    return "<!DOCTYPE html>\n<html xmlns=\"http://www.w3.org/1999/xhtml\" lang=\"cs\" xml:lang=\"cs\">\n"
           "<head>\n<meta charset=\"utf-8\"/>\n<title>" +
           plain_user_text(title) + "</title>\n<style>" + std::string(kStyle) + "</style>\n</head>\n<body>\n";
}

std::string document_end() { return "</body>\n</html>\n"; }

std::string provenance_section(const Provenance& provenance, std::chrono::year_month_day date) {
    std::string html =
        "<section class=\"provenance\">\n<h2>Původ protokolu</h2>\n<table class=\"facts\">\n"
        "<tr><th>Program</th><td class=\"program-version\">Vorlanex " +
        escaped(kVersion) + "</td></tr>\n<tr><th>Vytvořen</th><td class=\"made\">" + date_text(date) + "</td></tr>\n";
    if (!provenance.origin.empty()) {
        html += "<tr><th>Původ</th><td class=\"origin\">" + escaped(provenance.origin) + "</td></tr>\n";
    }
    if (provenance.case_sha256) {
        html += "<tr><th>SHA-256 spisu</th><td><code class=\"sha256\">" + escaped(*provenance.case_sha256) +
                "</code></td></tr>\n";
    }
    if (!provenance.command.empty()) {
        html += "<tr><th>Vytvoří jej znovu</th><td><code class=\"command\">" + user_text(provenance.command) +
                "</code></td></tr>\n";
    }
    return html + "</table>\n</section>\n";
}

namespace {

std::string trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

}  // namespace

std::string page_name(const page::PageDefinition& page) {
    for (const registry::TopPage& top : registry::page_tree()) {
        if (top.page == &page) return trimmed(top.caption);
        for (const registry::SubPage& sub : top.sub_pages) {
            if (sub.page == &page) return trimmed(top.caption) + " – " + trimmed(sub.caption);
        }
    }
    return std::string(page.key);
}

std::string caption_of(const page::Field& field) {
    const std::string_view name = field.accessible_name;
    const std::string unit_suffix = " [" + std::string(field.unit) + "]";
    return std::string(name.ends_with(unit_suffix) ? name.substr(0, name.size() - unit_suffix.size()) : name);
}

std::string date_text(std::chrono::year_month_day date) {
    return std::to_string(static_cast<unsigned>(date.day())) + ". " +
           std::to_string(static_cast<unsigned>(date.month())) + ". " + std::to_string(static_cast<int>(date.year()));
}

}  // namespace vorlanex::report
