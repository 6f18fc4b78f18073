// The case window from the keyboard alone: Tab goes from the list to the selected calculation's
// title, note, inputs and results, then to the panels; no Alt+letter belongs to two controls of one
// window in any state (the menus, the tabs, every dialog and box, Qt's Czech texts included); what
// needs a calculation waits for one; F1 opens the guide.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QTreeWidget>
#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/environment.h"
#include "app/kin.h"
#include "qtshared/czech_qt_texts.h"
#include "registry/page_tree.h"
#include "spis/calculation_view.h"
#include "spis/case_properties_dialog.h"
#include "spis/case_window.h"
#include "spis/guide_window.h"

namespace vorlanex::spis {
namespace {

const numeric::DecimalSeparator kComma{","};

// Qt's own buttons ("Zrušit", "Uložit") as the program shows them: in Czech.
void load_czech_once() {
    static const bool loaded = qtshared::load_czech_qt_texts(*QCoreApplication::instance());
    (void)loaded;
}

std::string test_name(const page::PageDefinition* page) {
    std::string name(page->key);
    for (char& character : name) {
        if (!std::isalnum(static_cast<unsigned char>(character))) character = '_';
    }
    return name;
}

// ---- Mnemonics ----------------------------------------------------------------------------------

// "Alt+N" for "&Název", nothing for a text without a mnemonic.
QString alt_key(const QString& text) { return QKeySequence::mnemonic(text).toString(QKeySequence::PortableText); }

bool shown(const QWidget* widget) { return widget->isVisible() && widget->isEnabled(); }

// Every Alt+letter of the controls shown and enabled in `top` (its own window, not another one it
// owns), with what holds it.
std::map<QString, std::vector<QString>> mnemonics_in(QWidget* top) {
    std::map<QString, std::vector<QString>> holders;
    const auto add = [&](const QString& text) {
        const QString key = alt_key(text);
        if (!key.isEmpty()) holders[key.toLower()].push_back(text);
    };
    for (QWidget* widget : top->findChildren<QWidget*>()) {
        if (widget->window() != top || !shown(widget)) continue;
        if (const auto* label = qobject_cast<QLabel*>(widget)) {
            if (label->buddy() && shown(label->buddy())) add(label->text());
        } else if (const auto* button = qobject_cast<QAbstractButton*>(widget)) {
            add(button->text());
        } else if (const auto* group = qobject_cast<QGroupBox*>(widget)) {
            add(group->title());
        } else if (const auto* bar = qobject_cast<QMenuBar*>(widget)) {
            for (const QAction* action : bar->actions()) {
                if (action->isVisible() && action->isEnabled()) add(action->text());
            }
        } else if (const auto* tabs = qobject_cast<QTabBar*>(widget)) {
            for (int i = 0; i < tabs->count(); ++i) {
                if (tabs->isTabVisible(i) && tabs->isTabEnabled(i)) add(tabs->tabText(i));
            }
        }
    }
    return holders;
}

// "Alt+N: &Název, &Nápověda" for each key held twice or more; empty when each is one control's.
std::string clashes_in(QWidget* top) {
    std::string clashes;
    for (const auto& [key, texts] : mnemonics_in(top)) {
        if (texts.size() < 2) continue;
        clashes += key.toStdString() + ":";
        for (const QString& text : texts) clashes += " " + text.toStdString();
        clashes += "\n";
    }
    return clashes;
}

// The clashes of the modal window that `open` opens, closed again once looked at.
std::string clashes_in_modal(const std::function<void()>& open) {
    std::string clashes = "no modal window opened";
    QTimer::singleShot(0, [&clashes] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) return;
        clashes = clashes_in(modal);
        if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();  // Zrušit, or the box's only button
    });
    open();
    return clashes;
}

