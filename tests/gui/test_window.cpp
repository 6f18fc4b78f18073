// The main window offscreen: page tree, the Kinematika page's fields and tab order, a calculation
// started from its button, the warning and error boxes, and the "?" help texts.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSet>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/calculation_page.h"
#include "app/environment.h"
#include "app/kin.h"
#include "app/look.h"
#include "registry/page_tree.h"

namespace {

using vorlanex::app::CalculationPage;
using vorlanex::app::Environment;
using vorlanex::app::TForm1;
using vorlanex::numeric::DecimalSeparator;
namespace page = vorlanex::page;

// What a modal box showed before the test closed it.
struct SeenBox {
    bool appeared = false;
    bool closed_by_key = false;
    QString class_name;
    QString object_name;
    QString title;
    QString text;  // the QLabel "message" of the warning box, or the error box's text
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    bool application_modal = false;
    bool centred = false;        // on the screen
    bool shows_picture = false;  // an icon or any other picture
    QStringList buttons;         // captions of its push buttons
    bool first_button_default = false;
    bool plain_text = false;  // the text is never read as markup
    int text_width = 0;       // of the warning box's message
    int screen_width = 0;
    bool on_screen = false;     // the whole box
    bool ok_on_screen = false;  // its "OK" button
    bool lines_fit = false;     // every line of the error box's text as wide as its message at most
};

// Looks at each of the next `count` modal boxes once it is open, and closes it with `key` sent to
// the widget that has the focus inside it, as the user's keyboard would. A box that the key does
// not close is closed anyway (and reported), so that a test never hangs.
using SeenBoxes = std::shared_ptr<std::vector<SeenBox>>;

void look_at_next_box(const SeenBoxes& seen, Qt::Key key, std::size_t count) {
    QTimer::singleShot(0, [seen, key, count] {
        auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!box) return;
        SeenBox& box_seen = seen->emplace_back();
        box_seen.appeared = true;
        box_seen.class_name = QString::fromLatin1(box->metaObject()->className());
        box_seen.object_name = box->objectName();
        box_seen.title = box->windowTitle();
        box_seen.application_modal = box->windowModality() == Qt::ApplicationModal;
        const QRect screen = box->screen()->availableGeometry();
        // Within the few pixels of the window frame.
        const QPoint off_centre = box->frameGeometry().center() - screen.center();
        box_seen.centred = std::abs(off_centre.x()) <= 3 && std::abs(off_centre.y()) <= 3;
        for (const QLabel* label : box->findChildren<QLabel*>()) {
            if (!label->pixmap().isNull()) box_seen.shows_picture = true;
        }
        const QList<QPushButton*> buttons = box->findChildren<QPushButton*>();
        for (const QPushButton* button : buttons) box_seen.buttons << button->text().remove(u'&');
        box_seen.first_button_default = !buttons.isEmpty() && buttons.first()->isDefault();
        box_seen.on_screen = screen.contains(box->frameGeometry());
        for (const QPushButton* button : buttons) {
            if (button->text().remove(u'&') != QStringLiteral("OK")) continue;
            box_seen.ok_on_screen =
                button->isVisible() && screen.contains(QRect(button->mapToGlobal(QPoint(0, 0)), button->size()));
        }
        box_seen.screen_width = screen.width();
        if (auto* message_box = qobject_cast<QMessageBox*>(box)) {
            box_seen.text = message_box->text();
            box_seen.icon = message_box->icon();
            box_seen.plain_text = message_box->textFormat() == Qt::PlainText;
            if (const auto* label = message_box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))) {
                const QStringList lines = box_seen.text.split(u'\n');
                box_seen.lines_fit = std::ranges::all_of(lines, [label](const QString& line) {
                    return label->fontMetrics().horizontalAdvance(line) <= label->width();
                });
            }
        } else if (auto* label = box->findChild<QLabel*>(QStringLiteral("message"))) {
            box_seen.text = label->text();
            box_seen.plain_text = label->textFormat() == Qt::PlainText;
            box_seen.text_width = label->width();
        }
        QWidget* target = box->focusWidget() ? box->focusWidget() : box;
        QTest::keyClick(target, key);
        box_seen.closed_by_key = !box->isVisible();
        if (box->isVisible()) box->reject();
        // The next box, if any, opens once this one's event loop has returned.
        if (seen->size() < count) look_at_next_box(seen, key, count);
    });
}

