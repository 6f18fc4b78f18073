// The case window offscreen: every page's worked example typed shows the headless run's texts;
// a saved case reads back to the same bytes and passes the verification; a damaged file or a
// failed save leaves the case open as it was.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <string>
#include <utility>
#include <vector>

#include "casefile/case_run.h"
#include "casefile/case_writer.h"
#include "casefile/recorded_run.h"
#include "registry/page_tree.h"
#include "spis/calculation_view.h"
#include "spis/case_window.h"
#include "spis/diagram_panel.h"
#include "version/version.h"

namespace vorlanex::spis {
namespace {

const numeric::DecimalSeparator kComma{","};
const QString kEveryPageCase = QStringLiteral(VORLANEX_SOURCE_DIR "/tests/cases/every-page.vorlanex");

std::string file_bytes(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll().toStdString();
}

void write_file(const QString& path, std::string_view bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

casefile::CaseFile read_back(const QString& path) {
    auto read = casefile::read_case_file(file_bytes(path));
    EXPECT_TRUE(std::holds_alternative<casefile::CaseFile>(read));
    return std::get<casefile::CaseFile>(std::move(read));
}

QLineEdit* field_edit(const CaseWindow& window, std::string_view id) {
    return window.calculation_view()->findChild<QLineEdit*>(
        QString::fromUtf8(id.data(), static_cast<qsizetype>(id.size())));
}

class EveryPage : public ::testing::TestWithParam<const page::PageDefinition*> {};

TEST_P(EveryPage, WorkedExampleTypedShowsTheHeadlessRun) {
    const page::PageDefinition& page = *GetParam();
    CaseWindow window(kComma);
    window.add_calculation(page);
    std::vector<std::pair<std::string, std::string>> typed;
    for (const page::FieldText& field : page.worked_example) {
        QLineEdit* edit = field_edit(window, field.id);
        ASSERT_NE(edit, nullptr) << field.id;
        edit->selectAll();
        QTest::keyClicks(edit, QString::fromUtf8(field.text.data(), static_cast<qsizetype>(field.text.size())));
        typed.emplace_back(field.id, field.text);
    }
    const casefile::RecordedRun headless(page, typed, kComma);
    for (const page::Field& field : page.layout.fields) {
        QLineEdit* edit = field_edit(window, field.id);
        ASSERT_NE(edit, nullptr) << field.id;
        EXPECT_EQ(edit->accessibleName().toStdString(), field.accessible_name);
        if (field.role == page::FieldRole::Result) {
            EXPECT_EQ(edit->text().toStdString(), headless.text_after(field.id)) << field.id;
            EXPECT_TRUE(edit->isReadOnly()) << field.id;
        }
    }
    EXPECT_EQ(window.document().calculations.at(0).scenario.fields, typed);
    EXPECT_EQ(window.diagram_panel()->svg().isEmpty(), page.path_time_diagram == nullptr);
    EXPECT_TRUE(window.isWindowModified());
    // Qt shows "[*]" as "*" while the window is modified.
    EXPECT_EQ(window.windowTitle(), QStringLiteral("[*]Nový případ – Vorlanex Spis"));
}

INSTANTIATE_TEST_SUITE_P(Registry, EveryPage, ::testing::ValuesIn(registry::calculation_pages()), [](const auto& info) {
    std::string name(info.param->key);
    for (char& character : name) {
        if (!std::isalnum(static_cast<unsigned char>(character))) character = '_';
    }
    return name;
});

TEST(CaseWindow, SavedCaseIsTheRecordedCaseReadsBackToTheSameBytesAndVerifies) {
    QTemporaryDir folder;
    CaseWindow window(kComma);
    ASSERT_EQ(window.open_case(kEveryPageCase), std::nullopt);
    const QString first = folder.filePath(QStringLiteral("first.vorlanex"));
    const QString second = folder.filePath(QStringLiteral("second.vorlanex"));
    ASSERT_EQ(window.save_case(first), std::nullopt);
    EXPECT_FALSE(window.isWindowModified());
    EXPECT_EQ(window.path(), first);

    const casefile::CaseFile original = read_back(kEveryPageCase);
    EXPECT_EQ(file_bytes(first), casefile::case_file_text(original, kVersion));

    CaseWindow reopened(kComma);
    ASSERT_EQ(reopened.open_case(first), std::nullopt);
    ASSERT_EQ(reopened.save_case(second), std::nullopt);
    EXPECT_EQ(file_bytes(first), file_bytes(second));

    bool all_same = false;
    casefile::verify_case(read_back(second), all_same);
    EXPECT_TRUE(all_same);
}

struct DamagedFile {
    const char* name;
    std::string bytes;
    const char* message_part;
};

class DamagedFiles : public ::testing::TestWithParam<DamagedFile> {};

TEST_P(DamagedFiles, OpenNothingNameTheLineAndKeepTheCase) {
    QTemporaryDir folder;
    const QString damaged = folder.filePath(QStringLiteral("damaged.vorlanex"));
    write_file(damaged, GetParam().bytes);
    CaseWindow window(kComma);
    ASSERT_EQ(window.open_case(kEveryPageCase), std::nullopt);
    const std::size_t calculations = window.document().calculations.size();
    window.select_calculation(2);

    const std::optional<QString> problem = window.open_case(damaged);
    ASSERT_TRUE(problem.has_value());
    EXPECT_TRUE(problem->contains(QString::fromUtf8(GetParam().message_part))) << problem->toStdString();
    EXPECT_EQ(window.document().calculations.size(), calculations);
    EXPECT_EQ(window.path(), kEveryPageCase);
    EXPECT_EQ(window.selected_row(), 2);
    EXPECT_FALSE(window.isWindowModified());
}

const std::string kHeader = R"({"format":1,"separator":",","case":{}})"
                            "\n";
const std::string kBraking = R"({"page":"kinematika","fields":{"I1":"20"}})"
                             "\n";

// clang-format off
INSTANTIATE_TEST_SUITE_P(CaseWindow, DamagedFiles, ::testing::Values(
    DamagedFile{"NotJsonOnLine3", kHeader + kBraking + "{\"page\":\n", "„damaged.vorlanex“ nelze otevřít: řádek 3: řádek není platný JSON.\n\nSoubor je poškozený"},
    DamagedFile{"UnknownPage", kHeader + R"({"page":"nic","fields":{}})" "\n", "řádek 2: neznámá stránka „nic“."},
    DamagedFile{"UnknownField", kHeader + R"({"page":"kinematika","fields":{"X9":"1"}})" "\n", "řádek 2: stránka „kinematika“ nemá pole „X9“."},
    DamagedFile{"UnknownMember", kHeader + R"({"page":"kinematika","foo":1})" "\n", "Soubor „damaged.vorlanex“ nelze otevřít: řádek 2: neznámá položka „foo“."},
    DamagedFile{"NewerFormat", R"({"format":3,"separator":",","case":{}})" "\n", "řádek 1: soubor má formát 3, tato verze programu Vorlanex čte formáty 1 a 2.\n\nPřípad uložila novější verze"},
    DamagedFile{"FormatPast64Bits", R"({"format":18446744073709551615,"separator":","})" "\n", "řádek 1: soubor má formát 18446744073709551615,"},
    DamagedFile{"NestedDeep", kHeader + R"({"x":)" + std::string(150000, '[') + std::string(150000, ']') + R"(,"page":"kinematika"})" "\n", "řádek 2: řádek je vnořen hlouběji"},
    DamagedFile{"Empty", "", "damaged.vorlanex"},
    DamagedFile{"Foreign", "%PDF-1.7\n", "řádek 1: řádek není platný JSON"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// A row that moves or goes is shown with the mark of the calculation that stands there now.
TEST(CaseWindow, EveryRowKeepsItsOwnMarkWhenRowsMoveOrGo) {
    CaseWindow window(kComma);  // three calculations, each "✓"
    ASSERT_EQ(window.open_case(QStringLiteral(VORLANEX_SOURCE_DIR "/tests/cases/reconstruction.vorlanex")),
              std::nullopt);
    window.select_calculation(0);
    QLineEdit* speed = field_edit(window, "I1");
    ASSERT_NE(speed, nullptr);
    speed->setText(QStringLiteral("x"));  // a fault: "✗"
    QListWidget* list = window.calculation_list();
    ASSERT_TRUE(list->item(0)->text().startsWith(QStringLiteral("✗")));
    window.action(CaseAction::MoveDown)->trigger();
    EXPECT_FALSE(list->item(0)->text().startsWith(QStringLiteral("✗"))) << list->item(0)->text().toStdString();
    EXPECT_TRUE(list->item(1)->text().startsWith(QStringLiteral("✗")));
    window.action(CaseAction::Remove)->trigger();
    ASSERT_EQ(list->count(), 2);
    for (int row = 0; row < list->count(); ++row) {
        EXPECT_TRUE(list->item(row)->text().startsWith(QStringLiteral("✓"))) << list->item(row)->text().toStdString();
    }
}

TEST(CaseWindow, ThePassingMessagesLeaveTheCasesStateInTheStatusBar) {
    CaseWindow window(kComma);
    window.show();
    window.add_calculation(*registry::calculation_pages().front());
    EXPECT_TRUE(window.state_text().startsWith(QStringLiteral("Neuloženo · 1 výpočet · Vorlanex ")))
        << window.state_text().toStdString();
    window.statusBar()->showMessage(QStringLiteral("Výsledky výpočtu jsou ve schránce."), 1);
    QTest::qWait(50);
    EXPECT_TRUE(window.statusBar()->currentMessage().isEmpty());
    const auto* state = window.statusBar()->findChild<QLabel*>(QStringLiteral("stav"));
    ASSERT_NE(state, nullptr);
    EXPECT_TRUE(state->isVisible());
    EXPECT_EQ(state->text(), window.state_text());
}

TEST(CaseWindow, FailedSaveLeavesTheCaseOpenAndUnsaved) {
    QTemporaryDir folder;
    CaseWindow window(kComma);
    window.add_calculation(*registry::calculation_pages().front());
    const std::optional<QString> problem = window.save_case(folder.filePath(QStringLiteral("gone/case.vorlanex")));
    ASSERT_TRUE(problem.has_value());
    EXPECT_TRUE(problem->contains(QStringLiteral("nelze uložit"))) << problem->toStdString();
    EXPECT_TRUE(window.isWindowModified());
    EXPECT_TRUE(window.path().isEmpty());
    EXPECT_EQ(window.document().calculations.size(), 1U);
}

TEST(CaseWindow, ExportedProtocolHoldsEveryResultShown) {
    QTemporaryDir folder;
    CaseWindow window(kComma);
    ASSERT_EQ(window.open_case(kEveryPageCase), std::nullopt);
    const QString html = folder.filePath(QStringLiteral("protokol.html"));
    ASSERT_EQ(window.export_html(html), std::nullopt);
    const std::string exported = file_bytes(html);
    for (const casefile::Calculation& calculation : read_back(kEveryPageCase).calculations) {
        const casefile::RecordedRun run(*calculation.scenario.page, calculation.scenario.fields, kComma);
        for (const page::Field& field : calculation.scenario.page->layout.fields) {
            const std::string& text = run.text_after(field.id);
            if (field.role == page::FieldRole::Result && !text.empty()) {
                EXPECT_NE(exported.find(text), std::string::npos) << calculation.scenario.page->key << " " << field.id;
            }
        }
    }
}

TEST(CaseWindow, EditOfATitleNamesTheCalculationInTheList) {
    CaseWindow window(kComma);
    window.add_calculation(*registry::calculation_pages().front());
    auto* title = window.calculation_view()->findChild<QLineEdit*>();
    ASSERT_NE(title, nullptr);
    QTest::keyClicks(title, QStringLiteral("Brzdeni pred stretem"));  // QTest types ASCII only
    EXPECT_EQ(window.document().calculations.at(0).title, std::optional<std::string>("Brzdeni pred stretem"));
    EXPECT_TRUE(window.calculation_list()->item(0)->text().endsWith(QStringLiteral("Brzdeni pred stretem")));
}

struct Reorder {
    const char* name;
    int selected;  // the row selected first
    // A drag moves the list's row `from` before the row `before` (as QListWidget's drop does); or,
    // when `action` is given, that menu item moves the selected row.
    int from, before;
    const char* action;
    std::vector<std::string_view> pages;  // the case's pages in order afterwards
    int selected_after;
};

class Reordering : public ::testing::TestWithParam<Reorder> {};

QAction* menu_action(const CaseWindow& window, const QString& text) {
    for (QAction* action : window.findChildren<QAction*>()) {
        if (action->text().remove(QLatin1Char('&')) == text) return action;
    }
    return nullptr;
}

TEST_P(Reordering, KeepsTheCasesOrderTheListTheSelectionAndTheUnsavedMarkInStep) {
    const Reorder& reorder = GetParam();
    CaseWindow window(kComma);
    ASSERT_EQ(window.open_case(kEveryPageCase), std::nullopt);
    window.select_calculation(reorder.selected);
    if (reorder.action) {
        QAction* action = menu_action(window, QString::fromUtf8(reorder.action));
        ASSERT_NE(action, nullptr) << reorder.action;
        action->trigger();
    } else {
        window.calculation_list()->model()->moveRow(QModelIndex(), reorder.from, QModelIndex(), reorder.before);
    }
    const auto& calculations = window.document().calculations;
    ASSERT_EQ(calculations.size(), reorder.pages.size());
    for (std::size_t i = 0; i < calculations.size(); ++i) {
        EXPECT_EQ(calculations[i].scenario.page->key, reorder.pages[i]) << i;
        EXPECT_TRUE(window.calculation_list()
                        ->item(static_cast<int>(i))
                        ->text()
                        .contains(QString::fromStdString(*calculations[i].title)))
            << i;
    }
    EXPECT_EQ(window.selected_row(), reorder.selected_after);
    const bool moved = reorder.pages != std::vector<std::string_view>{
                                            "kinematika",  "kinematika-meze", "draha-zastaveni", "rychlost-rozhledu",
                                            "ees-katalog", "ees-tuhosti",     "gev-evu",         "gev-definice"};
    EXPECT_EQ(window.isWindowModified(), moved);
    // The centre shows the selected calculation.
    auto* title = window.calculation_view()->findChild<QLineEdit*>();
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->text().toStdString(), *calculations.at(static_cast<std::size_t>(window.selected_row())).title);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(CaseWindow, Reordering, ::testing::Values(
    Reorder{"DragFirstToTheEnd",   0, 0, 8, nullptr,
            {"kinematika-meze", "draha-zastaveni", "rychlost-rozhledu", "ees-katalog", "ees-tuhosti", "gev-evu", "gev-definice", "kinematika"}, 7},
    Reorder{"DragLastToTheTop",    7, 7, 0, nullptr,
            {"gev-definice", "kinematika", "kinematika-meze", "draha-zastaveni", "rychlost-rozhledu", "ees-katalog", "ees-tuhosti", "gev-evu"}, 0},
    Reorder{"DragOtherThanSelected", 5, 2, 4, nullptr,
            {"kinematika", "kinematika-meze", "rychlost-rozhledu", "draha-zastaveni", "ees-katalog", "ees-tuhosti", "gev-evu", "gev-definice"}, 3},
    Reorder{"DropOnItselfMovesNothing", 3, 3, 4, nullptr,
            {"kinematika", "kinematika-meze", "draha-zastaveni", "rychlost-rozhledu", "ees-katalog", "ees-tuhosti", "gev-evu", "gev-definice"}, 3},
    Reorder{"Up",                  2, 0, 0, "Nahoru",
            {"kinematika", "draha-zastaveni", "kinematika-meze", "rychlost-rozhledu", "ees-katalog", "ees-tuhosti", "gev-evu", "gev-definice"}, 1},
    Reorder{"Down",                2, 0, 0, "Dolů",
            {"kinematika", "kinematika-meze", "rychlost-rozhledu", "draha-zastaveni", "ees-katalog", "ees-tuhosti", "gev-evu", "gev-definice"}, 3},
    Reorder{"UpAtTheTopStays",     0, 0, 0, "Nahoru",
            {"kinematika", "kinematika-meze", "draha-zastaveni", "rychlost-rozhledu", "ees-katalog", "ees-tuhosti", "gev-evu", "gev-definice"}, 0},
    Reorder{"DownAtTheEndStays",   7, 0, 0, "Dolů",
            {"kinematika", "kinematika-meze", "draha-zastaveni", "rychlost-rozhledu", "ees-katalog", "ees-tuhosti", "gev-evu", "gev-definice"}, 7}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(CaseWindow, TheListTakesADragOfItsOwnRowsOnly) {
    CaseWindow window(kComma);
    EXPECT_EQ(window.calculation_list()->dragDropMode(), QAbstractItemView::InternalMove);
    EXPECT_EQ(menu_action(window, QStringLiteral("Nahoru"))->shortcut(), QKeySequence(QStringLiteral("Ctrl+Up")));
    EXPECT_EQ(menu_action(window, QStringLiteral("Dolů"))->shortcut(), QKeySequence(QStringLiteral("Ctrl+Down")));
}

// AT-SPI's EditableText sets a field's text as a program does (no textEdited): still an edit.
TEST(CaseWindow, TextSetAsAnAssistiveTechnologySetsItIsAnEdit) {
    CaseWindow window(kComma);
    ASSERT_EQ(window.open_case(kEveryPageCase), std::nullopt);  // the braking reconstruction selected
    const QString before = field_edit(window, "R2")->text();
    field_edit(window, "I1")->setText(QStringLiteral("25"));
    EXPECT_EQ(window.document().calculations.at(0).text("I1", kComma), "25");
    EXPECT_NE(field_edit(window, "R2")->text(), before);
    EXPECT_TRUE(window.isWindowModified());
    window.calculation_view()->findChild<QLineEdit*>()->setText(QStringLiteral("Brzdeni"));  // the title
    EXPECT_EQ(window.document().calculations.at(0).title, std::optional<std::string>("Brzdeni"));
}

// Whether the panel shows a picture with something drawn in it: the diagram's lines and labels.
int dark_pixels(QWidget* panel) {
    const QImage shot = panel->grab().toImage();
    int dark = 0;
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) dark += qGray(shot.pixel(x, y)) < 100 ? 1 : 0;
    }
    return dark;
}

void wait_for_the_picture(const DiagramPanel& panel) {
    QElapsedTimer waited;
    waited.start();
    while (!panel.drawn() && waited.elapsed() < 10'000) QApplication::processEvents(QEventLoop::AllEvents, 20);
    QApplication::processEvents();
}

// The diagram is drawn on a thread of its own: an edit gives the panel its new SVG at once and the
// picture of it a moment later; a page without a diagram shows none.
TEST(CaseWindow, DiagramIsDrawnBesideTheWindowAndFollowsEveryEdit) {
    CaseWindow window(kComma);
    ASSERT_EQ(window.open_case(kEveryPageCase), std::nullopt);
    window.resize(1280, 800);
    window.show();
    DiagramPanel* panel = window.diagram_panel();
    wait_for_the_picture(*panel);
    ASSERT_TRUE(panel->drawn());
    EXPECT_GT(dark_pixels(panel), 200);

    const QByteArray svg = panel->svg();
    field_edit(window, "I1")->setText(QStringLiteral("25"));
    EXPECT_NE(panel->svg(), svg);
    EXPECT_FALSE(panel->drawn());  // its picture is still being drawn
    wait_for_the_picture(*panel);
    EXPECT_TRUE(panel->drawn());
    EXPECT_GT(dark_pixels(panel), 200);

    window.select_calculation(4);  // "ees-katalog": no diagram
    EXPECT_TRUE(panel->svg().isEmpty());
    EXPECT_TRUE(panel->drawn());
}

}  // namespace
}  // namespace vorlanex::spis
