#include "report/report.h"

#include <string_view>
#include <vector>

#include "casefile/recorded_run.h"
#include "registry/page_tree.h"
#include "report/document.h"
#include "report/local_date.h"
#include "report/markup.h"
#include "report/path_time_diagram.h"

namespace vorlanex::report {

namespace {

// A field's text, exactly: an empty text is said to be empty.
std::string field_text(std::string_view text) {
    if (text.empty()) return "<span class=\"text\"></span><span class=\"note\">(prázdné)</span>";
    return "<span class=\"text\">" + escaped_visibly(text) + "</span>";
}

std::string cell(std::string_view css_class, const std::string& content) {
    return "<td class=\"" + std::string(css_class) + "\">" + content + "</td>";
}

std::string field_cells(const page::Field& field) {
    return cell("id", escaped(field.id)) + cell("caption", escaped(caption_of(field))) +
           cell("unit", escaped(field.unit));
}

std::string status_line(const casefile::RecordedRun& run) {
    if (run.fault()) return "Výpočet zastavila chyba (viz níže).";
    if (run.warnings().empty()) return "Výpočet proběhl celý bez varování.";
    return "Výpočet proběhl celý; zobrazil varování: " + std::to_string(run.warnings().size()) + ".";
}

std::string header(const casefile::RecordedRun& run, std::chrono::year_month_day date) {
    return "<header>\n<p class=\"program\">VORLANEX · PROTOKOL VÝPOČTU</p>\n<h1 class=\"page-name\">" +
           escaped(page_name(run.page())) + "</h1>\n<table class=\"facts\">\n<tr><th>Datum</th><td class=\"date\">" +
           date_text(date) + "</td></tr>\n<tr><th>Průběh</th><td class=\"status\">" + status_line(run) +
           "</td></tr>\n</table>\n</header>\n";
}

// Where the input's text came from, when another calculation gave it.
std::string taken_from(std::string_view input, std::span<const TakenInput> taken) {
    for (const TakenInput& one : taken) {
        if (one.input != input) continue;
        return " <span class=\"taken\">převzato z: " + user_text(one.source) + ", " + escaped(one.field) + "</span>";
    }
    return {};
}

std::string inputs_section(const casefile::RecordedRun& run, std::span<const TakenInput> taken) {
    std::string html =
        "<section class=\"inputs\">\n<h2>Zadání</h2>\n<table>\n<thead><tr><th>Pole</th><th>Veličina</th>"
        "<th>Jednotka</th><th>Zadaný text</th><th>Použito: text v poli po výpočtu</th></tr></thead>\n<tbody>\n";
    bool any_changed = false;
    for (const page::Field& field : run.page().layout.fields) {
        if (field.role != page::FieldRole::Input) continue;
        const bool changed = run.written(field.id);
        any_changed = any_changed || changed;
        html +=
            "<tr data-field=\"" + escaped(field.id) + "\"" + (changed ? " class=\"changed\"" : "") + ">" +
            field_cells(field) + cell("typed", field_text(run.text_before(field.id)) + taken_from(field.id, taken)) +
            cell("used",
                 field_text(run.text_after(field.id)) + (changed ? " <span class=\"mark\">*</span>" : std::string())) +
            "</tr>\n";
    }
    html += "</tbody>\n</table>\n";
    if (any_changed) {
        html +=
            "<p class=\"note\"><span class=\"mark\">*</span> Výpočet text pole přepsal (náhradní nebo "
            "uspořádaná hodnota) a počítal s ním; příští výpočet by jej četl.</p>\n";
    }
    html +=
        "<p class=\"note\">Kde výpočet pole nepřepsal, počítal s textem, který v poli zůstal; náhradní hodnotu, "
        "kterou stránka použije, aniž ji do pole zapíše, ohlašuje jen varování.</p>\n</section>\n";
    return html;
}

// A warning box's text: its "\r" line breaks as lines.
std::string warning_text(std::string_view message) {
    std::string html;
    std::size_t start = 0;
    for (std::size_t end; (end = message.find('\r', start)) != std::string_view::npos; start = end + 1) {
        html += escaped(message.substr(start, end - start)) + "<br/>";
    }
    return html + escaped(message.substr(start));
}

std::string warnings_section(const casefile::RecordedRun& run) {
    std::string html = "<section class=\"warnings\">\n<h2>Varování</h2>\n";
    if (run.warnings().empty()) return html + "<p>Výpočet nezobrazil žádné varování.</p>\n</section>\n";
    html += "<p>Okna s varováním v pořadí, v jakém se zobrazila:</p>\n<ol class=\"warnings\">\n";
    for (const std::string& message : run.warnings()) html += "<li>" + warning_text(message) + "</li>\n";
    return html + "</ol>\n</section>\n";
}

std::vector<const page::Field*> results_not_written(const casefile::RecordedRun& run) {
    std::vector<const page::Field*> kept;
    for (const page::Field& field : run.page().layout.fields) {
        if (field.role == page::FieldRole::Result && !run.written(field.id)) kept.push_back(&field);
    }
    return kept;
}

std::string fault_section(const casefile::RecordedRun& run) {
    if (!run.fault()) return {};
    std::string html =
        "<section class=\"fault\">\n<h2>Chyba výpočtu</h2>\n<p>Výpočet zastavila chyba, kterou program "
        "ohlásil v chybovém okně: <span class=\"text fault-text\">" +
        escaped_visibly(*run.fault()) + "</span></p>\n";
    const std::vector<const page::Field*> kept = results_not_written(run);
    if (kept.empty()) return html + "<p>Výpočet před chybou zapsal všechna výsledková pole.</p>\n</section>\n";
    html +=
        "<p>Pole zapsaná před chybou ukazují nový text. Tato výsledková pole výpočet nezapsal a ponechala si "
        "předchozí text:</p>\n<ul class=\"kept\">\n";
    for (const page::Field* field : kept) {
        html += "<li data-field=\"" + escaped(field->id) + "\">" + escaped(field->accessible_name) + "</li>\n";
    }
    return html + "</ul>\n</section>\n";
}

std::string results_section(const casefile::RecordedRun& run) {
    std::string html =
        "<section class=\"results\">\n<h2>Výsledky</h2>\n<table>\n<thead><tr><th>Pole</th>"
        "<th>Veličina</th><th>Jednotka</th><th>Text v poli</th><th>Poznámka</th></tr></thead>\n"
        "<tbody>\n";
    for (const page::Field& field : run.page().layout.fields) {
        if (field.role != page::FieldRole::Result) continue;
        const bool written = run.written(field.id);
        const std::string& text = run.text_after(field.id);
        const std::string note = !written       ? "výpočet pole nezapsal; zůstal předchozí text"
                                 : text.empty() ? "výpočet pole vyprázdnil"
                                                : "";
        html += "<tr data-field=\"" + escaped(field.id) + "\"" + (written ? "" : " class=\"kept\"") + ">" +
                field_cells(field) + cell("shown", field_text(text)) + cell("note", escaped(note)) + "</tr>\n";
    }
    return html + "</tbody>\n</table>\n</section>\n";
}

std::string diagram_section(const casefile::RecordedRun& run) {
    const std::optional<PathTimeDiagram> diagram = path_time_diagram(run);
    if (!diagram) return {};
    std::string html = "<section class=\"diagram\">\n<h2>Diagram dráha–čas</h2>\n";
    if (diagram->svg.empty())
        return html + "<p class=\"not-drawn\">" + escaped(diagram->not_drawn) + "</p>\n</section>\n";
    return html + "<figure>\n" + diagram->svg +
           "<figcaption>Dráha vozidla od místa začátku reakce řidiče v závislosti na čase. Body událostí leží na "
           "hodnotách zobrazených v polích výsledků a zadání; mezi nimi je každá fáze nakreslena z rychlosti na "
           "jejím začátku (reakce stálou rychlostí, náběh brzdného účinku a plné brzdění rovnoměrně zpomaleně)."
           "</figcaption>\n</figure>\n</section>\n";
}

std::string separator_words(const numeric::DecimalSeparator& separator) {
    if (separator.text() == ",") return "desetinnou čárkou";
    if (separator.text() == ".") return "desetinnou tečkou";
    return "desetinným oddělovačem „" + escaped(separator.text()) + "“";
}

std::string rules_section(const casefile::RecordedRun& run) {
    const std::string separator = escaped(run.separator().text());
    return "<section class=\"rules\">\n<h2>Pravidla čísel</h2>\n<p>Čísla se čtou i píší s " +
           separator_words(run.separator()) +
           ", počítá se v rozšířené přesnosti (64bitová mantisa) a pojmenované veličiny se ukládají jako čísla "
           "double, výsledky se tam, kde to stránka určuje, zaokrouhlují na 3 (některé rychlosti v km/h na 2) "
           "desetinná místa s polovinou k sudé číslici a zobrazují se nejvýše na 15 platných číslic bez koncových "
           "nul (pod 0" +
           separator + "0001 a od 10^15 s exponentem, např. 1E-5).</p>\n</section>\n";
}

std::string footer() {
    return "<footer>\n<p>Protokol vytvořil program Vorlanex (vorlanex-calc --report) jedním stiskem tlačítka "
           "„Výpočet“ na stránce bez okna; každá hodnota je text pole, jak by jej ukázalo okno programu.</p>\n"
           "</footer>\n";
}

}  // namespace

std::string run_body(const casefile::RecordedRun& run, std::chrono::year_month_day date,
                     std::span<const TakenInput> taken) {
    return "<div class=\"run\">\n" + header(run, date) + inputs_section(run, taken) + warnings_section(run) +
           fault_section(run) + results_section(run) + diagram_section(run) + rules_section(run) + footer() +
           "</div>\n";
}

Report make_report(const page::PageDefinition& page, std::span<const std::pair<std::string, std::string>> typed,
                   const numeric::DecimalSeparator& separator, std::chrono::year_month_day date,
                   const Provenance& provenance) {
    const casefile::RecordedRun run(page, typed, separator);
    const std::string html = document_start("Protokol výpočtu – " + page_name(page)) + run_body(run, date) +
                             provenance_section(provenance, date) + document_end();
    return {html, !run.fault()};
}

std::chrono::year_month_day local_date() {
    std::tm local{};
    if (!local_time(std::time(nullptr), local))
        return std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now());
    return std::chrono::year_month_day{std::chrono::year{local.tm_year + 1900},
                                       std::chrono::month{static_cast<unsigned>(local.tm_mon + 1)},
                                       std::chrono::day{static_cast<unsigned>(local.tm_mday)}};
}

}  // namespace vorlanex::report
