// The analyses a calculation keeps in the case window: running one keeps its settings in the case
// (an undoable step that marks the case unsaved); an edit of the calculation's inputs greys its
// results under the out-of-date notice without touching a row of its table, while a title or a
// note edited changes nothing and lets a run go on; a case reopened shows the kept settings.
#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

#include "spis/calculation_view.h"
#include "spis/case_window.h"
#include "spis/sweep_tab.h"
#include "spis/table_text.h"
#include "spis/tolerance_tab.h"

namespace vorlanex::spis {
namespace {

const numeric::DecimalSeparator kComma{","};
const QString kEveryPageCase = QStringLiteral(VORLANEX_SOURCE_DIR "/tests/cases/every-page.vorlanex");
constexpr int kKinematics = 0;  // the every-page case's first calculation, with a tolerance on I4

QLineEdit* form_line(const CaseWindow& window, const QString& object_name, const QString& accessible_name = {}) {
    for (QLineEdit* edit : window.calculation_view()->findChildren<QLineEdit*>()) {
        if (accessible_name.isEmpty() ? edit->objectName() == object_name : edit->accessibleName() == accessible_name)
            return edit;
    }
    return nullptr;
}

// A keystroke in a line of the form, as an expert types one.
void type_into(QLineEdit* edit, const QString& text) {
    ASSERT_NE(edit, nullptr);
    edit->setFocus();
    edit->end(false);
    QTest::keyClicks(edit, text);
}

void sweep_settings(SweepTab& tab, const char* field, const char* from, const char* to, const char* steps) {
    tab.field_choice()->setCurrentIndex(tab.field_choice()->findData(QString::fromUtf8(field)));
    tab.from_edit()->setText(QString::fromUtf8(from));
    tab.to_edit()->setText(QString::fromUtf8(to));
    tab.steps_edit()->setText(QString::fromUtf8(steps));
}

bool run_tolerance(ToleranceTab& tab, int samples, const char* seed) {
    tab.samples_box()->setValue(samples);
    tab.seed_edit()->setText(QString::fromUtf8(seed));
    QSignalSpy finished(&tab, &ToleranceTab::finished);
    tab.start();
    return finished.wait(60'000);
}

const casefile::Analyses& kept(const CaseWindow& window) {
    return window.document().calculations.at(kKinematics).analyses;
}

struct SettingsChange {
    const char* name;
    std::function<void(CaseWindow&)> make;
    casefile::Analyses after;
};
std::ostream& operator<<(std::ostream& out, const SettingsChange& change) { return out << change.name; }

// clang-format off
const SettingsChange kSettingsChanges[] = {
    {"SweepRun", [](CaseWindow& w) { sweep_settings(*w.sweep_tab(), "I1", "10", "50", "100"); w.sweep_tab()->run(); },
     casefile::Analyses{std::nullopt, casefile::SweepAnalysis{"I1", "10", "50", 100}}},
    {"SweepRunWithBlanksAroundTheTexts",
     [](CaseWindow& w) { sweep_settings(*w.sweep_tab(), "I3", " 0,5", "0,9 ", "4"); w.sweep_tab()->run(); },
     casefile::Analyses{std::nullopt, casefile::SweepAnalysis{"I3", "0,5", "0,9", 4}}},
    {"ToleranceRun", [](CaseWindow& w) { ASSERT_TRUE(run_tolerance(*w.tolerance_tab(), 300, "42")); },
     casefile::Analyses{casefile::ToleranceAnalysis{300, 42}, std::nullopt}},
    {"BothRun", [](CaseWindow& w) {
         ASSERT_TRUE(run_tolerance(*w.tolerance_tab(), 200, "18446744073709551615"));
         sweep_settings(*w.sweep_tab(), "I4", "10", "20", "2");
         w.sweep_tab()->run();
     },
     casefile::Analyses{casefile::ToleranceAnalysis{200, 18446744073709551615ULL}, casefile::SweepAnalysis{"I4", "10", "20", 2}}},
};
// clang-format on

class KeptSettings : public ::testing::TestWithParam<SettingsChange> {};

TEST_P(KeptSettings, AreAnUndoableStepThatMarksTheCaseUnsaved) {
    const SettingsChange& change = GetParam();
    CaseWindow window(kComma);
    ASSERT_EQ(window.open_case(kEveryPageCase), std::nullopt);
    window.select_calculation(kKinematics);
    ASSERT_TRUE(kept(window).empty());
    change.make(window);
    EXPECT_EQ(kept(window), change.after);
    EXPECT_TRUE(window.isWindowModified());
    // The same settings run again are no new step.
    const int steps = window.open_case().undo_stack().count();
    if (change.after.sweep) window.sweep_tab()->run();
    EXPECT_EQ(window.open_case().undo_stack().count(), steps);

    while (window.open_case().undo_stack().canUndo()) window.action(CaseAction::Undo)->trigger();
    EXPECT_TRUE(kept(window).empty());
    EXPECT_FALSE(window.isWindowModified());
    EXPECT_FALSE(window.sweep_tab()->remove_button()->isEnabled());
    while (window.open_case().undo_stack().canRedo()) window.action(CaseAction::Redo)->trigger();
    EXPECT_EQ(kept(window), change.after);
    EXPECT_TRUE(window.isWindowModified());
    // What the tabs show after the redo is what the case keeps.
    if (change.after.sweep) {
        EXPECT_EQ(window.sweep_tab()->steps_edit()->text(), QString::number(change.after.sweep->steps));
        EXPECT_TRUE(window.sweep_tab()->remove_button()->isEnabled());
    }
    if (change.after.tolerance) {
        EXPECT_EQ(window.tolerance_tab()->seed_edit()->text(), QString::number(change.after.tolerance->seed));
        // Taken away again from the tab: one more step.
        QTest::mouseClick(window.tolerance_tab()->remove_button(), Qt::LeftButton);
        EXPECT_FALSE(kept(window).tolerance.has_value());
        EXPECT_EQ(kept(window).sweep, change.after.sweep);
    }
}

INSTANTIATE_TEST_SUITE_P(CaseWindow, KeptSettings, ::testing::ValuesIn(kSettingsChanges),
                         [](const auto& info) { return std::string(info.param.name); });

struct Edit {
    const char* name;
    std::function<void(CaseWindow&)> make;
    bool out_of_date;  // the analyses no longer match the inputs
};
std::ostream& operator<<(std::ostream& out, const Edit& edit) { return out << edit.name; }

// clang-format off
const Edit kEdits[] = {
    {"Title", [](CaseWindow& w) { type_into(form_line(w, {}, QStringLiteral("Název výpočtu")), QStringLiteral("x")); }, false},
    {"Note", [](CaseWindow& w) { type_into(form_line(w, {}, QStringLiteral("Poznámka k výpočtu")), QStringLiteral("x")); }, false},
    {"Input", [](CaseWindow& w) { type_into(form_line(w, QStringLiteral("I3")), QStringLiteral("5")); }, true},
    {"Tolerance", [](CaseWindow& w) { type_into(form_line(w, QStringLiteral("tolerance:I1")), QStringLiteral("18..22")); }, true},
    {"InputTypedAndUndone", [](CaseWindow& w) {
         type_into(form_line(w, QStringLiteral("I3")), QStringLiteral("5"));
         w.action(CaseAction::Undo)->trigger();
     }, false},
};
// clang-format on

class EditOfAnalysedCalculation : public ::testing::TestWithParam<Edit> {};

// A sweep of 1,000 steps and a tolerance run shown; one edit made. The sweep's table counts what
// its model is told: no row goes, comes or is reset, and no cell changes.
TEST_P(EditOfAnalysedCalculation, MarksOutOfDateOnlyWhenTheInputsChanged) {
    const Edit& edit = GetParam();
    CaseWindow window(kComma);
    ASSERT_EQ(window.open_case(kEveryPageCase), std::nullopt);
    window.select_calculation(kKinematics);
    ToleranceTab& tolerance = *window.tolerance_tab();
    SweepTab& sweep = *window.sweep_tab();
    ASSERT_TRUE(run_tolerance(tolerance, 200, "1"));
    sweep_settings(sweep, "I1", "0", "100", "1000");
    ASSERT_TRUE(sweep.run());
    ASSERT_EQ(sweep.table()->rowCount(), 1001);
    const std::vector<QStringList> sweep_before = table_texts(*sweep.table());
    const std::vector<QStringList> tolerance_before = tolerance.shown_results();

    QAbstractItemModel* model = sweep.table()->model();
    QSignalSpy resets(model, &QAbstractItemModel::modelReset);
    QSignalSpy inserted(model, &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(model, &QAbstractItemModel::rowsRemoved);
    QSignalSpy changed(model, &QAbstractItemModel::dataChanged);
    edit.make(window);
    EXPECT_EQ(resets.count() + inserted.count() + removed.count() + changed.count(), 0);

    EXPECT_EQ(table_texts(*sweep.table()), sweep_before);
    EXPECT_EQ(tolerance.shown_results(), tolerance_before);
    for (auto [out_of_date, notice] : {std::pair{sweep.out_of_date(), sweep.out_of_date_label()},
                                       {tolerance.out_of_date(), tolerance.out_of_date_label()}}) {
        EXPECT_EQ(out_of_date, edit.out_of_date);
        EXPECT_EQ(notice->isHidden(), !edit.out_of_date);
        EXPECT_EQ(notice->text(), QStringLiteral("Analýza neodpovídá současným vstupům – spusťte ji znovu."));
    }
    if (!edit.out_of_date) return;
    // Run again: the table changes in place, row for row, and is current again.
    ASSERT_TRUE(sweep.run());
    EXPECT_EQ(resets.count() + inserted.count() + removed.count(), 0);
    EXPECT_FALSE(sweep.out_of_date());
    EXPECT_TRUE(sweep.out_of_date_label()->isHidden());
}

INSTANTIATE_TEST_SUITE_P(CaseWindow, EditOfAnalysedCalculation, ::testing::ValuesIn(kEdits),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(KeptAnalyses, ARunGoesOnThroughATitleEditAndAnotherCalculationCancelsIt) {
    CaseWindow window(kComma);
    ASSERT_EQ(window.open_case(kEveryPageCase), std::nullopt);
    window.select_calculation(kKinematics);
    ToleranceTab& tab = *window.tolerance_tab();
    tab.samples_box()->setValue(1'000'000);
    tab.start();
    ASSERT_TRUE(tab.running());
    type_into(form_line(window, {}, QStringLiteral("Název výpočtu")), QStringLiteral("x"));
    EXPECT_TRUE(tab.running());
    window.select_calculation(kKinematics + 1);
    EXPECT_FALSE(tab.running());
    EXPECT_EQ(tab.table()->columnCount(), 0);
}

TEST(KeptAnalyses, AReopenedCaseShowsItsSettingsAndItsSweep) {
    const QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("rozbory.vorlanex"));
    {
        CaseWindow window(kComma);
        ASSERT_EQ(window.open_case(kEveryPageCase), std::nullopt);
        window.select_calculation(kKinematics);
        ASSERT_TRUE(run_tolerance(*window.tolerance_tab(), 700, "9"));
        sweep_settings(*window.sweep_tab(), "I4", "12", "18", "6");
        ASSERT_TRUE(window.sweep_tab()->run());
        ASSERT_EQ(window.save_case(path), std::nullopt);
    }
    CaseWindow window(kComma);
    ASSERT_EQ(window.open_case(path), std::nullopt);
    window.select_calculation(kKinematics);
    EXPECT_EQ(window.tolerance_tab()->samples_box()->value(), 700);
    EXPECT_EQ(window.tolerance_tab()->seed_edit()->text(), QStringLiteral("9"));
    EXPECT_EQ(window.tolerance_tab()->table()->columnCount(), 0);  // sampling waits for "Spustit"
    SweepTab& sweep = *window.sweep_tab();
    EXPECT_EQ(sweep.field_choice()->currentData().toString(), QStringLiteral("I4"));
    EXPECT_EQ(sweep.from_edit()->text(), QStringLiteral("12"));
    EXPECT_EQ(sweep.to_edit()->text(), QStringLiteral("18"));
    EXPECT_EQ(sweep.table()->rowCount(), 7);  // a sweep takes milliseconds: it is shown at once
    EXPECT_FALSE(window.isWindowModified());
    // Another calculation without kept settings shows none.
    window.select_calculation(kKinematics + 1);
    EXPECT_EQ(sweep.table()->rowCount(), 0);
    EXPECT_FALSE(window.tolerance_tab()->remove_button()->isEnabled());
}

}  // namespace
}  // namespace vorlanex::spis
