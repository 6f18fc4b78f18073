#include "spis/fault_text.h"

#include "qtshared/qt_text.h"
#include "report/document.h"

namespace vorlanex::spis {

namespace {

// The error box's texts of the faults that stop a calculation: a text that is not a number
// ("'…' is not a valid floating point value.") and the three arithmetic faults.
constexpr std::string_view kNotNumberStart = "'";
constexpr std::string_view kNotNumberEnd = "' is not a valid floating point value.";

// clang-format off
struct ArithmeticSentence {
    std::string_view error_box;
    const char* czech;
};
constexpr ArithmeticSentence kArithmetic[] = {
    {"Invalid floating point operation.", "Výpočet nelze provést: neplatná operace s čísly (například odmocnina ze záporného čísla nebo 0 / 0)."},
    {"Floating point division by zero.",  "Výpočet nelze provést: dělení nulou."},
    {"Floating point overflow.",          "Výpočet nelze provést: výsledek je příliš velké číslo."},
};
// clang-format on

// The first input of the page (in the form's order) holding `text`, as typed or as the page put it.
const page::Field* input_holding(const casefile::RecordedRun& run, std::string_view text) {
    for (const page::Field& field : run.page().layout.fields) {
        if (field.role != page::FieldRole::Input) continue;
        if (run.text_before(field.id) == text || run.text_after(field.id) == text) return &field;
    }
    return nullptr;
}

ShownFault not_a_number(const casefile::RecordedRun& run, std::string_view text) {
    const QString typed = qtshared::qt_text(text);
    const page::Field* field = input_holding(run, text);
    if (!field) {
        return {text.empty() ? QStringLiteral("Některé pole je prázdné: zapište do něj číslo.")
                             : QStringLiteral("„%1“ není číslo.").arg(typed),
                {}};
    }
    const QString name = qtshared::qt_text(report::caption_of(*field));
    return {text.empty() ? QStringLiteral("Pole „%1“ je prázdné: zapište do něj číslo.").arg(name)
                         : QStringLiteral("V poli „%1“ není číslo: „%2“.").arg(name, typed),
            std::string(field->id)};
}

}  // namespace

std::optional<ShownFault> czech_fault(const casefile::RecordedRun& run) {
    if (!run.fault()) return std::nullopt;
    const std::string_view fault = *run.fault();
    if (fault.size() >= kNotNumberStart.size() + kNotNumberEnd.size() && fault.starts_with(kNotNumberStart) &&
        fault.ends_with(kNotNumberEnd)) {
        return not_a_number(
            run, fault.substr(kNotNumberStart.size(), fault.size() - kNotNumberStart.size() - kNotNumberEnd.size()));
    }
    for (const ArithmeticSentence& sentence : kArithmetic) {
        if (fault == sentence.error_box) return ShownFault{QString::fromUtf8(sentence.czech), {}};
    }
    return ShownFault{qtshared::qt_text(fault).replace(QLatin1Char('\r'), QLatin1Char(' ')), {}};
}

}  // namespace vorlanex::spis
