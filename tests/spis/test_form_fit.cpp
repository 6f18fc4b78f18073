// The case window on small screens and the form's messages: every number's line as wide as its text
// for every page's worked example at 1024 × 768 and 1280 × 800 (and, as registered in CMake, at a
// scale factor of 2 and in Czech), the panes shared as the form needs, the diagram larger and on
// disk, a new calculation without a fault, a fault said in Czech on its field, and a refused
// tolerance said only when its line is left.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <string>

#include "registry/page_tree.h"
#include "spis/calculation_view.h"
#include "spis/case_window.h"
#include "spis/diagram_export.h"
#include "spis/diagram_panel.h"
#include "spis/sweep_tab.h"
#include "spis/window_fit.h"

namespace vorlanex::spis {
namespace {

const numeric::DecimalSeparator kComma{","};
const QString kEveryPageCase = QStringLiteral(VORLANEX_SOURCE_DIR "/tests/cases/every-page.vorlanex");

// Lets the window lay itself out after a change.
void settle() {
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

// The width a line needs for its text, measured apart from the window's own measure: the text in
// the line's font, the frame on both sides and QLineEdit's two pixels either side of the text.
int needed_width(const QLineEdit& line, const QString& text) {
    const int frame = line.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &line);
    return line.fontMetrics().horizontalAdvance(text) + 2 * frame + 4;
}

// The lines of the form that hold numbers: inputs, results and tolerances (not the title and note).
QList<QLineEdit*> number_lines(const CaseWindow& window) {
    QList<QLineEdit*> lines;
    for (QLineEdit* line : window.calculation_view()->findChildren<QLineEdit*>()) {
        if (!line->objectName().isEmpty()) lines << line;
    }
    return lines;
}

struct WindowSize {
    const char* name;
    QSize size;
    bool after_sweep;  // the first calculation's sweep run first, its table beside the form
};

void PrintTo(const WindowSize& row, std::ostream* out) { *out << row.name; }

class FormAtWindowSize : public ::testing::TestWithParam<WindowSize> {};

TEST_P(FormAtWindowSize, EveryNumberAndToleranceShownWhole) {
    const WindowSize& row = GetParam();
    CaseWindow window(kComma);
    ASSERT_EQ(window.open_case(kEveryPageCase), std::nullopt);
    window.resize(row.size);
    window.show();
    settle();
    if (row.after_sweep) {
        SweepTab* sweep = window.sweep_tab();
        window.findChild<QTabWidget*>()->setCurrentWidget(sweep);
        sweep->field_choice()->setCurrentIndex(sweep->field_choice()->findData(QStringLiteral("I1")));
        sweep->from_edit()->setText(QStringLiteral("10"));
        sweep->to_edit()->setText(QStringLiteral("30"));
        sweep->steps_edit()->setText(QStringLiteral("20"));
        sweep->run();
        settle();
    }
    // The panes fit the window: it did not have to grow past the screen it was sized for.
    EXPECT_LE(window.width(), row.size.width());
    auto* centre = qobject_cast<QScrollArea*>(window.calculation_view()->parentWidget()->parentWidget());
    ASSERT_NE(centre, nullptr);
    for (int calculation = 0; calculation < window.open_case().count(); ++calculation) {
        window.select_calculation(calculation);
        settle();
        const std::string page(window.document().calculations.at(calculation).scenario.page->key);
        for (QLineEdit* line : number_lines(window)) {
            const QString text = line->text().isEmpty() ? line->placeholderText() : line->text();
            EXPECT_GE(line->width(), needed_width(*line, text))
                << page << " " << line->objectName().toStdString() << " „" << text.toStdString() << "“";
            // Not pushed out of the pane sideways either.
            EXPECT_LE(line->mapTo(centre->viewport(), QPoint(line->width(), 0)).x(), centre->viewport()->width())
                << page << " " << line->objectName().toStdString();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(FormFit, FormAtWindowSize,
                         ::testing::Values(WindowSize{"At1024x768", {1024, 768}, false},
                                           WindowSize{"At1280x800", {1280, 800}, false},
                                           WindowSize{"At1024x768AfterASweep", {1024, 768}, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FormFit, ALongResultWidensItsLine) {
    CaseWindow window(kComma);
    ASSERT_EQ(window.open_case(kEveryPageCase), std::nullopt);
    window.resize(1024, 768);
    window.show();
    settle();
    QLineEdit* result = nullptr;
    for (QLineEdit* line : number_lines(window)) {
        if (line->isReadOnly()) result = line;
    }
    ASSERT_NE(result, nullptr);
    for (const QString& text : {QStringLiteral("0,17052859036965"), QStringLiteral("-1,23456789012345E+308")}) {
        result->setText(text);
        settle();
        EXPECT_GE(result->width(), needed_width(*result, text)) << text.toStdString();
    }
}

// clang-format off
struct Panes {
    const char* name;
    int total;
    PaneNeeds needs;
    QList<int> widths;  // the list, the form, the side panel
};
const Panes kPanes[] = {
    {"RoomForAll",            1260, {160, 240, 500, 250}, {240, 612, 408}},
    {"FormAtItsNarrowest",    1000, {160, 240, 500, 250}, {240, 500, 260}},
    {"SidePanelAtItsNarrowest", 800, {160, 240, 300, 250}, {240, 310, 250}},
    {"SidePanelCollapses",     900, {160, 240, 500, 250}, {240, 660, 0}},
    {"ListGivesWayToTheForm",  600, {160, 240, 500, 250}, {160, 440, 0}},
};
// clang-format on

TEST(FormFit, PanesShareTheWidthAsTheFormNeeds) {
    for (const Panes& row : kPanes) EXPECT_EQ(pane_widths(row.total, row.needs), row.widths) << row.name;
}

TEST(FormFit, TheWindowFitsTheScreen) {
    // clang-format off
    const struct { const char* name; QSize available; QSize opening; } sizes[] = {
        {"LargeScreen",  {1920, 1050}, {1280, 800}},
        {"SmallScreen",  {1024, 738},  {1024, 738}},
        {"ScaledByTwo",  {1024, 768},  {1024, 768}},
        {"NarrowOnly",   {1000, 1200}, {1000, 800}},
    };
    const struct { const char* name; QRect geometry; QRect fitted; } remembered[] = {
        {"Inside",            {100, 50, 800, 600},   {100, 50, 800, 600}},
        {"FromALargerScreen", {300, 200, 1600, 1000}, {0, 30, 1024, 738}},
        {"OffTheRightEdge",   {900, 100, 400, 300},  {624, 100, 400, 300}},
    };
    // clang-format on
    for (const auto& row : sizes) EXPECT_EQ(opening_size(row.available), row.opening) << row.name;
    const QRect screen(0, 30, 1024, 738);
    for (const auto& row : remembered) EXPECT_EQ(fitted_into(row.geometry, screen), row.fitted) << row.name;
}

TEST(FormFit, TheWindowOpensWithinItsScreen) {
    CaseWindow window(kComma);
    const QRect available = window.screen()->availableGeometry();
    EXPECT_LE(window.width(), available.width());
    EXPECT_LE(window.height(), available.height());
}

// The diagram of the first calculation (a braking), larger and saved.
class DiagramOnDisk : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(window.open_case(kEveryPageCase), std::nullopt);
        window.select_calculation(0);
        ASSERT_FALSE(window.diagram_panel()->svg().isEmpty());
    }
    CaseWindow window{kComma};
    QTemporaryDir folder;
};

TEST_F(DiagramOnDisk, EnlargedItsLabelsAreAsLargeAsTheWindowsText) {
    const QByteArray& svg = window.diagram_panel()->svg();
    // The drawing's own size where a label is 11 pixels high, twice it where 22.
    QFont font = window.font();
    font.setPixelSize(11);
    EXPECT_EQ(labelled_size(svg, font), QSize(680, 424));
    font.setPixelSize(22);
    EXPECT_EQ(labelled_size(svg, font), QSize(1360, 848));
    EXPECT_TRUE(svg.contains("font-size=\"11\"")) << "the labels are no longer 11 units high";

    QWidget* enlarged = window.diagram_panel()->enlarge();
    ASSERT_NE(enlarged, nullptr);
    EXPECT_TRUE(enlarged->isVisible());
    QWidget* picture = nullptr;
    for (QWidget* child : enlarged->findChildren<QWidget*>()) {
        if (child->accessibleName() == QStringLiteral("Diagram dráha–čas, zvětšený")) picture = child;
    }
    ASSERT_NE(picture, nullptr);
    const double label_pixels = picture->minimumWidth() * 11.0 / 680;
    EXPECT_NEAR(label_pixels, QFontInfo(window.font()).pixelSize(), 0.5);
    EXPECT_EQ(window.diagram_panel()->enlarge(), enlarged) << "one window, raised again";
}

TEST_F(DiagramOnDisk, SavedAsSvgOrPngOrRefusedInCzech) {
    // clang-format off
    const struct { const char* name; const char* file; bool saved; const char* said; } rows[] = {
        {"Svg",          "diagram.svg",         true,  ""},
        {"Png",          "diagram.PNG",         true,  ""},
        {"OtherSuffix",  "diagram.pdf",         false, "s příponou .svg nebo .png"},
        {"NoSuchFolder", "missing/diagram.svg", false, "diagram.svg"},
    };
    // clang-format on
    const QSize size = labelled_size(window.diagram_panel()->svg(), window.diagram_panel()->font());
    for (const auto& row : rows) {
        const QString path = folder.filePath(QString::fromUtf8(row.file));
        const std::optional<QString> problem = window.diagram_panel()->save_picture(path);
        EXPECT_EQ(!problem, row.saved) << row.name << ": " << problem.value_or(QString()).toStdString();
        EXPECT_EQ(QFile::exists(path), row.saved) << row.name;
        if (problem) {
            EXPECT_TRUE(problem->contains(QString::fromUtf8(row.said))) << problem->toStdString();
        }
    }
    QFile svg(folder.filePath(QStringLiteral("diagram.svg")));
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    const QByteArray saved = svg.readAll();
    EXPECT_TRUE(saved.startsWith("<?xml")) << saved.left(40).toStdString();
    EXPECT_TRUE(saved.endsWith(window.diagram_panel()->svg()));
    const QImage png(folder.filePath(QStringLiteral("diagram.PNG")));
    EXPECT_EQ(png.size(), size * kPngPixelRatio);
    EXPECT_EQ(png.pixelColor(0, 0), QColor(Qt::white));
}

QLabel* fault_label(const CaseWindow& window) {
    for (QLabel* label : window.calculation_view()->findChildren<QLabel*>()) {
        if (label->accessibleName() == QStringLiteral("Chyba výpočtu")) return label;
    }
    return nullptr;
}

class NewCalculation : public ::testing::TestWithParam<const page::PageDefinition*> {};

TEST_P(NewCalculation, ShowsNoFaultUntilTypedThenSaysItInCzechOnItsField) {
    const page::PageDefinition& page = *GetParam();
    CaseWindow window(kComma);
    window.add_calculation(page);
    QLabel* fault = fault_label(window);
    ASSERT_NE(fault, nullptr);
    EXPECT_FALSE(fault->isVisibleTo(&window)) << fault->text().toStdString();
    for (QLineEdit* line : number_lines(window)) EXPECT_FALSE(line->property("marked").toBool());

    const page::Field* first = nullptr;
    for (const page::Field& field : page.layout.fields) {
        if (!first && field.role == page::FieldRole::Input) first = &field;
    }
    ASSERT_NE(first, nullptr);
    QLineEdit* typed = window.calculation_view()->findChild<QLineEdit*>(
        QString::fromUtf8(first->id.data(), static_cast<qsizetype>(first->id.size())));
    typed->selectAll();
    QTest::keyClicks(typed, QStringLiteral("x"));
    ASSERT_TRUE(fault->isVisibleTo(&window));
    EXPECT_TRUE(fault->text().contains(QStringLiteral("není číslo: „x“"))) << fault->text().toStdString();
    EXPECT_FALSE(fault->text().contains(QStringLiteral("floating point"))) << fault->text().toStdString();
    for (QLineEdit* line : number_lines(window)) {
        EXPECT_EQ(line->property("marked").toBool(), line == typed) << line->objectName().toStdString();
    }
    // Corrected, the mark goes with the fault it came from.
    for (const page::FieldText& example : page.worked_example) {
        if (example.id != first->id) continue;
        typed->selectAll();
        QTest::keyClicks(typed, QString::fromUtf8(example.text.data(), static_cast<qsizetype>(example.text.size())));
        EXPECT_FALSE(typed->property("marked").toBool());
    }
}

INSTANTIATE_TEST_SUITE_P(FormFit, NewCalculation, ::testing::ValuesIn(registry::calculation_pages()),
                         [](const auto& info) {
                             std::string name(info.param->key);
                             for (char& character : name) {
                                 if (!std::isalnum(static_cast<unsigned char>(character))) character = '_';
                             }
                             return name;
                         });

struct LeftTolerance {
    const char* name;
    const char* typed;
    bool by_tab;       // left with Tab (else Enter)
    const char* said;  // under the line once it is left; empty for a tolerance taken
};

void PrintTo(const LeftTolerance& row, std::ostream* out) { *out << row.name; }

class ToleranceLeft : public ::testing::TestWithParam<LeftTolerance> {};

TEST_P(ToleranceLeft, SaysWhyOnlyWhenTheLineIsLeft) {
    const LeftTolerance& row = GetParam();
    CaseWindow window(kComma);
    ASSERT_EQ(window.open_case(kEveryPageCase), std::nullopt);
    window.show();
    QApplication::setActiveWindow(&window);
    settle();
    auto* line = window.calculation_view()->findChild<QLineEdit*>(QStringLiteral("tolerance:I4"));
    ASSERT_NE(line, nullptr);
    QLabel* problem = nullptr;
    for (QLabel* label : window.calculation_view()->findChildren<QLabel*>()) {
        if (label->accessibleName() == QStringLiteral("Chyba tolerance: ") + line->accessibleName().mid(11)) {
            problem = label;
        }
    }
    ASSERT_NE(problem, nullptr);
    line->setFocus();
    line->selectAll();
    for (const QChar character : QString::fromUtf8(row.typed)) {
        QTest::keyClicks(line, QString(character));
        EXPECT_FALSE(problem->isVisibleTo(&window)) << "while typing: " << problem->text().toStdString();
    }
    if (row.by_tab) {
        QTest::keyClick(line, Qt::Key_Tab);
        settle();
        EXPECT_FALSE(line->hasFocus());
    } else {
        QTest::keyClick(line, Qt::Key_Return);
    }
    const QString said = QString::fromUtf8(row.said);
    EXPECT_EQ(problem->isVisibleTo(&window), !said.isEmpty());
    EXPECT_EQ(line->property("marked").toBool(), !said.isEmpty());
    if (!said.isEmpty()) {
        EXPECT_EQ(problem->text(), QStringLiteral("Tolerance nepřijata, platí dosavadní: %1.").arg(said));
    }
    EXPECT_EQ(line->text(), QString::fromUtf8(row.typed)) << "kept for correction";
}

INSTANTIATE_TEST_SUITE_P(
    FormFit, ToleranceLeft,
    ::testing::Values(
        LeftTolerance{"LowAboveHigh", "16..14", false, "„od“ je větší než „do“"},
        LeftTolerance{"LowAboveHighLeftWithTab", "16..14", true, "„od“ je větší než „do“"},
        LeftTolerance{"NotANumber", "14..1x", false, "„do“ není číslo: „1x“ (desetinný oddělovač je „,“)"},
        LeftTolerance{"NoForm", "15", true, "zapište od..do, od..nejpravděpodobněji..do nebo střed~odchylka"},
        LeftTolerance{"ZeroDeviation", "15~0", false, "„odchylka“ musí být větší než 0"},
        LeftTolerance{"Taken", "13..17", true, ""}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vorlanex::spis