SeenBoxes close_next_boxes_with(Qt::Key key, std::size_t count) {
    auto seen = std::make_shared<std::vector<SeenBox>>();
    look_at_next_box(seen, key, count);
    return seen;
}

// The next box, or a default SeenBox (appeared false) when none opened.
struct NextBox {
    SeenBoxes boxes;
    const SeenBox* operator->() const {
        static const SeenBox none;
        return boxes->empty() ? &none : &boxes->front();
    }
};

NextBox close_next_box_with(Qt::Key key) { return {close_next_boxes_with(key, 1)}; }

const std::array<const char*, 8> kInputIds{"I1", "I2", "I3", "I4", "I5", "I6", "I7", "I8"};

const std::array<std::pair<const char*, const char*>, 8> kWorkedExample{
    {{"I1", "20"}, {"I2", "8"}, {"I3", "0,7"}, {"I4", "15"}, {"I5", "20"}, {"I6", "0,8"}, {"I7", "0,2"}, {"I8", "1"}}};

const std::array<std::pair<const char*, const char*>, 18> kWorkedExampleResults{{{"R1", "6,865"},
                                                                                 {"R2", "42,702"},
                                                                                 {"R3", "0,919"},
                                                                                 {"R4", "45,26"},
                                                                                 {"R5", "7,845"},
                                                                                 {"R6", "78,201"},
                                                                                 {"R7", "0,17052859036965"},
                                                                                 {"R8", "1,166"},
                                                                                 {"R9", "81,026"},
                                                                                 {"R10", "81,03"},
                                                                                 {"R11", "22,507"},
                                                                                 {"R12", "81,026"},
                                                                                 {"R13", "4,423"},
                                                                                 {"R14", "22,507"},
                                                                                 {"R15", "46,93"},
                                                                                 {"R16", "2,366"},
                                                                                 {"R17", "19,856"},
                                                                                 {"R18", "71,482"}}};

class Window : public ::testing::Test {
protected:
    Window() {
        form.show();
        QApplication::setActiveWindow(&form);
    }

    CalculationPage* kinematika() const { return form.page("kinematika"); }

    QLineEdit* field(const char* id) const {
        QLineEdit* edit = kinematika()->findChild<QLineEdit*>(QString::fromLatin1(id));
        EXPECT_TRUE(edit) << "no field " << id;
        return edit;
    }
    std::string text(const char* id) const { return field(id)->text().toStdString(); }

    void type_worked_example() const {
        for (const auto& [id, value] : kWorkedExample) field(id)->setText(QString::fromUtf8(value));
    }
    void expect_worked_example_results() const {
        for (const auto& [id, value] : kWorkedExampleResults) EXPECT_EQ(text(id), value) << id;
    }

    QPushButton* calculate_button() const {
        for (QPushButton* button : kinematika()->findChildren<QPushButton*>()) {
            if (button->text() == QStringLiteral("Výpočet")) return button;
        }
        ADD_FAILURE() << "no \"Výpočet\" button";
        return nullptr;
    }

    // The "?" button whose top-left corner is at this place on the page.
    QPushButton* help_button_at(int left, int top, std::string_view page_key = "kinematika") const {
        for (QPushButton* button : form.page(page_key)->findChildren<QPushButton*>()) {
            if (button->text() == QStringLiteral("?") && button->pos() == QPoint(left, top)) return button;
        }
        ADD_FAILURE() << "no \"?\" button at " << left << ", " << top;
        return nullptr;
    }

    // Clicks "Výpočet" expecting no box at all; true when none appeared.
    bool calculate_without_box() const {
        auto seen = close_next_box_with(Qt::Key_Escape);
        calculate_button()->click();
        QCoreApplication::processEvents();
        return !seen->appeared;
    }

    Environment environment{DecimalSeparator(","), QStringLiteral("vorlanex")};
    TForm1 form{environment};
};