// A case window shown with `pages` added, the last one selected, and the panel `tab` in front.
struct ShownWindow {
    explicit ShownWindow(const std::vector<const page::PageDefinition*>& pages, int tab = 0) : window(kComma) {
        for (const page::PageDefinition* page : pages) window.add_calculation(*page);
        window.findChild<QTabWidget*>()->setCurrentIndex(tab);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    CaseWindow window;
};

// The selected calculation's first input given a tolerance, typed as the expert types it: the
// Tolerance panel can then run.
void give_a_tolerance(CaseWindow& window) {
    auto* line = window.calculation_view()->findChild<QLineEdit*>(QStringLiteral("tolerance:I1"));
    ASSERT_NE(line, nullptr);
    line->setText(QStringLiteral("18..22"));
}

struct MnemonicState {
    const char* name;
    std::function<std::string()> clashes;  // the clashes found in this state
};

class Mnemonics : public ::testing::TestWithParam<MnemonicState> {};

TEST(MnemonicClashes, TwoControlsOfOneLetterAreFoundAndHiddenOrDisabledOnesLeftOut) {
    QWidget top;
    auto* first = new QPushButton(QStringLiteral("&Uložit"), &top);
    auto* second = new QCheckBox(QStringLiteral("&uložit vše"), &top);
    auto* escaped = new QPushButton(QStringLiteral("Tom && Jerry"), &top);
    first->move(0, 0);
    second->move(0, 40);
    escaped->move(0, 80);
    top.show();
    EXPECT_NE(clashes_in(&top), "");
    second->setEnabled(false);
    EXPECT_EQ(clashes_in(&top), "");
    second->setEnabled(true);
    second->hide();
    EXPECT_EQ(clashes_in(&top), "");
}

struct HeldKeys {
    int tab;                        // the panel in front
    std::vector<const char*> keys;  // Alt+letters the window then holds, among others
};

class MainWindowKeys : public ::testing::TestWithParam<HeldKeys> {};

TEST_P(MainWindowKeys, AreTheMenusTheFormsCaptionsTheTabsAndThePanelInFront) {
    ShownWindow shown({registry::calculation_pages().front()}, GetParam().tab);
    give_a_tolerance(shown.window);
    const auto held = mnemonics_in(&shown.window);
    for (const char* key : GetParam().keys) EXPECT_TRUE(held.contains(QString::fromLatin1(key))) << key;
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(CaseWindow, MainWindowKeys, ::testing::Values(
    HeldKeys{0, {"alt+s", "alt+r", "alt+v", "alt+n", "alt+e", "alt+a", "alt+d", "alt+t", "alt+c"}},
    HeldKeys{1, {"alt+u"}},                     // Spustit
    HeldKeys{2, {"alt+p", "alt+m", "alt+k"}}));  // Spočítat průběh, Měněné pole, Kroků
// clang-format on

TEST_P(Mnemonics, EachAltLetterIsOneControlsInEveryWindowShown) {
    load_czech_once();
    EXPECT_EQ(GetParam().clashes(), "");
}

// The main window with no calculation and with one of each page, each panel in front.
std::vector<MnemonicState> main_window_states() {
    std::vector<MnemonicState> states;
    for (int tab = 0; tab < 3; ++tab) {
        states.push_back({"NoCalculation", [tab] {
                              ShownWindow shown({}, tab);
                              return clashes_in(&shown.window);
                          }});
        for (const page::PageDefinition* page : registry::calculation_pages()) {
            states.push_back({"Page", [page, tab] {
                                  ShownWindow shown({page}, tab);
                                  return clashes_in(&shown.window);
                              }});
        }
    }
    return states;
}

// clang-format off
const std::vector<MnemonicState> kDialogStates = {
    {"Properties", [] {
        ShownWindow shown({});
        return clashes_in_modal([&] { shown.window.action(CaseAction::Properties)->trigger(); });
    }},
    {"PropertiesFilledIn", [] {
        casefile::CaseHeader header;
        header.reference = "ZP 17/2026";
        header.note = "Poznámka";
        CasePropertiesDialog dialog(header);
        dialog.show();
        return clashes_in(&dialog);
    }},
    {"ToleranceRunnable", [] {
        ShownWindow shown({registry::calculation_pages().front()}, 1);
        give_a_tolerance(shown.window);
        return clashes_in(&shown.window);
    }},
    {"About", [] {
        ShownWindow shown({});
        return clashes_in_modal([&] { shown.window.action(CaseAction::About)->trigger(); });
    }},
    {"UnsavedChangesQuestion", [] {
        ShownWindow shown({registry::calculation_pages().front()});
        return clashes_in_modal([&] { shown.window.action(CaseAction::New)->trigger(); });
    }},
    {"FileChangedOnDiskQuestion", [] {
        const QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("případ.vorlanex"));
        ShownWindow shown({registry::calculation_pages().front()});
        EXPECT_EQ(shown.window.save_case(path), std::nullopt);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::Append));
        file.write("\n");  // another program's change
        file.close();
        return clashes_in_modal([&] { shown.window.action(CaseAction::Save)->trigger(); });
    }},
    {"Guide", [] {
        ShownWindow shown({});
        return clashes_in(shown.window.show_guide());
    }},
    {"CalculatorEveryPage", [] {
        // The calculator's window, each of its pages (a tab, and each sub-page of a tab) in front.
        app::TForm1 form(app::Environment{kComma, QStringLiteral("vorlanex")});
        form.show();
        std::string clashes;
        for (int top = 0; top < form.page_tree()->count(); ++top) {
            form.page_tree()->setCurrentIndex(top);
            auto* nested = qobject_cast<QTabWidget*>(form.page_tree()->currentWidget());
            for (int sub = 0; sub < (nested ? nested->count() : 1); ++sub) {
                if (nested) nested->setCurrentIndex(sub);
                clashes += clashes_in(&form);
            }
        }
        return clashes;
    }},
};
// clang-format on

