// The tolerance tab offscreen: a run in the background shows every result's texts exactly as
// tolerance::run_samples gives them with the same settings; a calculation without tolerances says
// so; a cancelled run leaves the tab ready and shows nothing of it.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <memory>

#include "registry/page_tree.h"
#include "report/tolerance_report.h"
#include "spis/case_window.h"
#include "spis/table_text.h"
#include "spis/tolerance_tab.h"

namespace vorlanex::spis {
namespace {

const numeric::DecimalSeparator kComma{","};
const QString kEveryPageCase = QStringLiteral(VORLANEX_SOURCE_DIR "/tests/cases/every-page.vorlanex");

int first_with_tolerances(const CaseWindow& window, bool with) {
    const auto& calculations = window.document().calculations;
    for (std::size_t i = 0; i < calculations.size(); ++i) {
        if (calculations[i].tolerances.has_value() == with) return static_cast<int>(i);
    }
    return -1;
}

class SampledRun : public ::testing::TestWithParam<int> {};

TEST_P(SampledRun, ShowsTheTextsOfTheSamplingRunWithTheSameSettings) {
    CaseWindow window(kComma);
    ASSERT_EQ(window.open_case(kEveryPageCase), std::nullopt);
    const int row = first_with_tolerances(window, true);
    ASSERT_GE(row, 0);
    window.select_calculation(row);
    ToleranceTab& tab = *window.tolerance_tab();
    ASSERT_TRUE(tab.start_button()->isEnabled());
    EXPECT_EQ(tab.samples_box()->value(), 10'000);
    tab.samples_box()->setValue(GetParam());

    QSignalSpy finished(&tab, &ToleranceTab::finished);
    QTest::mouseClick(tab.start_button(), Qt::LeftButton);
    EXPECT_TRUE(tab.running());
    ASSERT_TRUE(finished.wait(120'000)) << "the run did not end";
    EXPECT_FALSE(tab.running());

    auto run = tolerance_run(window.document(), static_cast<std::size_t>(row), static_cast<std::uint64_t>(GetParam()));
    ASSERT_TRUE(std::holds_alternative<ToleranceRun>(run));
    const ToleranceRun& prepared = std::get<ToleranceRun>(run);
    const casefile::CalculationSampling& own = prepared.chain.samplings.back();
    tolerance::SamplingSettings settings;
    settings.samples = static_cast<std::uint64_t>(GetParam());
    settings.seed = ToleranceTab::kSeed;
    const tolerance::SamplingSummary direct =
        tolerance::run_samples(*prepared.page, own.typed, kComma, own.tolerances, settings);

    const std::vector<QStringList> shown = tab.shown_results();
    ASSERT_EQ(shown.size(), direct.results.size());
    ASSERT_FALSE(shown.empty());
    for (std::size_t r = 0; r < shown.size(); ++r) {
        const tolerance::FieldSummary& field = direct.results[r];
        // The result named as the reports name it, with its caption and unit.
        const QString name = QString::fromStdString(report::field_title(*prepared.page->find_field(field.field)));
        EXPECT_TRUE(name.startsWith(QString::fromStdString(field.field) + QStringLiteral(" – "))) << name.toStdString();
        QStringList expected{name, QString::number(field.count), QString::fromStdString(field.min)};
        for (const std::string& percentile : field.percentiles) expected << QString::fromStdString(percentile);
        expected << QString::fromStdString(field.max) << QString::fromStdString(field.mean);
        EXPECT_EQ(shown[r], expected) << field.field;
    }
    // The first result with numbers drawn as the tolerance report draws it.
    ASSERT_GT(tab.histogram_choice()->count(), 0);
    EXPECT_EQ(tab.histogram_choice()->currentIndex(), 0);
    const auto first = std::find_if(direct.results.begin(), direct.results.end(),
                                    [](const tolerance::FieldSummary& field) { return field.count > 0; });
    ASSERT_NE(first, direct.results.end());
    EXPECT_EQ(tab.histogram().toStdString(),
              report::histogram_svg(*prepared.page->find_field(first->field), *first, kComma));
}

INSTANTIATE_TEST_SUITE_P(ToleranceTab, SampledRun, ::testing::Values(1, 250, 3000));

TEST(ToleranceTab, ACalculationWithoutTolerancesSaysSo) {
    CaseWindow window(kComma);
    ASSERT_EQ(window.open_case(kEveryPageCase), std::nullopt);
    const int row = first_with_tolerances(window, false);
    ASSERT_GE(row, 0);
    window.select_calculation(row);
    EXPECT_FALSE(window.tolerance_tab()->start_button()->isEnabled());
    EXPECT_TRUE(window.tolerance_tab()->status_label()->text().contains(QStringLiteral("nemá")));
    EXPECT_TRUE(std::holds_alternative<QString>(tolerance_run(window.document(), static_cast<std::size_t>(row), 10)));
}

// The share of a word result's text, in a sentence and among its texts, as the counts give it; a word
// result blank in every sample is not listed.
struct ShareRow {
    const char* name;
    std::uint64_t stops;
    std::uint64_t collides;
    const char* sentence;
    const char* texts;
};

// clang-format off
const ShareRow kShares[] = {
    {"always",    10, 0,  "Vozidlo by zastavilo před místem střetu v 100,0 % vzorků.", "„Nedojde ke střetu ! “ 100,0 %"},
    {"never",     0,  10, "Vozidlo by zastavilo před místem střetu v 0,0 % vzorků.",   "„Vozidlo se střetne“ 100,0 %"},
    {"sometimes", 874, 126, "Vozidlo by zastavilo před místem střetu v 87,4 % vzorků.", "„Nedojde ke střetu ! “ 87,4 %; „Vozidlo se střetne“ 12,6 %"},
};
// clang-format on

class WordShares : public ::testing::TestWithParam<ShareRow> {};

TEST_P(WordShares, SaysTheShareOfSamplesWhereTheVehicleStops) {
    const ShareRow& row = GetParam();
    const page::PageDefinition& page = *registry::find_page("draha-zastaveni");
    tolerance::SamplingSummary summary;
    tolerance::FieldSummary c1;
    c1.field = "C1";
    c1.words = true;
    if (row.stops > 0) c1.texts.push_back({"Nedojde ke střetu ! ", row.stops});
    if (row.collides > 0) c1.texts.push_back({"Vozidlo se střetne", row.collides});
    summary.results.push_back(c1);
    tolerance::FieldSummary blank_in_every_sample;  // the message's other lines, never written here
    blank_in_every_sample.field = "C2";
    blank_in_every_sample.words = true;
    blank_in_every_sample.texts.push_back({"  ", row.stops + row.collides});
    summary.results.push_back(blank_in_every_sample);
    const QStringList lines = word_shares(page, summary, kComma).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], QString::fromUtf8(row.sentence));
    EXPECT_TRUE(lines[1].endsWith(QStringLiteral(": ") + QString::fromUtf8(row.texts))) << lines[1].toStdString();
}

INSTANTIATE_TEST_SUITE_P(ToleranceTab, WordShares, ::testing::ValuesIn(kShares),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ToleranceTab, ACancelledRunLeavesTheTabReadyAndShowsNothing) {
    CaseWindow window(kComma);
    ASSERT_EQ(window.open_case(kEveryPageCase), std::nullopt);
    window.select_calculation(first_with_tolerances(window, true));
    ToleranceTab& tab = *window.tolerance_tab();
    tab.samples_box()->setValue(2'000'000);
    QSignalSpy finished(&tab, &ToleranceTab::finished);
    tab.start();
    ASSERT_TRUE(tab.running());
    QTest::mouseClick(tab.cancel_button(), Qt::LeftButton);
    EXPECT_FALSE(tab.running());
    EXPECT_TRUE(tab.start_button()->isEnabled());
    QTest::qWait(500);
    EXPECT_EQ(finished.count(), 0);
    EXPECT_EQ(tab.table()->columnCount(), 0);
    EXPECT_TRUE(tab.histogram().isEmpty());
}

enum class Ending { Cancel, CancelThenClose, Close, Destroy, AnotherCalculation };

struct EndedRun {
    const char* name;
    Ending ending;
};

class EndedRunJoins : public ::testing::TestWithParam<EndedRun> {};

// A run of two million samples takes seconds; however it ends, its thread has let go of the run's
// state by the time the step returns (the thread is joined, not left running), and nothing of it is
// shown afterwards.
TEST_P(EndedRunJoins, TheThreadIsJoinedAndItsRunDropped) {
    auto window = std::make_unique<CaseWindow>(kComma);
    ASSERT_EQ(window->open_case(kEveryPageCase), std::nullopt);
    window->show();
    window->select_calculation(first_with_tolerances(*window, true));
    ToleranceTab* tab = window->tolerance_tab();
    tab->samples_box()->setValue(2'000'000);
    // The settings kept and saved first: a run of the settings the case keeps changes nothing in it,
    // so closing the window asks nothing.
    const QTemporaryDir folder;
    tab->start();
    tab->cancel();
    ASSERT_EQ(window->save_case(folder.filePath(QStringLiteral("pripad.vorlanex"))), std::nullopt);
    QSignalSpy finished(tab, &ToleranceTab::finished);
    tab->start();
    ASSERT_TRUE(tab->running());
    const std::weak_ptr<const void> state = tab->run_state();
    ASSERT_FALSE(state.expired());
    QTest::qWait(50);  // the thread is well into its samples

    switch (GetParam().ending) {
        case Ending::Cancel: tab->cancel(); break;
        case Ending::CancelThenClose:
            QTest::mouseClick(tab->cancel_button(), Qt::LeftButton);
            ASSERT_TRUE(window->close());
            break;
        case Ending::Close: ASSERT_TRUE(window->close()); break;
        case Ending::Destroy: window.reset(); break;
        case Ending::AnotherCalculation: window->select_calculation(first_with_tolerances(*window, false)); break;
    }
    // What the thread posted before it ended is dropped when handled (or with the tab).
    QCoreApplication::sendPostedEvents();
    EXPECT_TRUE(state.expired()) << "the run's thread still holds its state";
    if (window) {
        EXPECT_FALSE(tab->running());
        QTest::qWait(100);
        EXPECT_EQ(finished.count(), 0);
        EXPECT_EQ(tab->table()->columnCount(), 0);
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(ToleranceTab, EndedRunJoins, ::testing::Values(
    EndedRun{"Cancel",             Ending::Cancel},
    EndedRun{"CancelThenClose",    Ending::CancelThenClose},
    EndedRun{"CloseWhileRunning",  Ending::Close},
    EndedRun{"DestroyWhileRunning", Ending::Destroy},
    EndedRun{"AnotherCalculation", Ending::AnotherCalculation}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

}  // namespace
}  // namespace vorlanex::spis
