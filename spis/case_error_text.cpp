#include "spis/case_error_text.h"

#include "qtshared/qt_text.h"

namespace vorlanex::spis {

namespace {

// The sentence of a fault; %1 stands for what it names, %2 for its second name.
QString sentence(casefile::CaseError::Kind kind) {
    using Kind = casefile::CaseError::Kind;
    switch (kind) {
        case Kind::Empty: return QStringLiteral("soubor je prázdný (jeho první řádek má popsat případ)");
        case Kind::InvalidUtf8: return QStringLiteral("text není platné UTF-8");
        case Kind::LineTooLong: return QStringLiteral("řádek je delší než 1 MiB");
        case Kind::NotJson: return QStringLiteral("řádek není platný JSON");
        case Kind::NestedTooDeep: return QStringLiteral("řádek je vnořen hlouběji, než soubor případu dovoluje");
        case Kind::MemberTwice: return QStringLiteral("položka „%1“ je uvedena dvakrát");
        case Kind::NotObject: return QStringLiteral("řádek není objekt JSON");
        case Kind::NoFormat: return QStringLiteral("případ nemá položku „format“ (první řádek popisuje případ)");
        case Kind::FormatNotWhole: return QStringLiteral("„format“ musí být celé číslo");
        case Kind::NewerFormat:
            return QStringLiteral("soubor má formát %1, tato verze programu Vorlanex čte formáty ") +
                   QString::number(casefile::kFormatWithoutLinks) + QStringLiteral(" a ") +
                   QString::number(casefile::kFormat);
        case Kind::NoSuchFormat: return QStringLiteral("formát %1 neexistuje");
        case Kind::UnknownMember: return QStringLiteral("neznámá položka „%1“");
        case Kind::CaseLineAgain: return QStringLiteral("neznámá položka „%1“ (jen první řádek popisuje případ)");
        case Kind::NoSeparator:
            return QStringLiteral("případ nemá položku „separator“, desetinný oddělovač svých textů");
        case Kind::BadSeparator:
            return QStringLiteral(
                "„separator“ musí být jeden viditelný znak, který nelze zaměnit s číslicí, "
                "znaménkem ani exponentem; zadáno „%1“");
        case Kind::CaseNotObject: return QStringLiteral("„case“ musí být objekt");
        case Kind::NotText: return QStringLiteral("„%1“ musí být text");
        case Kind::TolerancesNotObject: return QStringLiteral("„tolerances“ musí být objekt s tolerancemi polí");
        case Kind::ToleranceOfNoInput: return QStringLiteral("stránka „%2“ nemá vstupní pole „%1“");
        case Kind::BadTolerance: return QStringLiteral("tolerance pole „%1“ je neplatná (%2)");
        case Kind::BadAnalyses: return QStringLiteral("nastavení rozborů „analyses“ je neplatné (%2)");
        case Kind::RecordedNotObject: return QStringLiteral("„recorded“ musí být objekt");
        case Kind::RecordedWithoutProgram: return QStringLiteral("„recorded“ nemá „program“, verzi programu");
        case Kind::RecordedWithoutEvents: return QStringLiteral("„recorded“ nemá „events“, seznam událostí");
        case Kind::RecordedEventNotObject: return QStringLiteral("každá zaznamenaná událost musí být objekt");
        case Kind::RecordedWithoutFields: return QStringLiteral("„recorded“ nemá „fields“, objekt s texty polí");
        case Kind::RecordedTextNotText: return QStringLiteral("zaznamenaný text pole „%1“ musí být text");
        case Kind::IdNotTextOrNumber: return QStringLiteral("„id“ musí být text nebo číslo");
        case Kind::NoPage: return QStringLiteral("výpočet nemá „page“, název stránky");
        case Kind::UnknownPage: return QStringLiteral("neznámá stránka „%1“");
        case Kind::FieldsNotObject: return QStringLiteral("„fields“ musí být objekt s texty polí");
        case Kind::FieldTextNotText: return QStringLiteral("text pole „%1“ musí být text");
        case Kind::UnknownField: return QStringLiteral("stránka „%2“ nemá pole „%1“");
        case Kind::FieldTwice: return QStringLiteral("pole „%1“ je uvedeno dvakrát");
        case Kind::IdTwice: return QStringLiteral("id %1 má už dřívější výpočet");
        case Kind::LinksNotObject: return QStringLiteral("„links“ musí být objekt s odkazy vstupů");
        case Kind::BadLink:
            return QStringLiteral("odkaz vstupu „%1“ musí být {\"from\":ID,\"field\":POLE}, id výpočtu a jeho pole");
        case Kind::LinkOntoNoInput:
            return QStringLiteral("stránka „%2“ nemá vstupní pole „%1“, do něhož by šlo převzít text");
        case Kind::LinkToUnknownId: return QStringLiteral("vstup „%2“ přebírá z výpočtu %1, který ve spisu není");
        case Kind::LinkFromUnknownField: return QStringLiteral("stránka „%2“ zdroje nemá pole „%1“");
        case Kind::LinkUnitsDiffer:
            return QStringLiteral("pole %1 nelze převzít do vstupu %2: vstup musí mít tutéž jednotku");
        case Kind::LinkCycle: return QStringLiteral("odkazy se vracejí v kruhu: %1");
    }
    return QString();
}

// The sentence with %1 and %2 put in, once each (a name holding "%2" stays as it is).
QString filled(const QString& sentence, const QString& first, const QString& second) {
    QString text;
    for (qsizetype at = 0; at < sentence.size(); ++at) {
        const QChar next = at + 1 < sentence.size() ? sentence[at + 1] : QChar();
        if (sentence[at] == QLatin1Char('%') && (next == QLatin1Char('1') || next == QLatin1Char('2'))) {
            text += next == QLatin1Char('1') ? first : second;
            ++at;
        } else {
            text += sentence[at];
        }
    }
    return text;
}

}  // namespace

QString czech_case_error(const casefile::CaseError& error) {
    QString text = filled(sentence(error.kind), qtshared::qt_text(error.subject), qtshared::qt_text(error.detail));
    // A member of the case's line or of "recorded" is named with its object.
    if (error.kind == casefile::CaseError::Kind::UnknownMember && !error.detail.empty()) {
        text += QStringLiteral(" v „%1“").arg(qtshared::qt_text(error.detail));
    }
    return error.line > 0 ? QStringLiteral("řádek %1: %2").arg(error.line).arg(text) : text;
}

}  // namespace vorlanex::spis
