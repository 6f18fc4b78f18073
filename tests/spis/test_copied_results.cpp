// Výpočet → Kopírovat výsledky offscreen: the worked example of a page typed, the clipboard holds its
// results in the layout's order with the texts the fields show, its warnings and fault, as text and
// as an HTML table; each result's own button copies its text alone.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>
#include <QToolButton>

#include "registry/page_tree.h"
#include "spis/calculation_view.h"
#include "spis/case_window.h"

namespace vorlanex::spis {
namespace {

const numeric::DecimalSeparator kComma{","};

const page::PageDefinition& page_of(std::string_view key) {
    for (const page::PageDefinition* page : registry::calculation_pages()) {
        if (page->key == key) return *page;
    }
    throw std::runtime_error("no page " + std::string(key));
}

QAction* action_named(const CaseWindow& window, const QString& text) {
    for (QAction* action : window.findChildren<QAction*>()) {
        if (action->text().remove(QLatin1Char('&')) == text) return action;
    }
    return nullptr;
}

// A window with the page's worked example typed into a new calculation.
void type_worked_example(CaseWindow& window, const page::PageDefinition& page) {
    window.add_calculation(page);
    for (const page::FieldText& field : page.worked_example) {
        auto* edit = window.calculation_view()->findChild<QLineEdit*>(
            QString::fromUtf8(field.id.data(), static_cast<qsizetype>(field.id.size())));
        ASSERT_NE(edit, nullptr) << field.id;
        edit->selectAll();
        QTest::keyClicks(edit, QString::fromUtf8(field.text.data(), static_cast<qsizetype>(field.text.size())));
    }
}

struct Copied {
    const char* name;
    const char* page;
    std::vector<std::pair<const char*, const char*>> typed;  // after the worked example
    const char* text;                                        // the plain text, or its beginning
    std::vector<const char*> html_parts;
};

class CopiedResults : public ::testing::TestWithParam<Copied> {};

TEST_P(CopiedResults, AreTheFieldsTextsInLayoutOrderWithWarningsAndFault) {
    const Copied& copied = GetParam();
    CaseWindow window(kComma);
    type_worked_example(window, page_of(copied.page));
    for (const auto& [id, text] : copied.typed) {
        auto* edit = window.calculation_view()->findChild<QLineEdit*>(QString::fromUtf8(id));
        ASSERT_NE(edit, nullptr) << id;
        edit->selectAll();
        QTest::keyClicks(edit, QString::fromUtf8(text));
    }
    QGuiApplication::clipboard()->clear();
    QAction* copy = action_named(window, QStringLiteral("Kopírovat výsledky"));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+C")));
    copy->trigger();
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(data->text().startsWith(QString::fromUtf8(copied.text))) << data->text().toStdString();
    ASSERT_TRUE(data->hasHtml());
    for (const char* part : copied.html_parts) {
        EXPECT_TRUE(data->html().contains(QString::fromUtf8(part))) << part << "\n" << data->html().toStdString();
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(CaseWindow, CopiedResults, ::testing::Values(
    Copied{"Braking", "kinematika", {},
           "Zpomalení po střetu (R1) = 6,865 m/s²\n"
           "Rychlost po střetu (R2) = 42,702 km/h\n"
           "Doba brzdění po střetu (R3) = 0,919 s\n"
           "Rychlost před střetem (R4) = 45,26 km/h\n"
           "Zpomalení před střetem (R5) = 7,845 m/s²\n"
           "Rychlost na začátku blokovací stopy (R6) = 78,201 km/h\n"
           "GEV (R7) = 0,17052859036965\n"
           "Doba brzdění před střetem (R8) = 1,166 s\n"
           "Rychlost při sešlápnutí pedálu brzdy (R9) = 81,026 km/h\n"
           "Rychlost na začátku reakce, na 2 desetinná místa (R10) = 81,03 km/h\n"
           "Rychlost na začátku reakce řidiče (R11) = 22,507 m/s\n"
           "Rychlost na začátku reakce řidiče, na 3 desetinná místa (R12) = 81,026 km/h\n"
           "Dráha náběhu brzd (R13) = 4,423 m\n"
           "Reakční dráha (R14) = 22,507 m\n"
           "Vzdálenost začátku reakce od místa střetu (R15) = 46,93 m\n"
           "Čas začátku reakce před střetem (R16) = 2,366 s\n"
           "Rychlost pro zastavení před místem střetu (R17) = 19,856 m/s\n"
           "Rychlost pro zastavení před místem střetu (R18) = 71,482 km/h\n",
           {"<tr><td>Rychlost po střetu</td><td>R2</td><td align=\"right\">42,702</td><td>km/h</td></tr>",
            "<tr><td>GEV</td><td>R7</td><td align=\"right\">0,17052859036965</td><td></td></tr>"}},
    Copied{"Gev", "gev-definice", {},
           "Rychlost vozidla před střetem (R1) = 13,889 m/s\n"
           "GEV (R2) = 0,333\n",
           {"<th>Veličina</th><th>Značka</th><th>Hodnota</th><th>Jednotka</th>",
            "<td>R2</td><td align=\"right\">0,333</td>"}},
    Copied{"StoppingMessageWithoutBlanks", "draha-zastaveni", {},
           "Rychlost při sešlápnutí pedálu brzdy (R1) = 50 km/h\n",
           {"Celkový čas na zastavení</td><td>R13</td><td align=\"right\">2,87</td><td>s</td></tr>\n"
            "<tr><td>Zpráva o střetu, 1. řádek</td><td>C1</td><td align=\"right\">Nedojde ke střetu !</td><td></td></tr>\n"
            "</table>\n"}},
    Copied{"BrakingFault", "kinematika", {{"I3", "x"}}, "", {"</table>\n<p>Chyba: "}}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(CaseWindow, EachResultsOwnButtonCopiesItsTextAlone) {
    CaseWindow window(kComma);
    window.show();  // laid out, so that the click lands on the button
    type_worked_example(window, page_of("kinematika"));
    QApplication::processEvents();
    QToolButton* button = nullptr;
    for (auto* candidate : window.calculation_view()->findChildren<QToolButton*>()) {
        if (candidate->accessibleName() == QStringLiteral("Kopírovat R2")) button = candidate;
    }
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->focusPolicy() & Qt::TabFocus, Qt::TabFocus);
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("42,702"));
}

}  // namespace
}  // namespace vorlanex::spis
