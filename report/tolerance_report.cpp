#include "report/tolerance_report.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "numeric/faults.h"
#include "numeric/parse_number.h"
#include "report/document.h"
#include "report/markup.h"
#include "tolerance/distribution_kinds.h"
#include "tolerance/statistics.h"
#include "tolerance/text_counts.h"

namespace vorlanex::report {

namespace {

// A small chart: its frame in SVG user units and the plot area inside it. Left of the plot stand the
// y axis's end texts, right-aligned: room for a count of 10⁹ samples ("1000000000 vz.") or a field's
// number of 15 digits at 10 units a character's height.
constexpr double kChartWidth = 390, kChartHeight = 190;
constexpr double kLeft = 96, kRight = 380, kTop = 10, kBottom = 150;

// Where a value lies between low and high, from 0 to 1 (0.5 when they are equal).
double fraction(double value, double low, double high) { return low < high ? (value - low) / (high - low) : 0.5; }
double chart_x(double f) { return kLeft + f * (kRight - kLeft); }
double chart_y(double f) { return kBottom - f * (kBottom - kTop); }

std::string text_at(double x, double y, std::string_view anchor, const std::string& text) {
    return "<text x=\"" + svg_number(x) + "\" y=\"" + svg_number(y) + "\" text-anchor=\"" + std::string(anchor) +
           "\">" + escaped(text) + "</text>";
}

std::string line(double x1, double y1, double x2, double y2, std::string_view attributes) {
    return "<line x1=\"" + svg_number(x1) + "\" y1=\"" + svg_number(y1) + "\" x2=\"" + svg_number(x2) + "\" y2=\"" +
           svg_number(y2) + "\" " + std::string(attributes) + "/>";
}

// The chart's frame: the axes, the texts at the ends of the x axis and of the y axis, the x axis's
// caption.
std::string chart_start(const std::string& x_low, const std::string& x_high, const std::string& y_low,
                        const std::string& y_high, const std::string& x_caption) {
    std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 " + svg_number(kChartWidth) + " " +
                      svg_number(kChartHeight) + "\" font-size=\"10\" fill=\"#222\">\n";
    svg += "<path d=\"M " + svg_number(kLeft) + " " + svg_number(kTop) + " V " + svg_number(kBottom) + " H " +
           svg_number(kRight) + "\" fill=\"none\" stroke=\"#222\"/>\n";
    svg += text_at(kLeft, kBottom + 13, "start", x_low) + text_at(kRight, kBottom + 13, "end", x_high) + "\n";
    svg += text_at(kLeft - 4, kBottom, "end", y_low) + text_at(kLeft - 4, kTop + 8, "end", y_high) + "\n";
    svg += text_at((kLeft + kRight) / 2, kBottom + 32, "middle", x_caption) + "\n";
    return svg;
}

// The highest percentile's place; the samples between the lowest and the highest, in percent ("95").
constexpr std::size_t kHighestPercentile = tolerance::kPercentiles.size() - 1;
std::string band_percent() {
    return tolerance::czech_percent(tolerance::kPercentiles.back().per_mille -
                                    tolerance::kPercentiles.front().per_mille);
}

// A number from a text a field showed (always one: the texts here are the fields' numbers).
double number_of(const std::string& text, const numeric::DecimalSeparator& separator) {
    try {
        return numeric::parse_number(text, separator);
    } catch (const numeric::Fault&) {
        return 0;
    }
}

}  // namespace

std::string field_title(const page::Field& field) {
    return std::string(field.id) + " – " + caption_of(field) +
           (field.unit.empty() ? "" : " [" + std::string(field.unit) + "]");
}

std::string histogram_svg(const page::Field& field, const tolerance::FieldSummary& result,
                          const numeric::DecimalSeparator& separator) {
    const std::uint64_t tallest = *std::max_element(result.histogram.begin(), result.histogram.end());
    std::string svg = chart_start(result.min, result.max, "0", std::to_string(tallest) + " vz.",
                                  caption_of(field) + (field.unit.empty() ? "" : " [" + std::string(field.unit) + "]"));
    const double bars = static_cast<double>(result.histogram.size());
    const double width = (kRight - kLeft) / bars;
    for (std::size_t i = 0; i < result.histogram.size(); ++i) {
        const double height =
            static_cast<double>(result.histogram[i]) / static_cast<double>(tallest) * (kBottom - kTop);
        svg += "<rect class=\"bar\" x=\"" + svg_number(kLeft + static_cast<double>(i) * width) + "\" y=\"" +
               svg_number(kBottom - height) + "\" width=\"" + svg_number(width) + "\" height=\"" + svg_number(height) +
               "\" fill=\"#7da7d9\" stroke=\"#fff\" stroke-width=\"0.5\"/>\n";
    }
    // The lowest and the highest percentile dashed, the median full.
    for (const std::size_t i : {std::size_t{0}, tolerance::kMedianPercentile, kHighestPercentile}) {
        const double x = chart_x(fraction(number_of(result.percentiles[i], separator), result.low, result.high));
        svg += line(
            x, kTop, x, kBottom,
            i == tolerance::kMedianPercentile ? "stroke=\"#c62828\"" : "stroke=\"#c62828\" stroke-dasharray=\"4 3\"");
        svg += "\n";
    }
    return svg + "</svg>\n";
}

namespace {

// A text of a word field as its table row shows it: as the field showed it, spaces kept; an empty
// text, and one of spaces alone, which would look like nothing, say what they are.
std::string shown_text(const std::string& text) {
    if (text.empty()) return "<span class=\"note\">(prázdné pole)</span>";
    if (text.find_first_not_of(' ') == std::string::npos)
        return escaped_visibly(text) + "<span class=\"note\">(mezera)</span>";
    return escaped_visibly(text);
}

}  // namespace

std::string text_counts_table(const page::Field& field, const tolerance::FieldSummary& result,
                              const numeric::DecimalSeparator& separator) {
    const std::uint64_t counted = tolerance::total_samples(result.texts);
    std::string html = "<figure class=\"texts\" data-field=\"" + escaped(result.field) +
                       "\">\n<table class=\"texts\">\n<thead><tr><th>Text</th><th>Vzorků</th><th>Podíl</th></tr>"
                       "</thead>\n<tbody>\n";
    for (const tolerance::TextCount& text : result.texts) {
        html += "<tr><td class=\"text\">" + shown_text(text.text) + "</td><td class=\"number\">" +
                std::to_string(text.samples) + "</td><td class=\"number\">" +
                escaped(tolerance::share_percent(text.samples, counted, separator)) + "</td></tr>\n";
    }
    return html + "</tbody>\n</table>\n<figcaption>" + escaped(field_title(field)) + ": texty v " +
           std::to_string(counted) + " vzorcích bez chyby</figcaption>\n</figure>\n";
}

namespace {

std::string header(std::string_view kind, const page::PageDefinition& page, std::chrono::year_month_day date,
                   const std::string& facts) {
    return "<header>\n<p class=\"program\">VORLANEX · " + std::string(kind) + "</p>\n<h1 class=\"page-name\">" +
           escaped(page_name(page)) + "</h1>\n<table class=\"facts\">\n<tr><th>Datum</th><td class=\"date\">" +
           date_text(date) + "</td></tr>\n" + facts + "</table>\n</header>\n";
}

std::string fact(std::string_view name, std::string_view css_class, const std::string& html) {
    return "<tr><th>" + std::string(name) + "</th><td class=\"" + std::string(css_class) + "\">" + html +
           "</td></tr>\n";
}

// Every input: its distribution, or the text it was given (or opens with).
std::string inputs_section(const page::PageDefinition& page, std::span<const std::pair<std::string, std::string>> typed,
                           const numeric::DecimalSeparator& separator, std::span<const tolerance::Tolerance> tolerances,
                           std::string_view varied_words, std::string_view varied_field = {}) {
    std::string html =
        "<section class=\"inputs\">\n<h2>Zadání</h2>\n<table>\n<thead><tr><th>Pole</th><th>Veličina</th>"
        "<th>Jednotka</th><th>Text nebo rozdělení</th></tr></thead>\n<tbody>\n";
    for (const page::Field& field : page.layout.fields) {
        if (field.role != page::FieldRole::Input) continue;
        std::string given = "<span class=\"text\">" + escaped_visibly(page::default_text(field, separator)) + "</span>";
        for (const auto& [id, text] : typed) {
            if (id == field.id) given = "<span class=\"text\">" + escaped_visibly(text) + "</span>";
        }
        for (const tolerance::Tolerance& tolerance : tolerances) {
            if (tolerance.field == field.id)
                given = "<span class=\"mark\">" + escaped(tolerance::czech_words(tolerance.distribution, separator)) +
                        "</span>";
        }
        if (field.id == varied_field) given = "<span class=\"mark\">" + std::string(varied_words) + "</span>";
        html += "<tr data-field=\"" + escaped(field.id) + "\"><td class=\"id\">" + escaped(field.id) + "</td><td>" +
                escaped(caption_of(field)) + "</td><td class=\"unit\">" + escaped(field.unit) + "</td><td>" + given +
                "</td></tr>\n";
    }
    return html + "</tbody>\n</table>\n</section>\n";
}

std::string percentile_table(const page::PageDefinition& page, const tolerance::SamplingSummary& summary) {
    std::string html =
        "<section class=\"results\">\n<h2>Výsledky: percentily</h2>\n<table class=\"percentiles\">\n<thead><tr>"
        "<th>Pole</th><th>Veličina</th><th>Jedn.</th><th>Počet</th><th>Min.</th>";
    for (const tolerance::PercentileLevel& level : tolerance::kPercentiles)
        html += "<th>" + std::string(level.czech_percent) + " %</th>";
    html += "<th>Max.</th><th>Průměr</th></tr></thead>\n<tbody>\n";
    // The columns after the count: the minimum, the percentiles, the maximum and the mean.
    const std::string numbers_columns = std::to_string(tolerance::kPercentiles.size() + 3);
    for (const tolerance::FieldSummary& result : summary.results) {
        const page::Field& field = *page.find_field(result.field);
        const auto number = [](const std::string& text) { return "<td class=\"number\">" + escaped(text) + "</td>"; };
        html += "<tr data-field=\"" + escaped(result.field) + "\"><td class=\"id\">" + escaped(result.field) +
                "</td><td>" + escaped(caption_of(field)) + "</td><td class=\"unit\">" + escaped(field.unit) + "</td>" +
                number(std::to_string(result.words ? tolerance::total_samples(result.texts) : result.count));
        if (result.words) {
            html += "<td colspan=\"" + numbers_columns +
                    "\" class=\"note\">pole ukazuje text, ne číslo: četnosti textů jsou u histogramů</td></tr>\n";
            continue;
        }
        if (result.count == 0) {
            html += "<td colspan=\"" + numbers_columns +
                    "\" class=\"note\">pole nedostalo v žádném vzorku číslo</td></tr>\n";
            continue;
        }
        html += number(result.min);
        for (const std::string& percentile : result.percentiles) html += number(percentile);
        html += number(result.max) + number(result.mean) + "</tr>\n";
    }
    const tolerance::PercentileLevel& lowest = tolerance::kPercentiles.front();
    const tolerance::PercentileLevel& highest = tolerance::kPercentiles.back();
    return html +
           "</tbody>\n</table>\n<p class=\"note\">Percentil p je číslo, které pole ukázalo ve vzorku na pořadí "
           "⌈p/100 · n⌉ mezi n vzorky seřazenými podle velikosti (nejbližší pořadí); mezi " +
           std::string(lowest.czech_percent) + "% a " + std::string(highest.czech_percent) + "% percentilem leží " +
           band_percent() +
           " % vzorků. Průměr je zaokrouhlen na tolik desetinných míst, kolik jich ukazovalo pole.</p>\n"
           "</section>\n";
}

std::string counts_section(const tolerance::SamplingSummary& summary) {
    std::string html = "<section class=\"warnings\">\n<h2>Varování a chyby</h2>\n";
    if (summary.warnings.empty() && summary.faults.empty())
        return html + "<p>Žádný vzorek neskončil varováním ani chybou.</p>\n</section>\n";
    html += "<table>\n<thead><tr><th>Text</th><th>Druh</th><th>Vzorků</th></tr></thead>\n<tbody>\n";
    for (const auto& [texts, kind] : {std::pair{&summary.warnings, "varování"}, std::pair{&summary.faults, "chyba"}}) {
        for (const tolerance::TextCount& count : *texts) {
            std::string text = count.text;
            std::replace(text.begin(), text.end(), '\r', ' ');
            // A fault quotes the text it could not read, as typed.
            html += "<tr><td>" + user_text(text) + "</td><td>" + kind + "</td><td>" + std::to_string(count.samples) +
                    "</td></tr>\n";
        }
    }
    return html + "</tbody>\n</table>\n</section>\n";
}

std::string histograms_section(const page::PageDefinition& page, const tolerance::SamplingSummary& summary,
                               const numeric::DecimalSeparator& separator) {
    const bool words = std::any_of(summary.results.begin(), summary.results.end(),
                                   [](const tolerance::FieldSummary& result) { return result.words; });
    std::string html = "<section class=\"histograms\">\n<h2>" +
                       std::string(words ? "Histogramy a četnosti textů" : "Histogramy") +
                       "</h2>\n<div class=\"charts\">\n";
    for (const tolerance::FieldSummary& result : summary.results) {
        const page::Field& field = *page.find_field(result.field);
        if (result.words) {
            html += text_counts_table(field, result, separator);
            continue;
        }
        if (result.count == 0) continue;
        html += "<figure data-field=\"" + escaped(result.field) + "\">\n" + histogram_svg(field, result, separator) +
                "<figcaption>" + escaped(field_title(field)) + ": " + band_percent() + " % vzorků od " +
                escaped(result.percentiles.front()) + " do " + escaped(result.percentiles.back()) +
                " (čárkovaně), medián " + escaped(result.percentiles[tolerance::kMedianPercentile]) +
                "</figcaption>\n</figure>\n";
    }
    return html + "</div>\n</section>\n";
}

std::string footer(std::string_view what) {
    return "<footer>\n<p>Protokol vytvořil program Vorlanex (vorlanex-calc) " + std::string(what) +
           "; každé číslo je text, který pole ukázalo po výpočtu stránky bez okna, jako by byl text zadání "
           "napsán rukou.</p>\n</footer>\n";
}

// The points of one result along the sweep: the input's and the result's numbers, where the run
// wrote a number.
struct Curve {
    std::vector<std::optional<std::pair<double, double>>> points;
    std::string low_text, high_text;
    double low = 0, high = 0;
};

std::optional<Curve> curve_of(std::string_view field, const std::vector<tolerance::SweepRow>& rows,
                              const numeric::DecimalSeparator& separator) {
    Curve curve;
    bool any = false;
    for (const tolerance::SweepRow& row : rows) {
        std::optional<std::pair<double, double>> point;
        for (const auto& [id, text] : row.results) {
            if (id != field) continue;
            try {
                const double y = numeric::parse_number(text, separator);
                point = std::pair{numeric::parse_number(row.input, separator), y};
                if (!any || y < curve.low) curve.low = y, curve.low_text = text;
                if (!any || y > curve.high) curve.high = y, curve.high_text = text;
                any = true;
            } catch (const numeric::Fault&) {
            }
        }
        curve.points.push_back(point);
    }
    if (!any) return std::nullopt;
    return curve;
}

std::string sweep_svg(const page::Field& swept, const Curve& curve, const tolerance::SweepRange& range,
                      const std::vector<tolerance::SweepRow>& rows) {
    const double from = std::min(range.from, range.to), to = std::max(range.from, range.to);
    const std::string& from_text = range.from <= range.to ? rows.front().input : rows.back().input;
    const std::string& to_text = range.from <= range.to ? rows.back().input : rows.front().input;
    std::string svg = chart_start(from_text, to_text, curve.low_text, curve.high_text, field_title(swept));
    std::string path;
    bool drawing = false;
    for (const auto& point : curve.points) {
        if (!point) {
            drawing = false;
            continue;
        }
        const double x = chart_x(fraction(point->first, from, to));
        const double y = chart_y(fraction(point->second, curve.low, curve.high));
        path += (drawing ? " L " : " M ") + svg_number(x) + " " + svg_number(y);
        drawing = true;
    }
    svg += "<path class=\"curve\" d=\"" + path + "\" fill=\"none\" stroke=\"#c62828\" stroke-width=\"1.5\"/>\n";
    return svg + "</svg>\n";
}

}  // namespace

std::string tolerance_body(const page::PageDefinition& page, std::span<const std::pair<std::string, std::string>> typed,
                           const numeric::DecimalSeparator& separator, std::span<const tolerance::Tolerance> tolerances,
                           const tolerance::SamplingSummary& summary) {
    const std::string how =
        "<p>Pro každý vzorek se z rozdělení každého nejistého vstupu vylosuje hodnota, zapíše se do pole jako "
        "text a stránka se spočítá, jako by byl text napsán rukou: varování, náhradní hodnoty i chyby platí pro "
        "každý vzorek. Náhodná čísla vzorku i závisí jen na semínku a na i, takže stejný příkaz dá vždy tytéž "
        "výsledky.</p>\n";
    return how + inputs_section(page, typed, separator, tolerances, {}) + percentile_table(page, summary) +
           counts_section(summary) + histograms_section(page, summary, separator);
}

std::optional<SweepChart> sweep_chart(const page::PageDefinition& page, std::string_view result_field,
                                      const tolerance::SweepRange& range, const std::vector<tolerance::SweepRow>& rows,
                                      const numeric::DecimalSeparator& separator) {
    const page::Field* swept = page.find_field(range.field);
    if (!swept || rows.empty()) return std::nullopt;
    const std::optional<Curve> curve = curve_of(result_field, rows, separator);
    if (!curve) return std::nullopt;
    return SweepChart{sweep_svg(*swept, *curve, range, rows), curve->low_text, curve->high_text};
}

std::string make_tolerance_report(const page::PageDefinition& page,
                                  std::span<const std::pair<std::string, std::string>> typed,
                                  const numeric::DecimalSeparator& separator,
                                  std::span<const tolerance::Tolerance> tolerances,
                                  const tolerance::SamplingSummary& summary, const std::string& command,
                                  std::chrono::year_month_day date) {
    std::string html = document_start("Rozbor tolerancí – " + page_name(page));
    html += header("ROZBOR TOLERANCÍ", page, date,
                   fact("Příkaz", "command", "<code class=\"command\">" + user_text(command) + "</code>") +
                       fact("Vzorků", "samples", std::to_string(summary.samples)) +
                       fact("Semínko", "seed", std::to_string(summary.seed)));
    html += tolerance_body(page, typed, separator, tolerances, summary);
    html += footer("z " + std::to_string(summary.samples) + " vzorků");
    return html + document_end();
}

std::string sweep_body(const page::PageDefinition& page, std::span<const std::pair<std::string, std::string>> typed,
                       const numeric::DecimalSeparator& separator, const tolerance::SweepRange& range,
                       const std::vector<tolerance::SweepRow>& rows) {
    std::string html = inputs_section(page, typed, separator, {}, sweep_words(range, rows), range.field);
    std::size_t faults = 0, warned = 0;
    for (const tolerance::SweepRow& row : rows) {
        faults += row.fault.has_value();
        warned += !row.warnings.empty();
    }
    html += "<p>Výpočtů: " + std::to_string(rows.size()) + "; s varováním: " + std::to_string(warned) +
            "; zastavených chybou: " + std::to_string(faults) +
            ". Kde výpočet pole nezapsal, křivka je přerušena.</p>\n";
    html += "<section class=\"sweep\">\n<h2>Výsledky v závislosti na " + escaped(std::string(range.field)) +
            "</h2>\n<div class=\"charts\">\n";
    for (const page::Field& field : page.layout.fields) {
        if (field.role != page::FieldRole::Result) continue;
        const std::optional<SweepChart> chart = sweep_chart(page, field.id, range, rows, separator);
        if (!chart) continue;
        html += "<figure data-field=\"" + escaped(field.id) + "\">\n" + chart->svg + "<figcaption>" +
                escaped(field_title(field)) + ": od " + escaped(chart->low_text) + " do " + escaped(chart->high_text) +
                "</figcaption>\n</figure>\n";
    }
    return html + "</div>\n</section>\n";
}

std::string sweep_words(const tolerance::SweepRange& range, const std::vector<tolerance::SweepRow>& rows) {
    return "od " + escaped(rows.front().input) + " do " + escaped(rows.back().input) + " v " +
           std::to_string(range.steps) + " stejných krocích";
}

std::string make_sweep_report(const page::PageDefinition& page,
                              std::span<const std::pair<std::string, std::string>> typed,
                              const numeric::DecimalSeparator& separator, const tolerance::SweepRange& range,
                              const std::vector<tolerance::SweepRow>& rows, const std::string& command,
                              std::chrono::year_month_day date) {
    const page::Field& swept = *page.find_field(range.field);
    std::string html = document_start("Průběh výsledků – " + page_name(page));
    html += header("PRŮBĚH VÝSLEDKŮ", page, date,
                   fact("Příkaz", "command", "<code class=\"command\">" + user_text(command) + "</code>") +
                       fact("Měněné pole", "swept", escaped(field_title(swept)) + ", " + sweep_words(range, rows)));
    html += sweep_body(page, typed, separator, range, rows);
    html += footer(std::to_string(rows.size()) + " výpočty stránky");
    return html + document_end();
}

}  // namespace vorlanex::report
