// The case file reader's faults in Czech: every kind of fault, from a file that has it, read with
// its kind and the English message vorlanex-calc prints, and said in Czech with its line and names.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <set>

#include "qtshared/czech_qt_texts.h"
#include "spis/case_error_text.h"

namespace vorlanex::spis {
namespace {

using Kind = casefile::CaseError::Kind;

const std::string kCase = R"({"format":1,"separator":",","case":{}})"
                          "\n";

struct Fault {
    const char* name;
    std::optional<std::string> bytes;  // none: a kind no file can have, its error made here
    Kind kind;
    const char* english_part;
    const char* czech;
};

class CzechFault : public ::testing::TestWithParam<Fault> {};

TEST_P(CzechFault, IsSaidWithItsLineAndNames) {
    const Fault& fault = GetParam();
    casefile::CaseError error{"field 'I1' is given twice", Kind::FieldTwice, 2, "I1", ""};
    if (fault.bytes) {
        auto read = casefile::read_case_file(*fault.bytes);
        ASSERT_TRUE(std::holds_alternative<casefile::CaseError>(read));
        error = std::get<casefile::CaseError>(read);
    }
    EXPECT_EQ(error.kind, fault.kind) << error.message;
    EXPECT_NE(error.message.find(fault.english_part), std::string::npos) << error.message;
    EXPECT_EQ(czech_case_error(error).toStdString(), fault.czech);
}

std::string line(const char* json) { return kCase + json + "\n"; }
// A case of format 2: line 2 is the calculation "k" of page kinematika, `json` line 3.
std::string linked(const char* json) {
    return std::string(R"({"format":2,"separator":","})") + "\n" + R"({"id":"k","page":"kinematika"})" + "\n" + json +
           "\n";
}

// clang-format off
const Fault kFaults[] = {
    {"Empty", " \n", Kind::Empty, "the case file is empty", "soubor je prázdný (jeho první řádek má popsat případ)"},
    {"InvalidUtf8", line("{\"page\":\"kinematika\",\"title\":\"\xff\"}"), Kind::InvalidUtf8, "line 2: the text is not valid UTF-8", "řádek 2: text není platné UTF-8"},
    {"LineTooLong", line(("{\"note\":\"" + std::string(casefile::kMaxCaseLineBytes, 'a') + "\"}").c_str()), Kind::LineTooLong, "longer than 1 MiB", "řádek 2: řádek je delší než 1 MiB"},
    {"NotJson", line("{\"page\":"), Kind::NotJson, "line 2: the line is not valid JSON", "řádek 2: řádek není platný JSON"},
    {"NotJsonFirst", "{format\n", Kind::NotJson, "line 1: the line is not valid JSON (the first line is the case", "řádek 1: řádek není platný JSON"},
    {"NestedTooDeep", line(R"({"page":"kinematika","fields":{"I1":[[["x"]]]}})"), Kind::NestedTooDeep, "nests deeper", "řádek 2: řádek je vnořen hlouběji, než soubor případu dovoluje"},
    {"MemberTwice", line(R"({"page":"kinematika","page":"kinematika"})"), Kind::MemberTwice, "'page' is given twice", "řádek 2: položka „page“ je uvedena dvakrát"},
    {"NotObject", line("[1]"), Kind::NotObject, "not a JSON object", "řádek 2: řádek není objekt JSON"},
    {"NoFormat", R"({"separator":","})", Kind::NoFormat, "line 1: the case has no \"format\"", "řádek 1: případ nemá položku „format“ (první řádek popisuje případ)"},
    {"FormatNotWhole", R"({"format":"1","separator":","})", Kind::FormatNotWhole, "whole number", "řádek 1: „format“ musí být celé číslo"},
    {"NewerFormat", R"({"format":3,"separator":","})", Kind::NewerFormat, "this file is of format 3; this version of Vorlanex reads formats 1 and 2", "řádek 1: soubor má formát 3, tato verze programu Vorlanex čte formáty 1 a 2"},
    {"NoSuchFormat", R"({"format":0,"separator":","})", Kind::NoSuchFormat, "there is no format 0", "řádek 1: formát 0 neexistuje"},
    {"UnknownMember", line(R"({"page":"kinematika","foo":1})"), Kind::UnknownMember, "line 2: unknown member 'foo'", "řádek 2: neznámá položka „foo“"},
    {"UnknownMemberOfTheCase", R"({"format":1,"separator":",","case":{"judge":"x"}})", Kind::UnknownMember, "unknown member 'judge' in \"case\"", "řádek 1: neznámá položka „judge“ v „case“"},
    {"UnknownMemberRecorded", line(R"({"page":"kinematika","recorded":{"program":"1","events":[],"fields":{},"x":1}})"), Kind::UnknownMember, "unknown member 'x' in \"recorded\"", "řádek 2: neznámá položka „x“ v „recorded“"},
    {"CaseLineAgain", line(R"({"format":1,"separator":","})"), Kind::CaseLineAgain, "(only the first line is the case)", "řádek 2: neznámá položka „format“ (jen první řádek popisuje případ)"},
    {"NoSeparator", R"({"format":1})", Kind::NoSeparator, "needs \"separator\"", "řádek 1: případ nemá položku „separator“, desetinný oddělovač svých textů"},
    {"BadSeparator", R"({"format":1,"separator":"5"})", Kind::BadSeparator, "got '5'", "řádek 1: „separator“ musí být jeden viditelný znak, který nelze zaměnit s číslicí, znaménkem ani exponentem; zadáno „5“"},
    {"CaseNotObject", R"({"format":1,"separator":",","case":3})", Kind::CaseNotObject, "\"case\" must be an object", "řádek 1: „case“ musí být objekt"},
    {"NotText", line(R"({"page":"kinematika","title":3})"), Kind::NotText, "\"title\" must be a string", "řádek 2: „title“ musí být text"},
    {"TolerancesNotObject", line(R"({"page":"kinematika","tolerances":[]})"), Kind::TolerancesNotObject, "\"tolerances\" must be an object", "řádek 2: „tolerances“ musí být objekt s tolerancemi polí"},
    {"ToleranceOfNoInput", line(R"({"page":"kinematika","tolerances":{"R1":{"distribution":"uniform","low":"1","high":"2"}}})"), Kind::ToleranceOfNoInput, "page 'kinematika' has no input field 'R1'", "řádek 2: stránka „kinematika“ nemá vstupní pole „R1“"},
    {"BadTolerance", line(R"({"page":"kinematika","tolerances":{"I1":{"distribution":"uniform","low":"60","high":"40"}}})"), Kind::BadTolerance, "tolerance of field 'I1': low is above high", "řádek 2: tolerance pole „I1“ je neplatná (tolerance of field 'I1': low is above high)"},
    {"BadAnalyses", line(R"({"page":"kinematika","analyses":{"sweep":{"field":"R1","from":"1","to":"2","steps":1}}})"), Kind::BadAnalyses, "the sweep analysis's field 'R1' is no input field of page 'kinematika'", "řádek 2: nastavení rozborů „analyses“ je neplatné (the sweep analysis's field 'R1' is no input field of page 'kinematika')"},
    {"RecordedNotObject", line(R"({"page":"kinematika","recorded":1})"), Kind::RecordedNotObject, "\"recorded\" must be an object", "řádek 2: „recorded“ musí být objekt"},
    {"RecordedWithoutProgram", line(R"({"page":"kinematika","recorded":{"events":[],"fields":{}}})"), Kind::RecordedWithoutProgram, "needs \"program\"", "řádek 2: „recorded“ nemá „program“, verzi programu"},
    {"RecordedWithoutEvents", line(R"({"page":"kinematika","recorded":{"program":"1","fields":{}}})"), Kind::RecordedWithoutEvents, "needs \"events\"", "řádek 2: „recorded“ nemá „events“, seznam událostí"},
    {"RecordedEventNotObject", line(R"({"page":"kinematika","recorded":{"program":"1","events":[1],"fields":{}}})"), Kind::RecordedEventNotObject, "every recorded event", "řádek 2: každá zaznamenaná událost musí být objekt"},
    {"RecordedWithoutFields", line(R"({"page":"kinematika","recorded":{"program":"1","events":[]}})"), Kind::RecordedWithoutFields, "needs \"fields\"", "řádek 2: „recorded“ nemá „fields“, objekt s texty polí"},
    {"RecordedTextNotText", line(R"({"page":"kinematika","recorded":{"program":"1","events":[],"fields":{"R1":1}}})"), Kind::RecordedTextNotText, "recorded text of field 'R1'", "řádek 2: zaznamenaný text pole „R1“ musí být text"},
    {"IdNotTextOrNumber", line(R"({"id":true,"page":"kinematika"})"), Kind::IdNotTextOrNumber, "\"id\" must be", "řádek 2: „id“ musí být text nebo číslo"},
    {"NoPage", line(R"({"fields":{}})"), Kind::NoPage, "needs \"page\"", "řádek 2: výpočet nemá „page“, název stránky"},
    {"UnknownPage", line(R"({"page":"nic"})"), Kind::UnknownPage, "unknown page 'nic'", "řádek 2: neznámá stránka „nic“"},
    {"FieldsNotObject", line(R"({"page":"kinematika","fields":[]})"), Kind::FieldsNotObject, "\"fields\" must be an object", "řádek 2: „fields“ musí být objekt s texty polí"},
    {"FieldTextNotText", line(R"({"page":"kinematika","fields":{"I1":20}})"), Kind::FieldTextNotText, "text of field 'I1' must be a string", "řádek 2: text pole „I1“ musí být text"},
    {"UnknownField", line(R"({"page":"kinematika","fields":{"X9":"1"}})"), Kind::UnknownField, "page 'kinematika' has no field 'X9'", "řádek 2: stránka „kinematika“ nemá pole „X9“"},
    // A key given twice in "fields" is caught as any key given twice; the scenario's own check
    // stays for a case built another way.
    {"FieldTwice", std::nullopt, Kind::FieldTwice, "field 'I1' is given twice", "řádek 2: pole „I1“ je uvedeno dvakrát"},
    {"IdTwice", line("{\"id\":\"a\",\"page\":\"kinematika\"}\n{\"id\":\"a\",\"page\":\"kinematika\"}"), Kind::IdTwice, "line 3: the id \"a\" is given to an earlier calculation too", "řádek 3: id \"a\" má už dřívější výpočet"},
    {"LinksNotObject", linked(R"({"page":"gev-definice","links":[]})"), Kind::LinksNotObject, "\"links\" must be an object", "řádek 3: „links“ musí být objekt s odkazy vstupů"},
    {"BadLink", linked(R"({"page":"gev-definice","links":{"I1":{"from":"k"}}})"), Kind::BadLink, "the link of 'I1' must be", "řádek 3: odkaz vstupu „I1“ musí být {\"from\":ID,\"field\":POLE}, id výpočtu a jeho pole"},
    {"LinkOntoNoInput", linked(R"({"page":"gev-definice","links":{"R1":{"from":"k","field":"R11"}}})"), Kind::LinkOntoNoInput, "page 'gev-definice' has no input field 'R1' to take a text into", "řádek 3: stránka „gev-definice“ nemá vstupní pole „R1“, do něhož by šlo převzít text"},
    {"LinkToUnknownId", linked(R"({"page":"gev-definice","links":{"I1":{"from":"x","field":"R2"}}})"), Kind::LinkToUnknownId, "input 'I1' takes from \"x\", the id of no calculation", "řádek 3: vstup „I1“ přebírá z výpočtu x, který ve spisu není"},
    {"LinkFromUnknownField", linked(R"({"page":"gev-definice","links":{"I1":{"from":"k","field":"R99"}}})"), Kind::LinkFromUnknownField, "page 'kinematika' of \"k\" has no field 'R99'", "řádek 3: stránka „kinematika“ zdroje nemá pole „R99“"},
    {"LinkUnitsDiffer", linked(R"({"page":"gev-definice","links":{"I1":{"from":"k","field":"R15"}}})"), Kind::LinkUnitsDiffer, "field R15 [m] of \"k\" cannot be taken into input I1 [km/h]", "řádek 3: pole R15 [m] nelze převzít do vstupu I1 [km/h]: vstup musí mít tutéž jednotku"},
    {"LinkCycle", linked("{\"id\":\"a\",\"page\":\"gev-definice\",\"links\":{\"I1\":{\"from\":\"b\",\"field\":\"I1\"}}}\n{\"id\":\"b\",\"page\":\"gev-definice\",\"links\":{\"I1\":{\"from\":\"a\",\"field\":\"I2\"}}}"), Kind::LinkCycle, "line 3: the links go round in a cycle: a ← b ← a", "řádek 3: odkazy se vracejí v kruhu: a ← b ← a"},
    {"NamesKeepTheirPercent", line(R"({"page":"kinematika","fields":{"%2":"1"}})"), Kind::UnknownField, "no field '%2'", "řádek 2: stránka „kinematika“ nemá pole „%2“"},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(CaseFile, CzechFault, ::testing::ValuesIn(kFaults),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CzechFault, EveryKindIsInTheTable) {
    std::set<Kind> kinds;
    for (const Fault& fault : kFaults) kinds.insert(fault.kind);
    // LinkCycle is the last kind.
    EXPECT_EQ(kinds.size(), static_cast<std::size_t>(Kind::LinkCycle) + 1);
}

// The buttons of the window's own dialogs are Qt's: in Czech with Qt's translation, as the program
// loads it.
TEST(CzechQtTexts, TheButtonsOfMessageBoxesAndDialogsAreCzech) {
    ASSERT_TRUE(qtshared::load_czech_qt_texts(*QCoreApplication::instance()))
        << "Qt's Czech translation (qt6-translations-l10n) is missing";
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    const auto text = [](QAbstractButton* button) { return button->text().remove(QLatin1Char('&')).toStdString(); };
    EXPECT_EQ(text(box.button(QMessageBox::Save)), "Uložit");
    EXPECT_EQ(text(box.button(QMessageBox::Discard)), "Zahodit");
    EXPECT_EQ(text(box.button(QMessageBox::Cancel)), "Zrušit");
    QDialogButtonBox buttons(QDialogButtonBox::Open | QDialogButtonBox::Cancel | QDialogButtonBox::Yes |
                             QDialogButtonBox::No);
    EXPECT_EQ(text(buttons.button(QDialogButtonBox::Open)), "Otevřít");
    EXPECT_EQ(text(buttons.button(QDialogButtonBox::Yes)), "Ano");
    EXPECT_EQ(text(buttons.button(QDialogButtonBox::No)), "Ne");
    // Qt's own file dialog, as the window's file dialogs show without a desktop's.
    QFileDialog files(nullptr, QStringLiteral("Otevřít případ"));
    files.setOption(QFileDialog::DontUseNativeDialog);
    QStringList labels;
    for (const QLabel* label : files.findChildren<QLabel*>()) labels << label->text().remove(QLatin1Char('&'));
    EXPECT_TRUE(labels.contains(QStringLiteral("Typ souboru:")) || labels.contains(QStringLiteral("Soubory typu:")))
        << labels.join(QStringLiteral(" | ")).toStdString();
}

}  // namespace
}  // namespace vorlanex::spis
