#include "report/avoidability_report.h"

#include <cmath>
#include <string_view>
#include <vector>

#include "casefile/avoidability_chain.h"
#include "numeric/extended.h"
#include "numeric/faults.h"
#include "numeric/round_to_places.h"
#include "numeric/show_number.h"
#include "report/markup.h"
#include "report/path_time_diagram.h"

namespace vorlanex::report {

namespace {

// The fields the answer reads. In the reconstruction ("Kinematika"): the distance and the time from
// the start of the reaction to the collision point. In the stopping calculation ("Dráha na
// zastavení"): the speed, the stopping distance and time, the collision speed in km/h and the
// collision time, and the first line of its collision report.
using casefile::kCollisionPointDistance;
constexpr std::string_view kCollisionTime = "R16";
constexpr std::string_view kPermittedSpeed = "I1";
constexpr std::string_view kStoppingDistance = "R11";
constexpr std::string_view kStoppingTime = "R13";
constexpr std::string_view kCollisionSpeed = "C3";
constexpr std::string_view kPermittedCollisionTime = "C8";

constexpr std::string_view kRealMotion = "skutečný pohyb";
constexpr std::string_view kPermittedMotion = "při dovolené rychlosti";

// One number the answer rests on: which run's field, its caption, the text it shows, its unit.
struct Number {
    std::string_view run;  // "skutecnost" or "dovolena"
    std::string field;
    std::string_view caption;
    std::string text;
    std::string_view unit;
};

std::string number_rows(const std::vector<Number>& numbers) {
    std::string html;
    for (const Number& number : numbers) {
        html += "<tr data-run=\"" + std::string(number.run) + "\" data-field=\"" + escaped(number.field) + "\"><th>" +
                escaped(number.caption) + "</th><td class=\"value\">" + escaped(number.text) +
                "</td><td class=\"unit\">" + escaped(number.unit) + "</td></tr>\n";
    }
    return html;
}

std::string diagram_figure(const casefile::RecordedRun& reconstruction, const casefile::RecordedRun& permitted) {
    const std::optional<PathTimeDiagram> diagram =
        compared_motions_diagram({reconstruction, kRealMotion}, {permitted, kPermittedMotion});
    if (!diagram) return {};
    if (diagram->svg.empty()) return "<p class=\"not-drawn\">" + escaped(diagram->not_drawn) + "</p>\n";
    return "<figure class=\"avoidability-diagram\">\n" + diagram->svg +
           "<figcaption>Skutečný pohyb vozidla podle rekonstrukce (plně) a pohyb při dovolené rychlosti (čárkovaně) "
           "od místa začátku reakce řidiče, na společných osách; vodorovná čára je místo střetu.</figcaption>\n"
           "</figure>\n";
}

// Where the share of samples that stop would stand. The stopping calculation takes its inputs from
// the reconstruction, and its analyses are sampled only once sampling follows links; until then
// the section says so instead of giving a share.
std::string stop_share_part(bool analyses_kept) {
    if (!analyses_kept) return {};
    return "<p class=\"stop-share-missing\">Podíl vzorků, v nichž by vozidlo zastavilo, zde není uveden: výpočet "
           "s převzatými vstupy se zatím nevzorkuje.</p>\n";
}

}  // namespace

std::optional<double> time_difference(double at_permitted_speed, double as_it_happened) {
    try {
        return numeric::round_to_places(numeric::Extended{at_permitted_speed} - as_it_happened, 3);
    } catch (const numeric::Fault&) {
        return std::nullopt;
    }
}

std::string avoidability_part(const casefile::RecordedRun& reconstruction, const casefile::RecordedRun& permitted,
                              bool analyses_kept) {
    std::string html = "<section class=\"avoidability\">\n<h2>Odvratitelnost při dovolené rychlosti</h2>\n";
    const std::optional<double> real_time = reconstruction.value(kCollisionTime);
    const std::optional<double> distance = reconstruction.value(kCollisionPointDistance);
    if (reconstruction.fault() || permitted.fault() || !real_time || !distance || !permitted.value(kPermittedSpeed)) {
        return html +
               "<p class=\"answer none\">Odvratitelnost nelze posoudit: rekonstrukce nebo výpočet při dovolené "
               "rychlosti nedal potřebné výsledky.</p>\n</section>\n";
    }
    const std::string speed = permitted.text_after(kPermittedSpeed);
    std::vector<Number> numbers{
        {"dovolena", std::string(kPermittedSpeed), "Dovolená rychlost", speed, "km/h"},
        {"skutecnost", std::string(kCollisionPointDistance), "Vzdálenost místa střetu od místa začátku reakce",
         reconstruction.text_after(kCollisionPointDistance), "m"},
        {"skutecnost", std::string(kCollisionTime), "Čas od začátku reakce do střetu ve skutečnosti",
         reconstruction.text_after(kCollisionTime), "s"},
    };
    std::string answer;
    const std::optional<double> permitted_time = permitted.value(kPermittedCollisionTime);
    if (!permitted_time) {
        // No collision: the stopping calculation wrote no collision time.
        answer = "<p class=\"answer stops\">Při dovolené rychlosti " + escaped(speed) +
                 " km/h by vozidlo zastavilo před místem střetu: celková dráha na zastavení " +
                 escaped(permitted.text_after(kStoppingDistance)) +
                 " m nepřesahuje vzdálenost místa střetu od místa začátku reakce " +
                 escaped(reconstruction.text_after(kCollisionPointDistance)) + " m.</p>\n";
        numbers.push_back({"dovolena", std::string(kStoppingDistance),
                           "Celková dráha na zastavení při dovolené rychlosti", permitted.text_after(kStoppingDistance),
                           "m"});
        numbers.push_back({"dovolena", std::string(kStoppingTime), "Celkový čas na zastavení při dovolené rychlosti",
                           permitted.text_after(kStoppingTime), "s"});
    } else {
        const std::string collision_speed = permitted.text_after(kCollisionSpeed);
        const std::optional<double> difference = time_difference(*permitted_time, *real_time);
        std::string later;
        if (difference && *difference != 0) {
            later = ", o " + numeric::show_number(std::fabs(*difference), permitted.separator()) + " s " +
                    (*difference > 0 ? "později" : "dříve") + " než ve skutečnosti";
        } else if (difference) {
            later = ", ve stejném čase jako ve skutečnosti";
        }
        answer = "<p class=\"answer collides\">Při dovolené rychlosti " + escaped(speed) +
                 " km/h by vozidlo před místem střetu nezastavilo: do místa střetu by dojelo rychlostí " +
                 escaped(collision_speed) + " km/h" + escaped(later) + ".</p>\n";
        numbers.push_back({"dovolena", std::string(kCollisionSpeed), "Rychlost střetu při dovolené rychlosti",
                           collision_speed, "km/h"});
        numbers.push_back({"dovolena", std::string(kPermittedCollisionTime),
                           "Čas od začátku reakce do střetu při dovolené rychlosti",
                           permitted.text_after(kPermittedCollisionTime), "s"});
        numbers.push_back(
            {"rozdil", "C8-R16", "Rozdíl časů (při dovolené rychlosti − ve skutečnosti)",
             difference ? numeric::show_number(*difference, permitted.separator()) : std::string("nelze vyčíslit"),
             "s"});
    }
    html += answer + "<table class=\"avoidability-numbers\">\n<tbody>\n" + number_rows(numbers) +
            "</tbody>\n</table>\n" + stop_share_part(analyses_kept) + diagram_figure(reconstruction, permitted);
    return html + "</section>\n";
}

}  // namespace vorlanex::report