std::vector<MnemonicState> every_state() {
    std::vector<MnemonicState> states = main_window_states();
    states.insert(states.end(), kDialogStates.begin(), kDialogStates.end());
    return states;
}

INSTANTIATE_TEST_SUITE_P(CaseWindow, Mnemonics, ::testing::ValuesIn(every_state()),
                         [](const auto& info) { return std::to_string(info.index) + "_" + info.param.name; });

// ---- Tab order ----------------------------------------------------------------------------------

// The widgets Tab visits from the list, `presses` times, each time the one that has the focus.
std::vector<QWidget*> tab_walk(CaseWindow& window, int presses) {
    window.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    window.calculation_list()->setFocus();
    std::vector<QWidget*> walk;
    for (int i = 0; i < presses; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        walk.push_back(QApplication::focusWidget());
    }
    return walk;
}

std::string described(const QWidget* widget) {
    if (!widget) return "(none)";
    return std::string(widget->metaObject()->className()) + " " +
           (widget->accessibleName().isEmpty() ? widget->objectName() : widget->accessibleName()).toStdString();
}

class TabOrder : public ::testing::TestWithParam<const page::PageDefinition*> {};

TEST_P(TabOrder, GoesFromTheListToTheTitleNoteInputsResultsThenThePanels) {
    ShownWindow shown({GetParam()});
    const QList<QWidget*> form = shown.window.calculation_view()->focus_order();
    const std::vector<QWidget*> walk = tab_walk(shown.window, static_cast<int>(form.size()) + 1);
    for (qsizetype i = 0; i < form.size(); ++i) {
        EXPECT_EQ(walk[static_cast<std::size_t>(i)], form[i])
            << "press " << i + 1 << ": " << described(walk[static_cast<std::size_t>(i)]) << " in place of "
            << described(form[i]);
    }
    const QTabWidget* panels = shown.window.findChild<QTabWidget*>();
    EXPECT_EQ(walk.back(), panels->tabBar()) << described(walk.back());
    // The first input: the third press, after the title and the note; Shift+Tab goes back.
    ASSERT_GE(form.size(), 3);
    const auto first_input =
        std::find_if(GetParam()->layout.fields.begin(), GetParam()->layout.fields.end(),
                     [](const page::Field& field) { return field.role == page::FieldRole::Input; });
    ASSERT_NE(first_input, GetParam()->layout.fields.end());
    EXPECT_EQ(walk[2]->objectName(), QString::fromUtf8(first_input->id.data(), std::ssize(first_input->id)));
    walk[2]->setFocus();
    QTest::keyClick(walk[2], Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), form[1]) << described(QApplication::focusWidget());
    // On from the panels: the buttons below the list, then the list again.
    walk.back()->setFocus();
    std::vector<QString> rest;
    for (int i = 0; i < 40 && QApplication::focusWidget() != shown.window.calculation_list(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        rest.push_back(QApplication::focusWidget()->accessibleName());
    }
    ASSERT_GE(rest.size(), 2u);
    EXPECT_EQ(rest.back(), shown.window.calculation_list()->accessibleName());
    EXPECT_EQ(rest[rest.size() - 2], QStringLiteral("Odstranit výpočet"));
}