TEST_F(Window, CaptionAndClientSize) {
    EXPECT_EQ(form.windowTitle(), QStringLiteral("  Vorlanex (v 1.6a)"));
    EXPECT_EQ(form.size(), QSize(801, 393));
    EXPECT_EQ(form.pos(), QPoint(33, 47));
    EXPECT_FALSE(form.windowIcon().isNull());
    EXPECT_EQ(form.page_tree()->geometry(), QRect(0, 0, 801, 393));
}

TEST_F(Window, PageTreeCaptionsAndPagesShownAtStart) {
    QTabWidget* tree = form.page_tree();
    const QStringList captions{QStringLiteral("Kinematika"),         QStringLiteral("Kinematika (+ meze)"),
                               QStringLiteral("Dráha na zastavení"), QStringLiteral("Rychlost přim. rozhledu"),
                               QStringLiteral("Přepočet EES"),       QStringLiteral("Přepočet GEV")};
    ASSERT_EQ(tree->count(), captions.size());
    for (int i = 0; i < tree->count(); ++i) EXPECT_EQ(tree->tabText(i), captions[i]) << "tab " << i;
    EXPECT_EQ(tree->currentIndex(), 0);
    EXPECT_EQ(tree->currentWidget(), kinematika());

    struct Nested {
        int top_index;
        QStringList captions;
        int current;
    };
    const Nested nested[] = {
        {4, {QStringLiteral("             EES               "), QStringLiteral("EES - na základě tuhostí vozidel")}, 1},
        {5, {QStringLiteral("GEV - dle metodiky EVU  "), QStringLiteral("GEV - dle definice")}, 0},
    };
    for (const Nested& expected : nested) {
        auto* tabs = tree->widget(expected.top_index)->findChild<QTabWidget*>(QString(), Qt::FindDirectChildrenOnly);
        ASSERT_TRUE(tabs) << "no nested page control on tab " << expected.top_index;
        ASSERT_EQ(tabs->count(), expected.captions.size());
        for (int i = 0; i < tabs->count(); ++i) EXPECT_EQ(tabs->tabText(i), expected.captions[i]);
        EXPECT_EQ(tabs->currentIndex(), expected.current) << "nested page control on tab " << expected.top_index;
        EXPECT_EQ(tabs->geometry(), QRect(0, 0, 793, 369));
    }
    for (int i = 0; i < 4; ++i) {
        EXPECT_FALSE(tree->widget(i)->findChild<QTabWidget*>()) << "tab " << i << " has sub-pages";
    }
}

// Only the pages on the screen are built at start; the others when first shown, or when a field
// of theirs is asked for.
TEST_F(Window, APageIsBuiltWhenFirstShown) {
    for (const page::PageDefinition* definition : vorlanex::registry::calculation_pages()) {
        CalculationPage* page = form.page(definition->key);
        ASSERT_TRUE(page) << definition->key;
        EXPECT_EQ(page->findChildren<QWidget*>().isEmpty(), !page->isVisible()) << definition->key;
    }
    CalculationPage* gev = form.page("gev-definice");
    ASSERT_TRUE(gev->field("I1"));
    EXPECT_FALSE(gev->field("I1")->isVisible());
    form.show_page("gev-definice");
    EXPECT_TRUE(gev->field("I1")->isVisible());
    EXPECT_TRUE(gev->calculate_button()->isVisible());
}

TEST_F(Window, TabVisitsTheInputFieldsInOrderThenTheButtonOnly) {
    field("I1")->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), field("I1"));
    QStringList visited;
    for (int i = 0; i < 12; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* focus = QApplication::focusWidget();
        ASSERT_TRUE(focus);
        visited << (focus->objectName().isEmpty() ? QString::fromLatin1(focus->metaObject()->className())
                                                  : focus->objectName());
    }
    // Once round the page: the inputs in reading order, the button, the row of tabs, and back.
    const QStringList expected{QStringLiteral("I2"), QStringLiteral("I3"),        QStringLiteral("I4"),
                               QStringLiteral("I5"), QStringLiteral("I6"),        QStringLiteral("I7"),
                               QStringLiteral("I8"), QStringLiteral("calculate"), QStringLiteral("qt_tabwidget_tabbar"),
                               QStringLiteral("I1"), QStringLiteral("I2"),        QStringLiteral("I3")};
    EXPECT_EQ(visited, expected) << visited.join(u' ').toStdString();
    for (const QString& stop : visited) {
        EXPECT_FALSE(stop.startsWith(u'R')) << "Tab stopped on result field " << stop.toStdString();
        EXPECT_NE(stop, QStringLiteral("QPushButton")) << "Tab stopped on a \"?\" button";
    }
}

