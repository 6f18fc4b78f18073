#pragma once
// The case window's menus as one table: every action with its menu, its text and mnemonic, its
// shortcut, its object name and when it can be used. The window builds its menus from the table,
// runs an action's step by its name, and decides in one place what is enabled.
#include <QKeySequence>
#include <QString>
#include <span>

namespace vorlanex::spis {

enum class CaseMenu { File, Edit, Calculation, Help };

// What an action needs to be usable; an action that needs several has them joined with "|".
enum Need : unsigned {
    kNothing = 0,
    kSelection = 1U << 0,       // a selected calculation
    kCalculation = 1U << 1,     // a calculation in the case (a protocol of none says nothing)
    kIdleProtocol = 1U << 2,    // no protocol being made
    kUndoStep = 1U << 3,        // a step of the case to undo
    kRedoStep = 1U << 4,        // an undone step to redo
    kReconstruction = 1U << 5,  // a selected "Kinematika" reconstruction
};

enum class CaseAction {
    New,
    Open,
    RecentFiles,  // the submenu of the case files used last
    Save,
    SaveAs,
    Properties,
    ExportPdf,
    ExportHtml,
    Print,
    Quit,
    Undo,
    Redo,
    Add,  // the submenu of the pages
    Duplicate,
    Remove,
    MoveUp,
    MoveDown,
    CopyResults,
    AvoidabilityChain,
    Guide,
    NumberRules,
    About,
};

struct CaseActionRow {
    CaseAction action;
    CaseMenu menu;
    const char* text;         // UTF-8, "&" before the mnemonic
    const char* object_name;  // for the tests and assistive technologies
    QKeySequence::StandardKey standard_key = QKeySequence::UnknownKey;
    const char* shortcut = nullptr;  // a shortcut no standard key names ("Ctrl+D")
    unsigned needs = kNothing;       // Need values joined with "|"
    bool separator_before = false;
    bool submenu = false;
};

// The menus in the menu bar's order.
std::span<const CaseMenu> case_menus();
// The rows in the menus' order.
std::span<const CaseActionRow> case_action_rows();
// The menu bar's own titles with their mnemonics.
QString case_menu_title(CaseMenu menu);
QKeySequence shortcut_of(const CaseActionRow& row);

}  // namespace vorlanex::spis
