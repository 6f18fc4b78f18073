#include "spis/case_actions.h"

namespace vorlanex::spis {

namespace {

using enum CaseAction;
using enum CaseMenu;
using enum Availability;
using Key = QKeySequence;

// clang-format off
constexpr CaseActionRow kRows[] = {
    {New,         File,        "&Nový",                         "novy",              Key::New},
    {Open,        File,        "&Otevřít…",                     "otevrit",           Key::Open},
    {RecentFiles, File,        "Nedávné &soubory",              "nedavne_soubory",   Key::UnknownKey, nullptr, Always, false, true},
    {Save,        File,        "&Uložit",                       "ulozit",            Key::Save},
    {SaveAs,      File,        "Uložit &jako…",                 "ulozit_jako",       Key::UnknownKey, "Ctrl+Shift+S"},
    {Properties,  File,        "&Vlastnosti případu…",          "vlastnosti",        Key::UnknownKey, nullptr, Always, true},
    {ExportPdf,   File,        "Exportovat protokol do &PDF…",  "export_pdf",        Key::UnknownKey, nullptr, NoProtocol},
    {ExportHtml,  File,        "Exportovat protokol do &HTML…", "export_html"},
    {Print,       File,        "&Tisk…",                        "tisk",              Key::Print, nullptr, NoProtocol},
    {Quit,        File,        "&Konec",                        "konec",             Key::UnknownKey, "Ctrl+Q", Always, true},
    {Undo,        Edit,        "&Zpět",                         "zpet",              Key::Undo, nullptr, CanUndo},
    {Redo,        Edit,        "Z&novu",                        "znovu",             Key::Redo, nullptr, CanRedo},
    {Add,         Calculation, "&Přidat",                       "pridat",            Key::UnknownKey, nullptr, Always, false, true},
    {Duplicate,   Calculation, "&Duplikovat",                   "duplikovat",        Key::UnknownKey, "Ctrl+D", Selection},
    {Remove,      Calculation, "&Odstranit",                    "odstranit",         Key::Delete, nullptr, Selection},
    {MoveUp,      Calculation, "Na&horu",                       "nahoru",            Key::UnknownKey, "Ctrl+Up", Selection},
    {MoveDown,    Calculation, "Do&lů",                         "dolu",              Key::UnknownKey, "Ctrl+Down", Selection},
    {CopyResults, Calculation, "&Kopírovat výsledky",           "kopirovat_vysledky", Key::UnknownKey, "Ctrl+Shift+C", Selection, true},
    {About,       Help,        "&O programu",                   "o_programu"},
};
// clang-format on

constexpr CaseMenu kMenus[] = {File, Edit, Calculation, Help};

}  // namespace

std::span<const CaseMenu> case_menus() { return kMenus; }

std::span<const CaseActionRow> case_action_rows() { return kRows; }

QString case_menu_title(CaseMenu menu) {
    switch (menu) {
        case File: return QStringLiteral("&Soubor");
        case Edit: return QStringLiteral("Ú&pravy");
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
