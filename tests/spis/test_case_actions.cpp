// The case window's action table: in every menu each mnemonic is one control's, every object name
// and shortcut is one action's (the menu bar's titles too), and the menus the window builds hold the table's rows in
// order.
#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <map>

#include "spis/case_actions.h"
#include "spis/case_window.h"

namespace vorlanex::spis {
namespace {

// The letter after "&", lower-cased; none when the text has no mnemonic.
QChar mnemonic(const QString& text) {
    const qsizetype at = text.indexOf(QLatin1Char('&'));
    return at < 0 || at + 1 >= text.size() ? QChar() : text.at(at + 1).toLower();
}

TEST(CaseActions, MnemonicsObjectNamesAndShortcutsAreEachOnesOwn) {
    std::map<int, QSet<QChar>> mnemonics;
    QSet<QString> names, shortcuts;
    QSet<QChar> titles;
    for (const CaseMenu menu : case_menus()) {
        EXPECT_FALSE(titles.contains(mnemonic(case_menu_title(menu)))) << case_menu_title(menu).toStdString();
        titles.insert(mnemonic(case_menu_title(menu)));
    }
    for (const CaseActionRow& row : case_action_rows()) {
        const QString text = QString::fromUtf8(row.text);
        const QChar letter = mnemonic(text);
        ASSERT_FALSE(letter.isNull()) << row.text;
        EXPECT_FALSE(mnemonics[static_cast<int>(row.menu)].contains(letter)) << row.text;
        mnemonics[static_cast<int>(row.menu)].insert(letter);
        EXPECT_FALSE(names.contains(QString::fromLatin1(row.object_name))) << row.object_name;
        names.insert(QString::fromLatin1(row.object_name));
        const QString shortcut = shortcut_of(row).toString();
        if (shortcut.isEmpty()) continue;
        EXPECT_FALSE(shortcuts.contains(shortcut)) << row.text;
        shortcuts.insert(shortcut);
    }
}

TEST(CaseActions, TheWindowsMenusHoldTheRowsAndWhatNeedsACalculationWaitsForOne) {
    CaseWindow window(numeric::DecimalSeparator(","));
    for (const CaseActionRow& row : case_action_rows()) {
        if (row.submenu) {
            EXPECT_NE(window.findChild<QMenu*>(QString::fromLatin1(row.object_name)), nullptr) << row.object_name;
            continue;
        }
        QAction* action = window.action(row.action);
        ASSERT_NE(action, nullptr) << row.object_name;
        EXPECT_EQ(action->objectName(), QString::fromLatin1(row.object_name));
        EXPECT_EQ(action->text(), QString::fromUtf8(row.text));
        // No calculation and nothing done yet in a new window, and no protocol being made.
        const bool usable = (row.needs & ~unsigned{kIdleProtocol}) == 0;
        EXPECT_EQ(action->isEnabled(), usable) << row.object_name;
    }
}

}  // namespace
}  // namespace vorlanex::spis