INSTANTIATE_TEST_SUITE_P(Registry, TabOrder, ::testing::ValuesIn(registry::calculation_pages()),
                         [](const auto& info) { return test_name(info.param); });

// ---- What needs a calculation -------------------------------------------------------------------

struct ActionNeed {
    const char* object_name;
    bool without_calculation;  // usable in a new case of no calculation
    bool with_selection;       // usable with a calculation selected, before anything was undone
};

// clang-format off
constexpr ActionNeed kActionNeeds[] = {
    {"novy",               true,  true},
    {"otevrit",            true,  true},
    {"ulozit",             true,  true},
    {"ulozit_jako",        true,  true},
    {"vlastnosti",         true,  true},
    {"export_pdf",         false, true},
    {"export_html",        false, true},
    {"tisk",               false, true},
    {"konec",              true,  true},
    {"zpet",               false, true},   // the calculation's addition is a step back
    {"znovu",              false, false},
    {"duplikovat",         false, true},
    {"odstranit",          false, true},
    {"nahoru",             false, true},
    {"dolu",               false, true},
    {"kopirovat_vysledky", false, true},
    {"odvratitelnost",     false, true},   // the first page is a "Kinematika" reconstruction
    {"navod",              true,  true},
    {"pravidla_cisel",     true,  true},
    {"o_programu",         true,  true},
};
// clang-format on

TEST(CaseActions, WhatNeedsACalculationIsDisabledWithoutOneForEveryRowOfTheTable) {
    CaseWindow window(kComma);
    std::set<std::string> covered;
    for (const ActionNeed& need : kActionNeeds) covered.insert(need.object_name);
    for (const CaseActionRow& row : case_action_rows()) {
        if (row.submenu) continue;
        EXPECT_TRUE(covered.contains(row.object_name)) << row.object_name << " has no row here";
    }
    const auto check = [&](const char* state, bool ActionNeed::*usable) {
        for (const ActionNeed& need : kActionNeeds) {
            const QAction* action = window.findChild<QAction*>(QString::fromLatin1(need.object_name));
            ASSERT_NE(action, nullptr) << need.object_name;
            EXPECT_EQ(action->isEnabled(), need.*usable) << need.object_name << " " << state;
        }
    };
    check("without a calculation", &ActionNeed::without_calculation);
    window.add_calculation(*registry::calculation_pages().front());
    check("with one selected", &ActionNeed::with_selection);
    window.action(CaseAction::Remove)->trigger();  // the last one gone: back to none
    for (const char* name : {"export_pdf", "export_html", "tisk", "duplikovat", "kopirovat_vysledky"}) {
        EXPECT_FALSE(window.findChild<QAction*>(QString::fromLatin1(name))->isEnabled()) << name;
    }
}

// ---- The guide ----------------------------------------------------------------------------------

TEST(CaseWindow, F1OpensTheGuideAndNumberRulesOpensItAtItsHeading) {
    ShownWindow shown({});
    QAction* guide = shown.window.action(CaseAction::Guide);
    EXPECT_EQ(guide->shortcut(), QKeySequence(Qt::Key_F1));
    guide->trigger();
    auto* window = shown.window.findChild<GuideWindow*>();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->text()->document()->toPlainText().isEmpty(), false);
    shown.window.action(CaseAction::NumberRules)->trigger();
    EXPECT_EQ(shown.window.findChildren<GuideWindow*>().size(), 1);  // the same window again
    EXPECT_EQ(window->contents()->currentItem()->text(0), QStringLiteral("Pravidla pro čísla"));
}

}  // namespace
}  // namespace vorlanex::spis
