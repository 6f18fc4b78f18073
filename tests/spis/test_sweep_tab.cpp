// The sweep tab offscreen: for the same texts it shows the rows of the command line's sweep (the
// library's FIELD=FROM..TO/STEPS parsed and run), the chart the sweep report draws, and a bad
// setting as a Czech message inline with nothing shown.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>

#include "report/tolerance_report.h"
#include "spis/case_window.h"
#include "spis/sweep_tab.h"
#include "spis/table_text.h"
#include "spis/tolerance_tab.h"

namespace vorlanex::spis {
namespace {

const numeric::DecimalSeparator kComma{","};
const QString kEveryPageCase = QStringLiteral(VORLANEX_SOURCE_DIR "/tests/cases/every-page.vorlanex");

int row_of_page(const CaseWindow& window, std::string_view key) {
    const auto& calculations = window.document().calculations;
    for (std::size_t i = 0; i < calculations.size(); ++i) {
        if (calculations[i].scenario.page->key == key) return static_cast<int>(i);
    }
    return -1;
}

// Types the settings into the tab as an expert would and presses the button.
void type_sweep(SweepTab& tab, const char* field, const char* from, const char* to, const char* steps) {
    tab.field_choice()->setCurrentIndex(tab.field_choice()->findData(QString::fromUtf8(field)));
    for (auto [edit, text] : {std::pair{tab.from_edit(), from}, {tab.to_edit(), to}, {tab.steps_edit(), steps}}) {
        edit->clear();
        QTest::keyClicks(edit, QString::fromUtf8(text));
    }
    QTest::mouseClick(tab.run_button(), Qt::LeftButton);
}

struct SweepCase {
    const char* name;
    const char* page;
    const char *field, *from, *to, *steps;
};

class SweepOfAPage : public ::testing::TestWithParam<SweepCase> {};

TEST_P(SweepOfAPage, ShowsTheCommandLinesRowsAndTheReportsChart) {
    const SweepCase& sweep = GetParam();
    CaseWindow window(kComma);
    ASSERT_EQ(window.open_case(kEveryPageCase), std::nullopt);
    const int row = row_of_page(window, sweep.page);
    ASSERT_GE(row, 0);
    window.select_calculation(row);
    SweepTab& tab = *window.sweep_tab();
    type_sweep(tab, sweep.field, sweep.from, sweep.to, sweep.steps);
    EXPECT_TRUE(tab.message_label()->isHidden()) << tab.message_label()->text().toStdString();

    // What vorlanex-calc --sweep FIELD=FROM..TO/STEPS PAGE FIELD=TEXT... computes for the same texts.
    const casefile::Calculation& entry = window.document().calculations.at(static_cast<std::size_t>(row));
    const std::string text = std::string(sweep.field) + "=" + sweep.from + ".." + sweep.to + "/" + sweep.steps;
    const auto range = tolerance::parse_sweep(text, *entry.scenario.page, kComma);
    ASSERT_TRUE(std::holds_alternative<tolerance::SweepRange>(range)) << std::get<tolerance::InputError>(range).message;
    const auto command_rows = tolerance::run_sweep(*entry.scenario.page, entry.scenario.fields, kComma,
                                                   std::get<tolerance::SweepRange>(range));

    const std::vector<QStringList> shown = table_texts(*tab.table());
    ASSERT_EQ(shown.size(), command_rows.size());
    const QStringList columns = sweep_columns(*entry.scenario.page, std::get<tolerance::SweepRange>(range));
    for (std::size_t r = 0; r < shown.size(); ++r) {
        const tolerance::SweepRow& expected = command_rows[r];
        ASSERT_EQ(shown[r].size(), columns.size());
        EXPECT_EQ(shown[r].front().toStdString(), expected.input);
        // Each result the run wrote under its column, and no other.
        qsizetype written = 0;
        for (const auto& [id, result] : expected.results) {
            const auto column = std::find_if(columns.begin(), columns.end(), [&](const QString& name) {
                return name == QString::fromStdString(id) || name.startsWith(QString::fromStdString(id + " ["));
            });
            ASSERT_NE(column, columns.end()) << id;
            EXPECT_EQ(shown[r][column - columns.begin()].toStdString(), result) << expected.input << " " << id;
        }
        for (qsizetype c = 1; c + 1 < shown[r].size(); ++c) written += !shown[r][c].isEmpty();
        EXPECT_EQ(written, static_cast<qsizetype>(expected.results.size())) << expected.input;
        EXPECT_EQ(shown[r].back().contains(QStringLiteral("✗")), expected.fault.has_value()) << expected.input;
        EXPECT_EQ(shown[r].back().count(QStringLiteral("⚠")), static_cast<qsizetype>(expected.warnings.size()));
    }

    ASSERT_GT(tab.chart_choice()->count(), 0);
    const std::string charted = tab.chart_choice()->currentData().toString().toStdString();
    const auto chart = report::sweep_chart(*entry.scenario.page, charted, std::get<tolerance::SweepRange>(range),
                                           command_rows, kComma);
    ASSERT_TRUE(chart.has_value());
    EXPECT_EQ(tab.chart().toStdString(), chart->svg);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(SweepTab, SweepOfAPage, ::testing::Values(
    SweepCase{"BrakingTrackUp",        "kinematika",        "I1", "0",   "40",  "8"},
    SweepCase{"BrakingDecelerationDown", "kinematika",      "I3", "0,9", "0,3", "6"},
    SweepCase{"StoppingWithFaults",    "draha-zastaveni",   "I1", "-10", "90",  "10"},
    SweepCase{"EesAtTheWindowsMost",   "ees-katalog",       "I3", "10",  "60",  "1000"},
    SweepCase{"GevOneStep",            "gev-definice",      "I2", "1E1", "5E1", "1"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

struct BadSweep {
    const char* name;
    const char *from, *to, *steps;
    const char* czech_part;
};

class BadSweepSettings : public ::testing::TestWithParam<BadSweep> {};

TEST_P(BadSweepSettings, SayWhatIsWrongInCzechInlineAndShowNothing) {
    CaseWindow window(kComma);
    ASSERT_EQ(window.open_case(kEveryPageCase), std::nullopt);
    window.select_calculation(row_of_page(window, "kinematika"));
    window.show();
    SweepTab& tab = *window.sweep_tab();
    type_sweep(tab, "I1", "0", "10", "2");
    ASSERT_EQ(tab.table()->rowCount(), 3);
    type_sweep(tab, "I1", GetParam().from, GetParam().to, GetParam().steps);
    EXPECT_FALSE(tab.message_label()->isHidden());
    EXPECT_TRUE(tab.message_label()->text().contains(QString::fromUtf8(GetParam().czech_part)))
        << tab.message_label()->text().toStdString();
    EXPECT_EQ(tab.table()->rowCount(), 0);
    EXPECT_TRUE(tab.chart().isEmpty());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(SweepTab, BadSweepSettings, ::testing::Values(
    BadSweep{"FromNotANumber",   "abc", "10",  "5",    "„Od“ není číslo: „abc“"},
    BadSweep{"FromWithAPoint",   "1.5", "10",  "5",    "desetinný oddělovač případu „,“"},
    BadSweep{"ToEmpty",          "0",   "",    "5",    "„Do“ není číslo"},
    BadSweep{"StepsZero",        "0",   "10",  "0",    "Počet kroků musí být celé číslo od 1 do 1\u00a0000; zadáno „0“"},
    BadSweep{"StepsNotWhole",    "0",   "10",  "2,5",  "zadáno „2,5“"},
    BadSweep{"StepsBeyondWindow", "0",  "10",  "1001", "od 1 do 1\u00a0000"},
    BadSweep{"StepsNegative",    "0",   "10",  "-3",   "zadáno „-3“"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(SweepTab, KeepsItsTableThroughAnEditUntilRunAgainAndClearsForAnotherPage) {
    CaseWindow window(kComma);
    ASSERT_EQ(window.open_case(kEveryPageCase), std::nullopt);
    window.select_calculation(row_of_page(window, "kinematika"));
    SweepTab& tab = *window.sweep_tab();
    type_sweep(tab, "I1", "0", "30", "3");
    const std::vector<QStringList> before = table_texts(*tab.table());
    ASSERT_EQ(before.size(), 4U);
    // A new braking deceleration typed in the centre: the table stays, marked out of date.
    auto* deceleration = window.findChild<QLineEdit*>(QStringLiteral("I3"));
    ASSERT_NE(deceleration, nullptr);
    deceleration->selectAll();
    QTest::keyClicks(deceleration, QStringLiteral("0,5"));
    EXPECT_EQ(table_texts(*tab.table()), before);
    EXPECT_TRUE(tab.out_of_date());
    // Run again, it is made with the new texts.
    QTest::mouseClick(tab.run_button(), Qt::LeftButton);
    const std::vector<QStringList> after = table_texts(*tab.table());
    ASSERT_EQ(after.size(), 4U);
    EXPECT_NE(after, before);
    EXPECT_FALSE(tab.out_of_date());
    window.select_calculation(row_of_page(window, "gev-definice"));
    EXPECT_EQ(tab.table()->rowCount(), 0);
    EXPECT_EQ(tab.field_choice()->itemData(0).toString(), QStringLiteral("I1"));
}

// A calculation taking inputs from another: its row and its run follow the links, the sweep does not
// sweep it with texts of its own, and the tolerance run samples it through its source.
TEST(SweepTab, ALinkedCalculationIsShownAfterItsSourceAndIsNotSwept) {
    CaseWindow window(kComma);
    ASSERT_EQ(window.open_case(QStringLiteral(VORLANEX_SOURCE_DIR "/tests/cases/pedestrian-avoidability.vorlanex")),
              std::nullopt);
    const int linked = row_of_page(window, "draha-zastaveni");
    window.select_calculation(row_of_page(window, "kinematika"));
    // Without its links it would stop at its empty reaction time (✗).
    EXPECT_TRUE(window.calculation_list()->item(linked)->text().startsWith(QStringLiteral("✓")))
        << window.calculation_list()->item(linked)->text().toStdString();
    window.select_calculation(linked);
    ASSERT_NE(window.open_case().selected_run(), nullptr);
    EXPECT_EQ(window.open_case().selected_run()->text_before("I5"), "46,93");
    SweepTab& tab = *window.sweep_tab();
    type_sweep(tab, "I1", "30", "60", "3");
    EXPECT_EQ(tab.table()->rowCount(), 0);
    EXPECT_TRUE(tab.message_label()->text().contains(QStringLiteral("přebírá vstupy")))
        << tab.message_label()->text().toStdString();

    casefile::CaseFile sampled = window.document();
    ASSERT_EQ(sampled.calculations.at(static_cast<std::size_t>(linked)).set_tolerance("I1", "45..55", kComma),
              std::nullopt);
    const auto run = tolerance_run(sampled, static_cast<std::size_t>(linked), 10);
    ASSERT_TRUE(std::holds_alternative<ToleranceRun>(run));
    EXPECT_EQ(std::get<ToleranceRun>(run).chain.chain.size(), 2U);

    // Without tolerances of its own it is run through its source, and says how often it stops.
    ToleranceTab& tolerances = *window.tolerance_tab();
    ASSERT_TRUE(tolerances.start_button()->isEnabled());
    EXPECT_TRUE(tolerances.status_label()->text().contains(QStringLiteral("kinematika")))
        << tolerances.status_label()->text().toStdString();
    tolerances.samples_box()->setValue(200);
    QSignalSpy finished(&tolerances, &ToleranceTab::finished);
    tolerances.start();
    ASSERT_TRUE(finished.wait(60'000));
    EXPECT_TRUE(tolerances.counts_label()->text().startsWith(
        QStringLiteral("Vozidlo by zastavilo před místem střetu v 100,0 % vzorků.\n")))
        << tolerances.counts_label()->text().toStdString();
}

}  // namespace
}  // namespace vorlanex::spis