TEST_F(Window, CalculateFillsTheResultsOfTheWorkedExample) {
    type_worked_example();
    EXPECT_TRUE(calculate_without_box());
    expect_worked_example_results();
}

TEST_F(Window, EnterAndSpaceOnTheFocusedButtonCalculate) {
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space}) {
        type_worked_example();
        field("R1")->setText(QStringLiteral("před"));
        calculate_button()->setFocus();
        QTest::keyClick(calculate_button(), key);
        QCoreApplication::processEvents();
        EXPECT_EQ(text("R1"), "6,865") << "key " << key;
    }
}

// No button is a default button, nor auto-default: an auto-default button leaves a one-pixel ring
// of the page's colour inside its area for the default frame. Its bevel starts at the very edge.
TEST_F(Window, CalculateButtonIsDrawnOverItsWholeArea) {
    QPushButton* button = calculate_button();
    EXPECT_FALSE(button->autoDefault());
    EXPECT_FALSE(button->isDefault());
    const QImage image = button->grab().toImage();
    const QColor page_colour = kinematika()->palette().color(QPalette::Button);
    const QPoint corners[] = {
        {0, 0}, {image.width() - 1, 0}, {0, image.height() - 1}, {image.width() - 1, image.height() - 1}};
    for (const QPoint corner : corners) {
        EXPECT_NE(image.pixelColor(corner), page_colour) << corner.x() << ", " << corner.y();
    }
}

// Under the build-up and reaction boxes of both braking pages the two notes read as two texts: the
// reaction note starts as far after the end of the build-up note on "Kinematika (+ meze)" as on
// "Kinematika".
TEST_F(Window, PhaseNotesStandAsFarApartOnBothBrakingPages) {
    const auto gap = [this](std::string_view key) {
        QLabel* build_up = nullptr;
        QLabel* reaction = nullptr;
        form.page(key)->calculate_button();  // builds the page
        for (QLabel* label : form.page(key)->findChildren<QLabel*>()) {
            if (label->text() == QStringLiteral("Doba náběhu brzdného účinku")) build_up = label;
            if (label->text().trimmed() == QStringLiteral("Reakční doba řidiče")) reaction = label;
        }
        if (!build_up || !reaction) {
            ADD_FAILURE() << "no phase notes on " << key;
            return 0;
        }
        EXPECT_EQ(build_up->y(), reaction->y()) << key;
        return reaction->x() - build_up->geometry().right();
    };
    EXPECT_EQ(gap("kinematika-meze"), gap("kinematika"));
}

// The icons of the event timeline take their 32 x 32 page pixels at the screen's pixel ratio (run a
// second time at a scale of 2).
TEST_F(Window, PicturesTakeTheirPlaceAtTheScreensPixelRatio) {
    const qreal ratio = qApp->devicePixelRatio();
    int pictures = 0;
    for (QLabel* label : kinematika()->findChildren<QLabel*>()) {
        if (label->pixmap().isNull()) continue;
        ++pictures;
        EXPECT_EQ(label->size(), QSize(32, 32)) << label->objectName().toStdString();
        EXPECT_EQ(label->pixmap().devicePixelRatio(), ratio) << label->objectName().toStdString();
        EXPECT_EQ(label->pixmap().size(), QSize(32, 32) * ratio) << label->objectName().toStdString();
    }
    EXPECT_EQ(pictures, 5);
}

// Qt's own texts are Czech whatever the locale (the tests run in the C locale).
TEST_F(Window, TheFieldsContextMenuIsCzech) {
    std::unique_ptr<QMenu> menu(field("I2")->createStandardContextMenu());
    QStringList texts;
    for (const QAction* action : menu->actions()) {
        if (!action->isSeparator()) texts << action->text().remove(u'&').section(u'\t', 0, 0);
    }
    EXPECT_EQ(texts.join(u'|').toStdString(), "Zpět|Znovu|Vyjmout|Kopírovat|Vložit|Smazat|Vybrat vše");
}

