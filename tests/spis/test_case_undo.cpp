// Undo and redo in the case window: every kind of change to the case undone gives back the case
// file's very text before it and redone the text after it, with the unsaved mark following the undo
// stack's saved state; a run of typing in one field is one step; Ctrl+Z in a line edit undoes the
// line's own typing first.
#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <string>

#include "casefile/case_writer.h"
#include "registry/page_tree.h"
#include "spis/calculation_view.h"
#include "spis/case_window.h"
#include "version/version.h"

namespace vorlanex::spis {
namespace {

const numeric::DecimalSeparator kComma{","};
const QString kEveryPageCase = QStringLiteral(VORLANEX_SOURCE_DIR "/tests/cases/every-page.vorlanex");

std::string case_text(const CaseWindow& window) { return casefile::case_file_text(window.document(), kVersion); }

std::string file_bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

QLineEdit* line(const CaseWindow& window, const QString& object_name) {
    return window.calculation_view()->findChild<QLineEdit*>(object_name);
}

QLineEdit* titled(const CaseWindow& window, const QString& accessible_name) {
    for (QLineEdit* edit : window.calculation_view()->findChildren<QLineEdit*>()) {
        if (edit->accessibleName() == accessible_name) return edit;
    }
    return nullptr;
}

// Types `text` over the line's own, as an expert does: a run of keystrokes.
void retype(QLineEdit* edit, const QString& text) {
    ASSERT_NE(edit, nullptr);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

struct Change {
    const char* name;
    std::function<void(CaseWindow&)> make;
    int selected_after_undo;  // the calculation the undone step changed, selected again
    // The line of the form that shows what was changed, and its text after the undo; none when the
    // change is not in the form.
    std::function<QLineEdit*(const CaseWindow&)> shown = nullptr;
    const char* shown_after_undo = "";
};

class EveryChange : public ::testing::TestWithParam<Change> {};

TEST_P(EveryChange, UndoneGivesTheTextBeforeAndRedoneTheTextAfterWithTheMarkFollowing) {
    const Change& change = GetParam();
    CaseWindow window(kComma);
    ASSERT_EQ(window.open_case(kEveryPageCase), std::nullopt);
    window.select_calculation(1);
    const std::string before = case_text(window);
    QAction* undo = window.action(CaseAction::Undo);
    QAction* redo = window.action(CaseAction::Redo);
    EXPECT_FALSE(undo->isEnabled());

    change.make(window);
    const std::string after = case_text(window);
    ASSERT_NE(after, before);
    EXPECT_EQ(window.open_case().text(), after);  // a save's text, from the outcomes kept, is the runs' text
    EXPECT_TRUE(window.isWindowModified());
    EXPECT_EQ(window.open_case().undo_stack().count(), 1);  // a run of typing is one step
    ASSERT_TRUE(undo->isEnabled());
    EXPECT_FALSE(redo->isEnabled());

    window.calculation_list()->setFocus();
    undo->trigger();
    EXPECT_EQ(case_text(window), before);
    EXPECT_FALSE(window.isWindowModified());  // back where it was opened
    EXPECT_EQ(window.selected_row(), change.selected_after_undo);
    if (change.shown) {
        QLineEdit* shown = change.shown(window);
        ASSERT_NE(shown, nullptr);
        EXPECT_EQ(shown->text(), QString::fromUtf8(change.shown_after_undo));
    }
    EXPECT_FALSE(undo->isEnabled());
    ASSERT_TRUE(redo->isEnabled());

    redo->trigger();
    EXPECT_EQ(case_text(window), after);
    EXPECT_EQ(window.open_case().text(), after);
    EXPECT_TRUE(window.isWindowModified());
    undo->trigger();
    EXPECT_EQ(case_text(window), before);
    EXPECT_EQ(window.open_case().text(), before);
}

const auto kInputI1 = [](const CaseWindow& window) { return line(window, QStringLiteral("I1")); };
const auto kToleranceI1 = [](const CaseWindow& window) { return line(window, QStringLiteral("tolerance:I1")); };
const auto kTitle = [](const CaseWindow& window) { return titled(window, QStringLiteral("Název výpočtu")); };
const auto kNote = [](const CaseWindow& window) { return titled(window, QStringLiteral("Poznámka k výpočtu")); };

void trigger(CaseWindow& window, CaseAction action) { window.action(action)->trigger(); }

// The every-page case's second calculation is selected first ("kinematika-meze"); the typed
// changes are made in the first, selected by the change.
// clang-format off
INSTANTIATE_TEST_SUITE_P(CaseWindow, EveryChange, ::testing::Values(
    Change{"TypedValue", [](CaseWindow& w) { w.select_calculation(0); retype(kInputI1(w), "37,5"); }, 0, kInputI1, "20"},
    Change{"Tolerance", [](CaseWindow& w) { w.select_calculation(0); retype(kToleranceI1(w), "18..22"); }, 0, kToleranceI1, ""},
    Change{"Title", [](CaseWindow& w) { w.select_calculation(0); retype(kTitle(w), "Brzdeni"); }, 0, kTitle,
           "Rekonstrukce brzdění před střetem"},
    Change{"Note", [](CaseWindow& w) { w.select_calculation(0); retype(kNote(w), "Jina stopa"); }, 0, kNote,
           "Brzdná stopa 20 m, rychlost po střetu z EES."},
    Change{"Added", [](CaseWindow& w) { w.add_calculation(*registry::calculation_pages().front()); }, 1},
    Change{"Duplicated", [](CaseWindow& w) { trigger(w, CaseAction::Duplicate); }, 1},
    Change{"Removed", [](CaseWindow& w) { trigger(w, CaseAction::Remove); }, 1, kTitle, "Meze rekonstrukce brzdění"},
    Change{"MovedDown", [](CaseWindow& w) { trigger(w, CaseAction::MoveDown); }, 1},
    Change{"Dragged", [](CaseWindow& w) { w.calculation_list()->model()->moveRow({}, 1, {}, 5); }, 1},
    Change{"CaseProperties", [](CaseWindow& w) {
        casefile::CaseHeader header = w.document().header;
        header.title = "Jiny pripad";
        w.set_case_properties(header);
    }, 1}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(Undo, EachFieldsRunOfTypingIsAStepAndUndoingToTheSavedStateClearsTheMarkAndTheCopy) {
    const QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("pripad.vorlanex"));
    CaseWindow window(kComma);
    ASSERT_EQ(window.open_case(kEveryPageCase), std::nullopt);
    ASSERT_EQ(window.save_case(path), std::nullopt);
    const std::string saved = case_text(window);
    // What was saved is the runs' text, and the saved lines are the calculations' lines as written now.
    EXPECT_EQ(file_bytes(path), saved);
    EXPECT_EQ(window.open_case().text(), saved);
    const std::size_t second_line = saved.find('\n') + 1;
    EXPECT_EQ(window.document().calculations[0].written,
              saved.substr(second_line, saved.find('\n', second_line) - second_line));
    EXPECT_EQ(window.document().calculations[0].recorded->program, kVersion);

    retype(kInputI1(window), "25");
    retype(line(window, QStringLiteral("I2")), "9");
    retype(kInputI1(window), "26");
    EXPECT_EQ(window.open_case().undo_stack().count(), 3);
    window.select_calculation(1);
    window.select_calculation(0);
    retype(kInputI1(window), "27");
    EXPECT_EQ(window.open_case().undo_stack().count(), 3);  // the same field of the same calculation
    window.select_calculation(2);
    retype(kInputI1(window), "60");
    EXPECT_EQ(window.open_case().undo_stack().count(), 4);  // another calculation

    window.write_recovery_copy();
    const QString copy = window.recovery_copy().path();
    ASSERT_TRUE(QFile::exists(copy));
    for (int step = 0; step < 4; ++step) window.action(CaseAction::Undo)->trigger();
    EXPECT_EQ(case_text(window), saved);
    EXPECT_EQ(window.open_case().text(), saved);
    EXPECT_FALSE(window.isWindowModified());
    EXPECT_FALSE(QFile::exists(copy));  // nothing unsaved to recover
    EXPECT_EQ(window.selected_row(), 0);
    EXPECT_EQ(kInputI1(window)->text(), QStringLiteral("20"));

    window.action(CaseAction::Redo)->trigger();
    EXPECT_TRUE(window.isWindowModified());
    ASSERT_EQ(window.save_case(path), std::nullopt);
    EXPECT_EQ(file_bytes(path), case_text(window));
    // Another case opened starts with nothing to undo.
    ASSERT_EQ(window.open_case(kEveryPageCase), std::nullopt);
    EXPECT_FALSE(window.action(CaseAction::Undo)->isEnabled());
}

TEST(Undo, CtrlZInALineEditUndoesItsTypingAndInTheListTheCasesStep) {
    CaseWindow window(kComma);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));  // the menu's shortcuts work in the active window
    ASSERT_EQ(window.open_case(kEveryPageCase), std::nullopt);
    const std::string opened = case_text(window);
    retype(kTitle(window), "Jiny nazev");
    const std::string titled_text = case_text(window);
    retype(kInputI1(window), "31");
    QLineEdit* input = kInputI1(window);

    QTest::keyClick(input, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(input->text(), QStringLiteral("20"));  // the line's own typing undone
    EXPECT_EQ(case_text(window).find("\"I1\":\"31\""), std::string::npos);
    EXPECT_EQ(kTitle(window)->text(), QStringLiteral("Jiny nazev"));  // the title's step is still there
    EXPECT_EQ(window.open_case().undo_stack().count(), 1);            // the field's run came back to nothing

    window.calculation_list()->setFocus();
    QTest::keyClick(window.calculation_list(), Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(window.calculation_list(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(case_text(window), opened);
    EXPECT_EQ(kTitle(window)->text(), QStringLiteral("Rekonstrukce brzdění před střetem"));
    EXPECT_FALSE(window.isWindowModified());
    QTest::keySequence(window.calculation_list(), QKeySequence(QKeySequence::Redo));
    EXPECT_EQ(case_text(window), titled_text);
}

}  // namespace
}  // namespace vorlanex::spis

namespace vorlanex::spis {
namespace {

std::string bytes_of(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll().toStdString();
}

TEST(ChangedOnDisk, ASaveOverAFileChangedSinceItWasReadIsRefusedUnlessForced) {
    const QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("pripad.vorlanex"));
    ASSERT_TRUE(QFile::copy(kEveryPageCase, path));
    CaseWindow window(kComma);
    ASSERT_EQ(window.open_case(path), std::nullopt);
    window.add_calculation(*registry::calculation_pages().front());
    ASSERT_EQ(window.save_case(path), std::nullopt);  // unchanged since it was read

    const std::string theirs = "{\"format\":1,\"separator\":\",\",\"case\":{\"title\":\"Jine okno\"}}\n";
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(theirs.data(), static_cast<qint64>(theirs.size()));
    }
    window.action(CaseAction::Remove)->trigger();
    const std::optional<QString> refused = window.save_case(path);
    ASSERT_TRUE(refused.has_value());
    EXPECT_TRUE(refused->contains(QStringLiteral("změněn"))) << refused->toStdString();
    EXPECT_EQ(bytes_of(path), theirs);
    EXPECT_TRUE(window.isWindowModified());

    EXPECT_EQ(window.save_case(path, CaseWindow::Overwrite::Always), std::nullopt);
    EXPECT_EQ(bytes_of(path), case_text(window));
    EXPECT_FALSE(window.isWindowModified());
    EXPECT_EQ(window.save_case(path), std::nullopt);  // its own save is no change by another
}

TEST(OpenElsewhere, ACaseAnotherWindowHasOpenIsSaidAndOpensAllTheSame) {
    const QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("pripad.vorlanex"));
    ASSERT_TRUE(QFile::copy(kEveryPageCase, path));
    auto first = std::make_unique<CaseWindow>(kComma);
    ASSERT_EQ(first->open_case(path), std::nullopt);
    EXPECT_EQ(first->open_elsewhere_warning(), std::nullopt);

    CaseWindow second(kComma);
    ASSERT_EQ(second.open_case(path), std::nullopt);
    ASSERT_TRUE(second.open_elsewhere_warning().has_value());
    EXPECT_TRUE(second.open_elsewhere_warning()->contains(QStringLiteral("jiném okně")));
    EXPECT_EQ(second.path(), path);

    first.reset();  // the first window gone: the file is no longer open elsewhere
    CaseWindow third(kComma);
    ASSERT_EQ(third.open_case(path), std::nullopt);
    EXPECT_EQ(third.open_elsewhere_warning(), std::nullopt);
}

}  // namespace
}  // namespace vorlanex::spis
