#include "report/case_report.h"

#include <algorithm>
#include <thread>
#include "casefile/case_links.h"

#include "casefile/analyses_run.h"
#include "casefile/avoidability_chain.h"
#include "casefile/case_run.h"
#include "casefile/recorded_run.h"
#include "report/analyses_report.h"
#include "report/avoidability_report.h"
#include "report/markup.h"
#include "report/report.h"

namespace vorlanex::report {

std::string case_title(const casefile::CaseFile& file) { return file.header.title.value_or("Spis"); }

std::string calculation_title(const casefile::Calculation& calculation) {
    const bool titled = calculation.title && !calculation.title->empty();
    return titled ? *calculation.title : page_name(*calculation.scenario.page);
}

namespace {

std::string anchor(const casefile::Calculation& calculation) {
    return "vypocet-radek-" + std::to_string(calculation.line);
}

std::string fact_row(std::string_view label, const std::optional<std::string>& text) {
    if (!text) return {};
    return "<tr><th>" + std::string(label) + "</th><td>" + user_text(*text) + "</td></tr>\n";
}

std::string shown(const std::optional<std::string>& text) {
    return text ? "<span class=\"text\">" + escaped_visibly(*text) + "</span>"
                : std::string("<span class=\"note\">(pole chybí)</span>");
}

// What the recorded outcome says against today's run.
std::string recorded_notice(const casefile::Calculation& calculation, const casefile::Outcome& now) {
    if (!calculation.recorded) {
        return "<p class=\"recorded-none\">Výpočet nemá zaznamenaný výsledek, s nímž by šel porovnat.</p>\n";
    }
    const std::string program = user_text(calculation.recorded->program);
    const std::optional<casefile::Difference> difference = casefile::compare(*calculation.recorded, now);
    if (!difference) {
        return "<p class=\"recorded-same\">Výsledek je shodný s výsledkem, který zaznamenal Vorlanex " + program +
               ".</p>\n";
    }
    std::string html = "<div class=\"recorded-differs\">\n<p>Výsledek se liší od výsledku, který zaznamenal Vorlanex " +
                       program + ":</p>\n";
    if (!difference->fields.empty()) {
        html += "<table>\n<thead><tr><th>Pole</th><th>Zaznamenáno</th><th>Nyní</th></tr></thead>\n<tbody>\n";
        for (const casefile::FieldDifference& field : difference->fields) {
            html += "<tr data-field=\"" + escaped(field.id) + "\"><td class=\"id\">" + escaped(field.id) + "</td><td>" +
                    shown(field.recorded) + "</td><td>" + shown(field.now) + "</td></tr>\n";
        }
        html += "</tbody>\n</table>\n";
    }
    if (difference->events_differ) html += "<p>Liší se i průběh výpočtu (varování, zápisy do polí nebo chyba).</p>\n";
    return html + "</div>\n";
}

// The calculation's linked inputs, each with its source named by its title, else by its id.
std::vector<TakenInput> taken_inputs(const casefile::CaseFile& file, const casefile::IdIndex& index,
                                     const casefile::Calculation& calculation) {
    std::vector<TakenInput> taken;
    for (const casefile::Link& link : calculation.links) {
        const std::optional<std::size_t> source = index.find(link.from);
        const bool titled = source && file.calculations[*source].title && !file.calculations[*source].title->empty();
        taken.push_back(
            {link.input, titled ? *file.calculations[*source].title : casefile::id_text(link.from), link.field});
    }
    return taken;
}

std::string calculation_section(const casefile::Calculation& calculation, const casefile::RecordedRun& run,
                                std::span<const TakenInput> taken, const numeric::DecimalSeparator& separator,
                                std::chrono::year_month_day date, const std::string& after_run, bool& completed) {
    completed = completed && !run.fault();
    std::string html = calculation_section_start(calculation, "VÝPOČET SPISU");
    html += recorded_notice(calculation, casefile::outcome_of(run));
    html += run_body(run, date, taken) + after_run;
    // A calculation that keeps analyses has them run from their settings; one that keeps none costs
    // nothing more. One that takes inputs from others is sampled alone nowhere: its analyses wait for
    // sampling through its sources.
    if (!calculation.analyses.empty() && calculation.links.empty()) {
        const unsigned jobs = std::max(1u, std::thread::hardware_concurrency());
        html += analyses_part(calculation, casefile::run_analyses(calculation, separator, jobs), separator);
    }
    return html + "</section>\n";
}

}  // namespace

std::string case_cover(const casefile::CaseFile& file, std::string_view kind, const std::string& more_facts,
                       std::chrono::year_month_day date, const Provenance& provenance) {
    std::string facts;
    for (const casefile::CaseHeaderMember& member : casefile::kCaseHeaderMembers) {
        if (member.text == &casefile::CaseHeader::title) continue;  // it heads the cover
        facts += fact_row(casefile::cover_label(member), file.header.*member.text);
    }
    return "<section class=\"cover\">\n<p class=\"program\">VORLANEX · " + std::string(kind) +
           "</p>\n<h1 class=\"case-title\">" + user_text(case_title(file)) + "</h1>\n<table class=\"facts case\">\n" +
           facts + more_facts + "</table>\n" + provenance_section(provenance, date) + "</section>\n";
}

std::string case_contents(std::span<const casefile::Calculation* const> calculations) {
    std::string html = "<nav class=\"contents\">\n<h2>Obsah</h2>\n<ol class=\"contents\">\n";
    for (const casefile::Calculation* calculation : calculations) {
        // The page's name after a title of the expert's own; a calculation without one is its page's name, once.
        const bool titled = calculation_title(*calculation) != page_name(*calculation->scenario.page);
        html += "<li><a href=\"#" + anchor(*calculation) + "\">" + user_text(calculation_title(*calculation)) + "</a>" +
                (titled ? " – " + escaped(page_name(*calculation->scenario.page)) : std::string()) + "</li>\n";
    }
    return html + "</ol>\n</nav>\n";
}

std::string calculation_section_start(const casefile::Calculation& calculation, std::string_view kind) {
    std::string html = "<section class=\"calculation\" id=\"" + anchor(calculation) + "\" data-line=\"" +
                       std::to_string(calculation.line) + "\">\n<p class=\"program\">" + std::string(kind) +
                       " · ŘÁDEK " + std::to_string(calculation.line) + "</p>\n<h1 class=\"calculation-title\">" +
                       user_text(calculation_title(calculation)) + "</h1>\n";
    if (calculation.note) html += "<p class=\"calculation-note\">" + user_text(*calculation.note) + "</p>\n";
    return html;
}

CaseReport make_case_report(const casefile::CaseFile& file, std::span<const casefile::RecordedRun> runs,
                            std::chrono::year_month_day date, const Provenance& provenance) {
    std::vector<const casefile::Calculation*> all;
    for (const casefile::Calculation& calculation : file.calculations) all.push_back(&calculation);
    const std::string count =
        "<tr><th>Výpočtů</th><td class=\"count\">" + std::to_string(file.calculations.size()) + "</td></tr>\n";
    CaseReport report{document_start("Spis – " + case_title(file)) +
                          case_cover(file, "SPIS VÝPOČTŮ", count, date, provenance) + case_contents(all),
                      true};
    const casefile::IdIndex index = casefile::has_links(file) ? casefile::IdIndex(file) : casefile::IdIndex();
    for (std::size_t i = 0; i < file.calculations.size(); ++i) {
        const std::vector<TakenInput> taken = taken_inputs(file, index, file.calculations[i]);
        // A stopping calculation that takes its obstacle from a reconstruction's collision point
        // answers, after its own run, whether the vehicle would have stopped at its speed.
        std::string avoidability;
        if (const std::optional<casefile::AvoidabilityChain> chain = casefile::avoidability_chain(file, index, i)) {
            avoidability =
                avoidability_part(runs[chain->reconstruction], runs[i], !file.calculations[i].analyses.empty());
        }
        report.html += calculation_section(file.calculations[i], runs[i], taken, file.separator, date, avoidability,
                                           report.completed);
    }
    report.html += document_end();
    return report;
}

}  // namespace vorlanex::report