// The layout holds only in its face or one with the same metrics; any other face gets a note for
// standard error that names the package to install. The suite's machine has Liberation Sans.
TEST(LayoutFont, ANoteOnlyWhenTheFontSystemGivesAFaceWithOtherMetrics) {
    using vorlanex::app::layout_font_note;
    for (const char* holds : {"Liberation Sans", "MS Sans Serif", "Arial", "liberation sans"}) {
        EXPECT_EQ(layout_font_note(QString::fromLatin1(holds)), QString()) << holds;
    }
    for (const char* other : {"DejaVu Sans", "Noto Sans", "Liberation Serif", ""}) {
        const QString note = layout_font_note(QString::fromLatin1(other));
        EXPECT_TRUE(note.contains(QStringLiteral("fonts-liberation2"))) << other << ": " << note.toStdString();
        EXPECT_TRUE(note.contains(QStringLiteral("\"%1\"").arg(QString::fromLatin1(other)))) << note.toStdString();
    }
    EXPECT_EQ(layout_font_note(), QString()) << "the font system gives another face here";
}

TEST_F(Window, EnterInAnInputFieldStartsNoCalculation) {
    type_worked_example();
    field("I8")->setFocus();
    auto seen = close_next_box_with(Qt::Key_Escape);
    QTest::keyClick(field("I8"), Qt::Key_Return);
    QTest::keyClick(field("I8"), Qt::Key_Enter);
    QCoreApplication::processEvents();
    EXPECT_FALSE(seen->appeared);
    EXPECT_EQ(text("R1"), "");
    EXPECT_EQ(text("R18"), "");
}

struct WarningClose {
    const char* name;
    Qt::Key key;
};

std::ostream& operator<<(std::ostream& out, const WarningClose& c) { return out << c.name; }

class WindowWarningBox : public Window, public ::testing::WithParamInterface<WarningClose> {};

TEST_P(WindowWarningBox, ShowsTheMessageAndTheCalculationGoesOnWhenClosed) {
    type_worked_example();
    field("I6")->setText(QStringLiteral("0"));
    auto seen = close_next_box_with(GetParam().key);
    calculate_button()->click();
    QCoreApplication::processEvents();

    ASSERT_TRUE(seen->appeared);
    EXPECT_EQ(seen->object_name, QStringLiteral("warning_box"));
    EXPECT_EQ(seen->title, QStringLiteral("vorlanex"));
    EXPECT_TRUE(seen->application_modal);
    EXPECT_TRUE(seen->centred);
    EXPECT_FALSE(seen->shows_picture);
    EXPECT_EQ(seen->buttons, QStringList{QStringLiteral("OK")});
    EXPECT_TRUE(seen->first_button_default);
    EXPECT_EQ(seen->text.toStdString(), "Pozor, hodnota součinitele adheze musí být > 0 !\nVýpočet nelze provést !");
    EXPECT_TRUE(seen->closed_by_key) << GetParam().name << " did not close the box";
    // The substitute 0.8 was used; the field keeps what was typed.
    expect_worked_example_results();
    EXPECT_EQ(text("I6"), "0");
}

