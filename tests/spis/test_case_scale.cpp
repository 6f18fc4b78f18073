// A case of 10^5 calculations in the case window: an edit runs the one calculation it changed and
// writes its one row of the list anew, whatever the case's size; a save and a recovery copy run
// nothing, taking each calculation's outcome as it last ran. Counted, not timed: the runs made
// (RecordedRun::made), the rows the open case says changed and whether it said the list did.
#include <gtest/gtest.h>

#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "casefile/recorded_run.h"
#include "spis/calculation_view.h"
#include "spis/case_window.h"

namespace vorlanex::spis {
namespace {

constexpr int kCalculations = 100'000;
const numeric::DecimalSeparator kComma{","};
const QString kEveryPageCase = QStringLiteral(VORLANEX_SOURCE_DIR "/tests/cases/every-page.vorlanex");

// The every-page case's calculations over and over, each with an id of its own ("17-kinematika").
std::string big_case_text() {
    QFile source(kEveryPageCase);
    EXPECT_TRUE(source.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = source.readAll().trimmed().split('\n');
    std::string text = lines.front().toStdString() + "\n";
    constexpr std::string_view kIdStart = R"({"id":")";
    for (int i = 0; i < kCalculations; ++i) {
        std::string line = lines[1 + i % (lines.size() - 1)].toStdString();
        EXPECT_TRUE(line.starts_with(kIdStart));
        text += line.insert(kIdStart.size(), std::to_string(i) + "-") + "\n";
    }
    return text;
}

QLineEdit* edit_named(const CaseWindow& window, const QString& name) {
    for (QLineEdit* edit : window.calculation_view()->findChildren<QLineEdit*>()) {
        if (edit->objectName() == name || edit->accessibleName() == name) return edit;
    }
    return nullptr;
}

struct Edit {
    const char* name;
    int row;  // the calculation selected before the edit (rows 0, 8, 16, … are a "kinematika")
    std::function<void(CaseWindow&)> make;
    int runs;  // the calculations run by the edit
    std::vector<int> rows_changed;
};

void type_into(CaseWindow& window, const QString& edit, const QString& text) {
    QLineEdit* line = edit_named(window, edit);
    ASSERT_NE(line, nullptr) << edit.toStdString();
    line->setText(text);
}

// In order: the undo and the redo are of the edit before them. One window for the whole table, as
// opening the case is what costs.
// clang-format off
const Edit kEdits[] = {
    {"TypedValue", 50'000, [](CaseWindow& w) { type_into(w, QStringLiteral("I1"), QStringLiteral("21")); }, 1, {50'000}},
    {"Title", 99'999, [](CaseWindow& w) { type_into(w, QStringLiteral("Název výpočtu"), QStringLiteral("Jiný")); },
     1, {99'999}},
    {"Note", 7, [](CaseWindow& w) { type_into(w, QStringLiteral("Poznámka k výpočtu"), QStringLiteral("Jiná")); },
     1, {7}},
    {"Tolerance", 8, [](CaseWindow& w) { type_into(w, QStringLiteral("tolerance:I1"), QStringLiteral("18..22")); },
     1, {8}},
    // The last edit undone and done again from another row: the calculation it changed runs, alone.
    {"Undone", 0, [](CaseWindow& w) { w.action(CaseAction::Undo)->trigger(); }, 1, {8}},
    {"Redone", 0, [](CaseWindow& w) { w.action(CaseAction::Redo)->trigger(); }, 1, {8}},
    // Saved and copied for recovery from the outcomes kept: nothing runs.
    {"Saved", 3, [](CaseWindow& w) {
        const QString path = w.path() + QStringLiteral(".saved");
        ASSERT_EQ(w.save_case(path), std::nullopt);
        EXPECT_GT(QFile(path).size(), 10 * kCalculations);
    }, 0, {}},
    {"RecoveryCopy", 3, [](CaseWindow& w) {
        w.write_recovery_copy();
        EXPECT_GT(QFile(w.recovery_copy().path()).size(), 10 * kCalculations);
    }, 0, {}},
};
// clang-format on

TEST(BigCase, EachEditRunsItsCalculationAndWritesItsRowAloneAndASaveRunsNothing) {
    const QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("big.vorlanex"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray::fromStdString(big_case_text()));
    file.close();
    CaseWindow window(kComma);
    ASSERT_EQ(window.open_case(path), std::nullopt);
    ASSERT_EQ(window.calculation_list()->count(), kCalculations);

    for (const Edit& edit : kEdits) {
        SCOPED_TRACE(edit.name);
        window.select_calculation(edit.row);
        ASSERT_EQ(window.selected_row(), edit.row);
        QSignalSpy list_changed(&window.open_case(), &OpenCase::list_changed);
        QSignalSpy row_changed(&window.open_case(), &OpenCase::row_changed);
        const long long runs_before = casefile::RecordedRun::made();

        edit.make(window);

        EXPECT_EQ(casefile::RecordedRun::made() - runs_before, edit.runs);
        EXPECT_EQ(list_changed.count(), 0);
        std::vector<int> rows;
        for (const QList<QVariant>& signal : row_changed) rows.push_back(signal.at(0).toInt());
        EXPECT_EQ(rows, edit.rows_changed);
        EXPECT_EQ(window.calculation_list()->count(), kCalculations);
    }
    EXPECT_EQ(window.calculation_list()->item(99'999)->text(), QStringLiteral("✓ Jiný"));
}

struct LongText {
    const char* key;   // the member of the calculation's line
    const char* edit;  // the line edit's accessible name
    std::optional<std::string> casefile::Calculation::*member;
};

// A title or a note longer than a line edit's usual limit (32767 characters) is edited whole: a
// keystroke at its end adds a character, it does not cut the text to the limit.
TEST(LongText, AKeystrokeAtTheEndOfALongTitleOrNoteKeepsItWhole) {
    const LongText texts[] = {{"title", "Název výpočtu", &casefile::Calculation::title},
                              {"note", "Poznámka k výpočtu", &casefile::Calculation::note}};
    const std::string long_text(40'000, 'x');
    for (const LongText& text : texts) {
        SCOPED_TRACE(text.key);
        const QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("long.vorlanex"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray::fromStdString(std::string(R"({"format":1,"separator":","})") + "\n" +
                                             R"({"page":"gev-definice",")" + text.key + R"(":")" + long_text +
                                             "\"}\n"));
        file.close();
        CaseWindow window(kComma);
        ASSERT_EQ(window.open_case(path), std::nullopt);
        QLineEdit* line = edit_named(window, QString::fromUtf8(text.edit));
        ASSERT_NE(line, nullptr);
        line->setFocus();
        line->end(false);
        QTest::keyClick(line, Qt::Key_Y);
        EXPECT_EQ(window.document().calculations[0].*text.member, long_text + "y");
    }
}

}  // namespace
}  // namespace vorlanex::spis
