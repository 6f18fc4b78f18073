#include "spis/avoidability_chain.h"

#include "casefile/case_links.h"
#include "casefile/case_writer.h"
#include "casefile/linked_run.h"
#include "numeric/extended.h"
#include "numeric/faults.h"
#include "numeric/parse_number.h"
#include "numeric/round_to_places.h"
#include "numeric/show_number.h"
#include "qtshared/qt_text.h"
#include "registry/page_tree.h"
#include "report/document.h"

namespace vorlanex::spis {

namespace {

constexpr std::string_view kSourcePage = "kinematika";
constexpr std::string_view kStoppingPage = "draha-zastaveni";

// The stopping page's inputs taken from the reconstruction's fields.
struct TakenField {
    const char* input;
    const char* source_field;
};
// clang-format off
constexpr TakenField kTakenFields[] = {
    {"I2", "I6"},   // adhesion coefficient
    {"I3", "I8"},   // reaction time
    {"I4", "I7"},   // brake build-up time
    {"I5", "R15"},  // distance from the start of the reaction to the collision
};
// clang-format on

// What the stopping page writes first in its collision report when the vehicle stops short.
constexpr std::string_view kNoCollision = "Nedojde ke střetu";

bool on_page(const casefile::Calculation& calculation, std::string_view key) {
    return calculation.scenario.page && calculation.scenario.page->key == key;
}

// Letters without accents in lower case and digits, every other run of characters one "-".
std::string id_text_of(const QString& name) {
    std::string id;
    for (const QChar character : name.normalized(QString::NormalizationForm_KD)) {
        if (character.isMark()) continue;
        const char16_t code = character.toLower().unicode();
        if ((code >= u'a' && code <= u'z') || (code >= u'0' && code <= u'9')) {
            id += static_cast<char>(code);
        } else if (!id.empty() && id.back() != '-') {
            id += '-';
        }
    }
    while (!id.empty() && id.back() == '-') id.pop_back();
    return id;
}

// The JSON string of an id made above: its letters, digits and "-" need no escape.
std::string string_token(const std::string& text) { return '"' + text + '"'; }

// The number a field shows, or nothing when it shows none.
std::optional<double> shown_number(const std::string& text, const numeric::DecimalSeparator& separator) {
    try {
        return numeric::parse_number(text, separator);
    } catch (const numeric::Fault&) {
        return std::nullopt;
    }
}

QString trimmed(const std::string& text) { return qtshared::qt_text(text).trimmed(); }

}  // namespace

bool is_avoidability_source(const casefile::Calculation& calculation) { return on_page(calculation, kSourcePage); }

std::string new_id_token(const casefile::CaseFile& file, const casefile::Calculation& calculation) {
    std::string base = id_text_of(qtshared::qt_text(calculation.title.value_or("")));
    if (base.empty()) base = std::string(calculation.scenario.page->key);
    const casefile::IdIndex ids(file);
    std::string token = string_token(base);
    for (int suffix = 2; ids.find(token); ++suffix) token = string_token(base + '-' + std::to_string(suffix));
    return token;
}

casefile::Calculation avoidability_calculation(const std::string& source_id, std::string_view speed_text) {
    casefile::Calculation calculation = casefile::new_calculation(*registry::find_page(kStoppingPage));
    calculation.title = "Odvratitelnost při " + std::string(speed_text) + " km/h";
    calculation.set_text("I1", speed_text);
    for (const TakenField& taken : kTakenFields) calculation.set_link(taken.input, source_id, taken.source_field);
    return calculation;
}

std::optional<AvoidabilityAnswer> avoidability_answer(const casefile::CaseFile& file, std::size_t row,
                                                      const casefile::RecordedRun& run) {
    const casefile::Calculation& calculation = file.calculations[row];
    const casefile::Link* distance = calculation.link_of("I5");
    if (!on_page(calculation, kStoppingPage) || !distance || distance->field != "R15" || run.fault()) {
        return std::nullopt;
    }
    const auto source = casefile::IdIndex(file).find(distance->from);
    if (!source || !is_avoidability_source(file.calculations[*source])) return std::nullopt;
    const casefile::RecordedRun source_run = casefile::run_in_case(file, *source);
    if (source_run.fault()) return std::nullopt;

    const QString speed = trimmed(run.text_before("I1"));
    const QString happened = trimmed(source_run.text_after("R16"));
    const bool stops = run.text_after("C1").starts_with(kNoCollision);
    AvoidabilityAnswer answer;
    if (stops) {
        answer.verdict =
            QStringLiteral("Vozidlo by při dovolené rychlosti %1 km/h zastavilo před místem střetu.").arg(speed);
        answer.times = QStringLiteral(
                           "Od začátku reakce do střetu: skutečně %1 s; při dovolené rychlosti ke střetu "
                           "nedojde.")
                           .arg(happened);
        return answer;
    }
    answer.verdict = QStringLiteral(
                         "Vozidlo by při dovolené rychlosti %1 km/h nezastavilo; rychlost střetu by byla "
                         "%2 km/h.")
                         .arg(speed, trimmed(run.text_after("C3")));
    const QString permitted = trimmed(run.text_after("C8"));
    answer.times = QStringLiteral("Od začátku reakce do střetu: skutečně %1 s, při dovolené rychlosti %2 s")
                       .arg(happened, permitted);
    const auto later = shown_number(run.text_after("C8"), file.separator);
    const auto earlier = shown_number(source_run.text_after("R16"), file.separator);
    if (later && earlier) {
        try {
            const double difference =
                numeric::round_to_places(numeric::Extended(*later) - numeric::Extended(*earlier), 3);
            answer.times += QStringLiteral(", rozdíl %1 s")
                                .arg(qtshared::qt_text(numeric::show_number(difference, file.separator)));
        } catch (const numeric::Fault&) {
            // A difference out of range is left unsaid; the two times stand.
        }
    }
    answer.times += QLatin1Char('.');
    return answer;
}

QString link_source_text(const casefile::CaseFile& file, const casefile::Link& link) {
    QString name = qtshared::qt_text(casefile::id_text(link.from));
    if (const auto source = casefile::IdIndex(file).find(link.from)) {
        const casefile::Calculation& calculation = file.calculations[*source];
        name = calculation.title && !calculation.title->empty()
                   ? qtshared::qt_text(*calculation.title)
                   : qtshared::qt_text(report::page_name(*calculation.scenario.page));
    }
    return QStringLiteral("← %1, %2").arg(name, qtshared::qt_text(link.field));
}

}  // namespace vorlanex::spis