INSTANTIATE_TEST_SUITE_P(ClosedBy, WindowWarningBox,
                         ::testing::Values(WarningClose{"Return", Qt::Key_Return}, WarningClose{"Enter", Qt::Key_Enter},
                                           WarningClose{"Escape", Qt::Key_Escape}),
                         [](const ::testing::TestParamInfo<WarningClose>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(Window, ConversionFaultShowsTheErrorBoxAndChangesNoResult) {
    type_worked_example();
    EXPECT_TRUE(calculate_without_box());
    field("I1")->setText(QStringLiteral("abc"));
    field("I5")->setText(QStringLiteral("10"));

    auto seen = close_next_box_with(Qt::Key_Return);
    calculate_button()->click();
    QCoreApplication::processEvents();

    ASSERT_TRUE(seen->appeared);
    EXPECT_EQ(seen->object_name, QStringLiteral("error_box"));
    EXPECT_EQ(seen->class_name, QStringLiteral("QMessageBox"));
    EXPECT_EQ(seen->icon, QMessageBox::Critical);
    EXPECT_EQ(seen->buttons, QStringList{QStringLiteral("OK")});
    EXPECT_EQ(seen->title, QStringLiteral("vorlanex"));
    EXPECT_EQ(seen->text.toStdString(), "'abc' is not a valid floating point value.");
    EXPECT_TRUE(seen->closed_by_key);
    expect_worked_example_results();

    // The window stays usable: the next press calculates afresh.
    field("I1")->setText(QStringLiteral("20"));
    field("I5")->setText(QStringLiteral("20"));
    field("R1")->clear();
    EXPECT_TRUE(calculate_without_box());
    expect_worked_example_results();
}

// Pastes `text` into the field as the user's Ctrl+V would.
void paste_into(QLineEdit* field, const QString& text) {
    QApplication::clipboard()->setText(text);
    field->clear();
    field->paste();
}

TEST_F(Window, APastedTextOfAnyLengthIsReadWholeAsTheCommandReadsIt) {
    type_worked_example();
    // 20 after 99,998 zeros: a field cut at 32,767 characters would read 0.
    paste_into(field("I1"), QString(99998, u'0') + QStringLiteral("20"));
    EXPECT_EQ(field("I1")->text().size(), 100000);
    EXPECT_TRUE(calculate_without_box());
    expect_worked_example_results();
}

TEST_F(Window, ErrorBoxOfALongPasteShowsItsBeginningAndEndOnTheScreen) {
    type_worked_example();
    // One word wider than the screen, a text taller than the screen once broken into lines, and a
    // million characters (whose box once took half a minute to appear).
    for (const qsizetype length : {150, 100000, 1000000}) {
        paste_into(field("I1"), QString(length, u'x'));
        auto seen = close_next_box_with(Qt::Key_Return);
        calculate_button()->click();
        QCoreApplication::processEvents();

        ASSERT_TRUE(seen->appeared) << length;
        EXPECT_EQ(seen->object_name, QStringLiteral("error_box"));
        EXPECT_TRUE(seen->on_screen) << length;
        EXPECT_TRUE(seen->ok_on_screen) << length;
        EXPECT_TRUE(seen->closed_by_key) << length;
        // Broken into lines, it keeps the quoted text's beginning and the message's end.
        const QString unbroken = QString(seen->text).remove(u'\n');
        EXPECT_TRUE(unbroken.startsWith(QStringLiteral("'xxxxxxxxxx"))) << seen->text.left(40).toStdString();
        EXPECT_TRUE(unbroken.endsWith(QStringLiteral("xxx' is not a valid floating point value.")))
            << seen->text.right(60).toStdString();
        EXPECT_EQ(seen->text.contains(QStringLiteral("\n…\n")), length >= 100000);
        EXPECT_LT(seen->text.size(), 10000);
        // Lines no wider than the box's message, the first ones the message's beginning and the
        // last ones its end.
        EXPECT_TRUE(seen->lines_fit) << length;
        const QString message =
            QLatin1Char('\'') + QString(length, u'x') + QStringLiteral("' is not a valid floating point value.");
        const QStringList parts = seen->text.split(QStringLiteral("\n…\n"));
        EXPECT_TRUE(message.startsWith(QString(parts.first()).remove(u'\n'))) << length;
        EXPECT_TRUE(message.endsWith(QString(parts.last()).remove(u'\n'))) << length;
    }
}

TEST_F(Window, ErrorBoxShowsTheTypedTextLiterallyNotAsMarkup) {
    field("I1")->setText(QStringLiteral(" <b>20</b> &amp;"));
    auto seen = close_next_box_with(Qt::Key_Return);
    calculate_button()->click();
    QCoreApplication::processEvents();
    ASSERT_TRUE(seen->appeared);
    EXPECT_TRUE(seen->plain_text);
    EXPECT_EQ(seen->text.toStdString(), "' <b>20</b> &amp;' is not a valid floating point value.");
}

TEST_F(Window, ArithmeticFaultLeavesTheResultsAfterItAsTheyWere) {
    type_worked_example();
    EXPECT_TRUE(calculate_without_box());
    field("I2")->setText(QStringLiteral("0"));
    field("I4")->setText(QStringLiteral("-30"));

    // The EES warning, then the error box.
    const SeenBoxes boxes = close_next_boxes_with(Qt::Key_Return, 2);
    calculate_button()->click();
    QCoreApplication::processEvents();

    ASSERT_EQ(boxes->size(), 2U);
    EXPECT_EQ(boxes->at(0).object_name, QStringLiteral("warning_box"));
    EXPECT_EQ(boxes->at(0).text.toStdString(), "Pozor, hodnota EES je záporná !\nVozidlo bylo při střetu zrychleno !");
    EXPECT_EQ(boxes->at(1).object_name, QStringLiteral("error_box"));
    EXPECT_EQ(boxes->at(1).text.toStdString(), "Invalid floating point operation.");
    EXPECT_EQ(text("R1"), "6,865");
    EXPECT_EQ(text("R2"), "20");
    EXPECT_EQ(text("R3"), "0");
    EXPECT_EQ(text("R4"), "45,26");  // from the run before
    EXPECT_EQ(text("R18"), "71,482");
}

TEST_F(Window, TextTypedIntoAResultFieldIsNeverRead) {
    type_worked_example();
    QTest::mouseClick(field("R1"), Qt::LeftButton);
    QTest::keyClicks(field("R1"), QStringLiteral("xyz"));
    ASSERT_EQ(text("R1"), "xyz");
    field("R7")->setText(QStringLiteral("abc"));
    EXPECT_TRUE(calculate_without_box());
    expect_worked_example_results();
}

TEST_F(Window, SwitchingPagesKeepsEveryText) {
    field("I2")->setText(QStringLiteral("12,5"));
    field("R5")->setText(QStringLiteral("ručně"));
    QTabWidget* tree = form.page_tree();
    auto* ees = tree->widget(4)->findChild<QTabWidget*>(QString(), Qt::FindDirectChildrenOnly);
    ASSERT_TRUE(ees);
    for (int i = 1; i < tree->count(); ++i) tree->setCurrentIndex(i);
    ees->setCurrentIndex(0);
    tree->setCurrentIndex(0);
    EXPECT_EQ(text("I1"), "0");
    EXPECT_EQ(text("I2"), "12,5");
    EXPECT_EQ(text("I3"), "0,8");
    EXPECT_EQ(text("R5"), "ručně");
    EXPECT_EQ(ees->currentIndex(), 0);
}

struct HelpCase {
    const char* name;
    int left;
    int top;
    const char* first_line;
    int lines;
};

std::ostream& operator<<(std::ostream& out, const HelpCase& c) { return out << c.name; }

class WindowHelpButton : public Window, public ::testing::WithParamInterface<HelpCase> {};

TEST_P(WindowHelpButton, ShowsItsTextInTheWarningBoxAndNothingElse) {
    const HelpCase& help = GetParam();
    QPushButton* button = help_button_at(help.left, help.top);
    ASSERT_TRUE(button);
    EXPECT_EQ(button->size(), QSize(17, 17));
    EXPECT_EQ(button->focusPolicy(), Qt::NoFocus);
    auto seen = close_next_box_with(Qt::Key_Return);
    button->click();
    QCoreApplication::processEvents();
    ASSERT_TRUE(seen->appeared);
    EXPECT_EQ(seen->object_name, QStringLiteral("warning_box"));
    EXPECT_EQ(seen->title, QStringLiteral("vorlanex"));
    const QStringList lines = seen->text.split(u'\n');
    EXPECT_EQ(lines.first().toStdString(), help.first_line);
    EXPECT_EQ(lines.size(), help.lines) << seen->text.toStdString();
    EXPECT_FALSE(seen->text.contains(u'\r'));
    EXPECT_TRUE(seen->plain_text);
    EXPECT_LE(seen->text_width, seen->screen_width / 2) << "the text is wrapped at half the screen width";
    for (const char* id : kInputIds)
        EXPECT_EQ(text(id), id == std::string("I1") ? "0" : id == std::string("I3") ? "0,8" : "");
    EXPECT_EQ(text("R1"), "");
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Kinematika, WindowHelpButton,
    ::testing::Values(HelpCase{"adhesion_table", 88, 152, "Součinitele adheze na různých druzích povrchu", 22},
                      HelpCase{"ees_note", 296, 106,
                               "Zadávaná hodnota EES reprezentuje ekvivalent energie, který způsobil zpomalení vozidla ve "
                               "směru jeho pohybu",
                               2}),
    [](const ::testing::TestParamInfo<HelpCase>& info) { return std::string(info.param.name); });
// clang-format on

TEST_F(Window, AdhesionTableLinesAreExact) {
    auto seen = close_next_box_with(Qt::Key_Return);
    help_button_at(88, 152)->click();
    QCoreApplication::processEvents();
    const QStringList lines = seen->text.split(u'\n');
    ASSERT_EQ(lines.size(), 22);
    EXPECT_EQ(lines[1].toStdString(), "(zdroj - Lomberk: Soudní inženýrství)");
    EXPECT_EQ(lines[2].toStdString(), "");
    EXPECT_EQ(lines[3].toStdString(), "beton suchý     0,8 - 1,0");
    EXPECT_EQ(lines[4].toStdString(), "           mokrý    0,5 - 0,8");
    EXPECT_EQ(lines[18].toStdString(), "náledí    0 °C    0,05 - 0,10");
    EXPECT_EQ(lines[21].toStdString(), "(zdroj - Vestanic: Teória pohybu a rázu 0,1 - 0,3)");
    for (int line : {5, 7, 9, 11, 14, 16, 20, 21}) {
        EXPECT_TRUE(lines[line - 1].startsWith(QString(11, u' ')) && lines[line - 1][11] != u' ') << "line " << line;
    }
}

TEST_F(Window, GevRangesLinesAreExactAndNoFieldChanges) {
    form.show_page("gev-definice");
    QPushButton* button = help_button_at(352, 184, "gev-definice");
    ASSERT_TRUE(button);
    EXPECT_EQ(button->size(), QSize(25, 17));
    QLineEdit* gev = form.page("gev-definice")->field("R2");
    gev->setText(QStringLiteral("NENÍ STŘET"));
    auto seen = close_next_box_with(Qt::Key_Return);
    button->click();
    QCoreApplication::processEvents();
    ASSERT_TRUE(seen->appeared);
    EXPECT_EQ(seen->object_name, QStringLiteral("warning_box"));
    const QStringList expected{QStringLiteral("GEV < 0,75        ráz se skluzem"),
                               QStringLiteral("GEV  0.9 - 1,2    ráz bez skluzu"), QStringLiteral(" "),
                               QStringLiteral("GEV  0.75 - 0,9   ráz s mírným skluzem")};
    EXPECT_EQ(seen->text.split(u'\n'), expected) << seen->text.toStdString();
    EXPECT_EQ(gev->text(), QStringLiteral("NENÍ STŘET"));
    EXPECT_EQ(form.page("gev-definice")->field("I1")->text(), QString());
}

TEST_F(Window, InformationBoxDescribesTheProgram) {
    QPushButton* button = help_button_at(768, 344);
    ASSERT_TRUE(button);
    EXPECT_EQ(button->size(), QSize(17, 17));
    auto seen = close_next_box_with(Qt::Key_Return);
    button->click();
    QCoreApplication::processEvents();
    ASSERT_TRUE(seen->appeared);
    const QStringList lines = seen->text.split(u'\n');
    const qsizetype purpose =
        lines.indexOf(QStringLiteral("Pomůcka pro analýzu pohybu vozidla v průběhu nehodového děje."));
    ASSERT_GT(purpose, 1) << seen->text.toStdString();
    EXPECT_EQ(lines[purpose - 1], QString());
    EXPECT_EQ(lines[purpose + 1], QStringLiteral("Vorlanex."));
    EXPECT_EQ(lines[purpose + 2], QString());
    // The closing lines agree with the licence: free software under MIT, the expert answers.
    EXPECT_EQ(lines.mid(purpose + 3),
              (QStringList{QStringLiteral("Vorlanex je svobodný software, šířený pod licencí MIT."),
                           QStringLiteral("Za závěry posudku odpovídá znalec, který program použil.")}))
        << seen->text.toStdString();
}

}  // namespace
