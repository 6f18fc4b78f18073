#include "spis/case_actions.h"

namespace vorlanex::spis {

namespace {

using enum CaseAction;
using enum CaseMenu;
using Key = QKeySequence;

// clang-format off
constexpr CaseActionRow kRows[] = {
    {New,         File,        "&Nový",                         "novy",              Key::New},
    {Open,        File,        "&Otevřít…",                     "otevrit",           Key::Open},
    {RecentFiles, File,        "Nedávné &soubory",              "nedavne_soubory",   Key::UnknownKey, nullptr, kNothing, false, true},
    {Save,        File,        "&Uložit",                       "ulozit",            Key::Save},
    {SaveAs,      File,        "Uložit &jako…",                 "ulozit_jako",       Key::UnknownKey, "Ctrl+Shift+S"},
    {Properties,  File,        "&Vlastnosti případu…",          "vlastnosti",        Key::UnknownKey, nullptr, kNothing, true},
    {ExportPdf,   File,        "Exportovat protokol do &PDF…",  "export_pdf",        Key::UnknownKey, nullptr, kCalculation | kIdleProtocol},
    {ExportHtml,  File,        "Exportovat protokol do &HTML…", "export_html",       Key::UnknownKey, nullptr, kCalculation},
    {Print,       File,        "&Tisk…",                        "tisk",              Key::Print, nullptr, kCalculation | kIdleProtocol},
    {Quit,        File,        "&Konec",                        "konec",             Key::UnknownKey, "Ctrl+Q", kNothing, true},
    {Undo,        Edit,        "&Zpět",                         "zpet",              Key::Undo, nullptr, kUndoStep},
    {Redo,        Edit,        "Z&novu",                        "znovu",             Key::Redo, nullptr, kRedoStep},
    {Add,         Calculation, "&Přidat",                       "pridat",            Key::UnknownKey, nullptr, kNothing, false, true},
    {Duplicate,   Calculation, "&Duplikovat",                   "duplikovat",        Key::UnknownKey, "Ctrl+D", kSelection},
    {Remove,      Calculation, "&Odstranit",                    "odstranit",         Key::Delete, nullptr, kSelection},
    {MoveUp,      Calculation, "Na&horu",                       "nahoru",            Key::UnknownKey, "Ctrl+Up", kSelection},
    {MoveDown,    Calculation, "Do&lů",                         "dolu",              Key::UnknownKey, "Ctrl+Down", kSelection},
    {CopyResults, Calculation, "&Kopírovat výsledky",           "kopirovat_vysledky", Key::UnknownKey, "Ctrl+Shift+C", kSelection, true},
    {AvoidabilityChain, Calculation, "Od&vratitelnost při dovolené rychlosti…", "odvratitelnost", Key::UnknownKey, nullptr, kReconstruction, true},
    {Guide,       Help,        "&Návod",                        "navod",             Key::HelpContents},
    {NumberRules, Help,        "&Pravidla čísel",               "pravidla_cisel"},
    {About,       Help,        "&O programu",                   "o_programu",        Key::UnknownKey, nullptr, kNothing, true},
};
// clang-format on

constexpr CaseMenu kMenus[] = {File, Edit, Calculation, Help};

}  // namespace

std::span<const CaseMenu> case_menus() { return kMenus; }

std::span<const CaseActionRow> case_action_rows() { return kRows; }

QString case_menu_title(CaseMenu menu) {
    switch (menu) {
        case File: return QStringLiteral("&Soubor");
        case Edit: return QStringLiteral("Úp&ravy");
        case Calculation: return QStringLiteral("&Výpočet");
        case Help: return QStringLiteral("&Nápověda");
    }
    return {};
}

QKeySequence shortcut_of(const CaseActionRow& row) {
    if (row.shortcut) return QKeySequence(QString::fromLatin1(row.shortcut));
    return row.standard_key == QKeySequence::UnknownKey ? QKeySequence() : QKeySequence(row.standard_key);
}

}  // namespace vorlanex::spis
