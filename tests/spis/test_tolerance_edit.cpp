// A tolerance typed beside an input in short form: stored in the case's "tolerances" as the named
// form with the very texts typed, removed when emptied, refused with a message under the field and
// the stored one kept; saved and opened again it shows the same texts, the command's sampling
// takes it, and the tolerance tab runs it.
#include <gtest/gtest.h>

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <optional>
#include <ostream>
#include <string>

#include "casefile/calculation_sampling.h"
#include "spis/calculation_view.h"
#include "spis/case_window.h"
#include "spis/table_text.h"
#include "spis/tolerance_tab.h"
#include "tolerance/distribution_kinds.h"
#include "tolerance/sampling.h"

namespace vorlanex::spis {
namespace {

const numeric::DecimalSeparator kComma{","};
const QString kEveryPageCase = QStringLiteral(VORLANEX_SOURCE_DIR "/tests/cases/every-page.vorlanex");
// The case's first calculation ("kinematika") holds this tolerance of I4.
constexpr const char* kFirstTolerances = R"({"I4":{"distribution":"uniform","low":"14","high":"16"}})";

QLineEdit* tolerance_edit(const CaseWindow& window, const char* field) {
    return window.calculation_view()->findChild<QLineEdit*>(QStringLiteral("tolerance:") + QString::fromUtf8(field));
}

QLabel* tolerance_problem(const CaseWindow& window, const char* field) {
    const QString name = QStringLiteral("Chyba tolerance: ") + tolerance_edit(window, field)->accessibleName().mid(11);
    for (QLabel* label : window.calculation_view()->findChildren<QLabel*>()) {
        if (label->accessibleName() == name) return label;
    }
    return nullptr;
}

// Types `text` into the field's tolerance as the expert does: the old text selected and typed over,
// and the line left with Enter.
void type_tolerance(CaseWindow& window, const char* field, const QString& text) {
    QLineEdit* edit = tolerance_edit(window, field);
    ASSERT_NE(edit, nullptr) << field;
    edit->selectAll();
    if (text.isEmpty()) {
        QTest::keyClick(edit, Qt::Key_Backspace);
    } else {
        QTest::keyClicks(edit, text);
    }
    QTest::keyClick(edit, Qt::Key_Return);
}

struct TypedTolerance {
    const char* name;
    const char* field;
    const char* typed;
    std::optional<std::string> stored;  // the calculation's "tolerances" after it
    bool refused;
};

void PrintTo(const TypedTolerance& row, std::ostream* out) { *out << row.name; }

class TypedTolerances : public ::testing::TestWithParam<TypedTolerance> {};

TEST_P(TypedTolerances, AreStoredAsTheNamedFormWithTheTextsTyped) {
    const TypedTolerance& row = GetParam();
    CaseWindow window(kComma);
    ASSERT_EQ(window.open_case(kEveryPageCase), std::nullopt);
    ASSERT_EQ(window.document().calculations.at(0).tolerances, kFirstTolerances);
    EXPECT_EQ(tolerance_edit(window, "I4")->text(), QStringLiteral("14..16"));
    EXPECT_EQ(tolerance_edit(window, "I4")->accessibleName(),
              QStringLiteral("Tolerance: ") +
                  window.calculation_view()->findChild<QLineEdit*>(QStringLiteral("I4"))->accessibleName());

    type_tolerance(window, row.field, QString::fromUtf8(row.typed));
    const casefile::Calculation& entry = window.document().calculations.at(0);
    EXPECT_EQ(entry.tolerances, row.stored);
    QLabel* problem = tolerance_problem(window, row.field);
    ASSERT_NE(problem, nullptr);
    EXPECT_EQ(problem->isVisibleTo(&window), row.refused);
    EXPECT_EQ(tolerance_edit(window, row.field)->property("marked").toBool(), row.refused);
    EXPECT_EQ(window.isWindowModified(), !row.refused);
    EXPECT_EQ(window.findChild<QListWidget*>()->item(0)->text().endsWith(QStringLiteral(" ±")), row.stored.has_value());
    // The text typed stays in its line as typed, accepted or not.
    EXPECT_EQ(tolerance_edit(window, row.field)->text(), QString::fromUtf8(row.typed));
}

INSTANTIATE_TEST_SUITE_P(
    CaseWindow, TypedTolerances,
    ::testing::Values(
        TypedTolerance{
            "UniformAppended", "I6", "0,75..0,85",
            R"({"I4":{"distribution":"uniform","low":"14","high":"16"},"I6":{"distribution":"uniform","low":"0,75","high":"0,85"}})",
            false},
        TypedTolerance{
            "TriangularKeepsTheTrailingZero", "I6", "0,7..0,8..0,90",
            R"({"I4":{"distribution":"uniform","low":"14","high":"16"},"I6":{"distribution":"triangular","low":"0,7","mode":"0,8","high":"0,90"}})",
            false},
        TypedTolerance{"NormalReplacesInPlace", "I4", "15~0,5",
                       R"({"I4":{"distribution":"normal","mean":"15","sd":"0,5"}})", false},
        TypedTolerance{"CutNormal", "I4", "15~0,5~14..16,5",
                       R"({"I4":{"distribution":"normal","mean":"15","sd":"0,5","low":"14","high":"16,5"}})", false},
        TypedTolerance{"EmptyRemovesTheLastAndTheMember", "I4", "", std::nullopt, false},
        TypedTolerance{"LowAboveHighRefused", "I4", "16..14", kFirstTolerances, true},
        TypedTolerance{"ZeroDeviationRefused", "I4", "15~0", kFirstTolerances, true},
        TypedTolerance{"PointSeparatorRefused", "I6", "0.75..0.85", kFirstTolerances, true},
        TypedTolerance{"NoFormRefused", "I4", "15", kFirstTolerances, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CaseWindow, ARefusedToleranceCorrectedClearsItsMessage) {
    CaseWindow window(kComma);
    ASSERT_EQ(window.open_case(kEveryPageCase), std::nullopt);
    type_tolerance(window, "I4", QStringLiteral("16..14"));
    ASSERT_TRUE(tolerance_problem(window, "I4")->isVisibleTo(&window));
    EXPECT_EQ(tolerance_problem(window, "I4")->text(),
              QStringLiteral("Tolerance nepřijata, platí dosavadní: „od“ je větší než „do“."));
    // The forms the line takes, each with its example, in the case's separator.
    EXPECT_EQ(tolerance_edit(window, "I4")->toolTip().toStdString(),
              "Tolerance vstupu (prázdné pole: žádná), desetinný oddělovač „,“:\n"
              "od..do – rovnoměrné rozdělení, např. 18..22\n"
              "od..nejpravděpodobněji..do – trojúhelníkové, např. 18..20..22\n"
              "střed~odchylka – normální, např. 0,8~0,05\n"
              "střed~odchylka~od..do – normální oříznuté, např. 0,8~0,05~0,6..1");
    EXPECT_EQ(tolerance_edit(window, "I4")->placeholderText(), QStringLiteral("např. 18..22"));
    type_tolerance(window, "I4", QStringLiteral("13..17"));
    EXPECT_FALSE(tolerance_problem(window, "I4")->isVisibleTo(&window));
    EXPECT_FALSE(tolerance_edit(window, "I4")->property("marked").toBool());
    EXPECT_EQ(window.document().calculations.at(0).tolerances,
              R"({"I4":{"distribution":"uniform","low":"13","high":"17"}})");
}

TEST(CaseWindow, TypedTolerancesSavedShowAgainAndTheCommandSamplesThem) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("tolerance.vorlanex"));
    const std::pair<const char*, QString> typed[] = {{"I4", QStringLiteral("15~0,5~14..16,0")},
                                                     {"I3", QStringLiteral("0,6..0,7..0,8")},
                                                     {"I6", QStringLiteral("0,75..0,85")}};
    {
        CaseWindow window(kComma);
        ASSERT_EQ(window.open_case(kEveryPageCase), std::nullopt);
        for (const auto& [field, text] : typed) type_tolerance(window, field, text);
        ASSERT_EQ(window.save_case(path), std::nullopt);
    }
    CaseWindow reopened(kComma);
    ASSERT_EQ(reopened.open_case(path), std::nullopt);
    for (const auto& [field, text] : typed) EXPECT_EQ(tolerance_edit(reopened, field)->text(), text) << field;

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    auto read = casefile::read_case_file(file.readAll().toStdString());
    ASSERT_TRUE(std::holds_alternative<casefile::CaseFile>(read));
    const casefile::CaseFile& saved = std::get<casefile::CaseFile>(read);
    auto sampling = casefile::sampling_of(saved.calculations.at(0), kComma, 100);
    ASSERT_TRUE(std::holds_alternative<casefile::CalculationSampling>(sampling))
        << std::get<tolerance::InputError>(sampling).message;
    const auto& tolerances = std::get<casefile::CalculationSampling>(sampling).tolerances;
    ASSERT_EQ(tolerances.size(), 3u);
    EXPECT_EQ(tolerances[0].field, "I4");
    EXPECT_EQ(tolerances[0].distribution.shape, tolerance::Shape::Normal);
    EXPECT_EQ(tolerances[0].distribution.high, 16.0);
    EXPECT_EQ(tolerances[1].field, "I3");
    EXPECT_EQ(tolerances[1].distribution.shape, tolerance::Shape::Triangular);
}

TEST(CaseWindow, TheToleranceTabRunsTheToleranceTyped) {
    CaseWindow window(kComma);
    ASSERT_EQ(window.open_case(kEveryPageCase), std::nullopt);
    type_tolerance(window, "I4", QString());
    ToleranceTab& tab = *window.tolerance_tab();
    EXPECT_FALSE(tab.start_button()->isEnabled());
    type_tolerance(window, "I6", QStringLiteral("0,7~0,05"));
    ASSERT_TRUE(tab.start_button()->isEnabled());
    tab.samples_box()->setValue(200);
    QSignalSpy finished(&tab, &ToleranceTab::finished);
    QTest::mouseClick(tab.start_button(), Qt::LeftButton);
    ASSERT_TRUE(finished.wait(120'000));

    // The same run made directly from the tolerance as typed, not from what the window stored.
    const casefile::Calculation& entry = window.document().calculations.at(0);
    std::vector<std::pair<std::string, std::string>> typed;
    for (const auto& field : entry.scenario.fields) {
        if (field.first != "I6") typed.push_back(field);
    }
    const auto normal = tolerance::parse_short_form("I6", "0,7~0,05", kComma);
    const std::vector<tolerance::Tolerance> tolerances{{"I6", std::get<tolerance::Distribution>(normal)}};
    tolerance::SamplingSettings settings;
    settings.samples = 200;
    settings.seed = ToleranceTab::kSeed;
    const auto direct = tolerance::run_samples(*entry.scenario.page, typed, kComma, tolerances, settings);
    const std::vector<QStringList> shown = tab.shown_results();
    ASSERT_EQ(shown.size(), direct.results.size());
    for (std::size_t r = 0; r < shown.size(); ++r) {
        EXPECT_EQ(shown[r].value(2).toStdString(), direct.results[r].min) << direct.results[r].field;
        EXPECT_EQ(shown[r].last().toStdString(), direct.results[r].mean) << direct.results[r].field;
    }
}

}  // namespace
}  // namespace vorlanex::spis
