// Every page of the registry in the window, offscreen, held against its own layout table and its
// headless run: fields at their rectangles with their looks, ids and accessible names unique, Tab
// order as the table, defaults following the separator, pictures and "?" buttons in place, and the
// worked example typed and pressed giving every field the text the headless run gives.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QTest>
#include <QTimer>

#include <string>
#include <string_view>

#include "app/qstring.h"
#include "app/calculation_page.h"
#include "app/environment.h"
#include "app/kin.h"
#include "app/look.h"
#include "page/field_map_port.h"
#include "page/press_calculate.h"
#include "registry/page_tree.h"

namespace {

using vorlanex::app::CalculationPage;
using vorlanex::app::Environment;
using vorlanex::app::TForm1;
using vorlanex::numeric::DecimalSeparator;
namespace page = vorlanex::page;

using vorlanex::app::qstring;
QRect qrect(const page::Rect& rect) { return {rect.left, rect.top, rect.width, rect.height}; }

// Closes every modal box that opens while `action` runs, with Enter as the user would.
template <typename Action>
int closing_boxes(Action action) {
    int boxes = 0;
    QTimer closer;
    closer.setInterval(0);
    QObject::connect(&closer, &QTimer::timeout, [&boxes] {
        if (QWidget* box = QApplication::activeModalWidget()) {
            ++boxes;
            QTest::keyClick(box->focusWidget() ? box->focusWidget() : box, Qt::Key_Return);
        }
    });
    closer.start();
    action();
    return boxes;
}

class EveryPage : public ::testing::TestWithParam<const page::PageDefinition*> {
protected:
    void SetUp() override {
        form.show();
        QApplication::setActiveWindow(&form);
        form.show_page(definition().key);
        QApplication::processEvents();
    }
    const page::PageDefinition& definition() const { return *GetParam(); }
    CalculationPage* built() const { return form.page(definition().key); }
    QLineEdit* field(std::string_view id) const { return built()->field(id); }

    Environment environment{DecimalSeparator(","), QStringLiteral("vorlanex")};
    TForm1 form{environment};
};

TEST_P(EveryPage, FieldsStandAtTheirRectanglesWithTheirLooks) {
    ASSERT_TRUE(built()) << "the window has no page " << definition().key;
    const QColor button_face = built()->palette().color(QPalette::Button);
    for (const page::Field& placed : definition().layout.fields) {
        QLineEdit* edit = field(placed.id);
        ASSERT_TRUE(edit) << placed.id;
        SCOPED_TRACE(std::string(placed.id));
        EXPECT_EQ(edit->geometry(), qrect(placed.rect));
        EXPECT_EQ(edit->hasFrame(), placed.look.frame);
        EXPECT_EQ(edit->font().bold(), placed.look.font.bold);
        EXPECT_EQ(edit->font().pixelSize(), placed.look.font.pixel_size);
        const bool red = edit->palette().color(QPalette::Text) == QColor(Qt::red);
        EXPECT_EQ(red, placed.look.colour == page::TextColour::Red);
        EXPECT_FALSE(edit->isReadOnly());
        if (placed.role == page::FieldRole::Input) {
            EXPECT_EQ(edit->palette().color(QPalette::Base), QColor(Qt::white));
            EXPECT_TRUE(edit->focusPolicy() & Qt::TabFocus);
            EXPECT_EQ(edit->text(), qstring(page::default_text(placed, environment.separator)));
        } else {
            EXPECT_EQ(edit->palette().color(QPalette::Base), button_face);
            EXPECT_EQ(edit->focusPolicy(), Qt::ClickFocus);
            EXPECT_EQ(edit->text(), QString());
        }
    }
    EXPECT_EQ(built()->calculate_button()->geometry(), qrect(definition().layout.calculate_button));
}

TEST_P(EveryPage, IdsAndAccessibleNamesAreUniqueAndNamesCarryTheUnit) {
    QSet<QString> ids, names;
    for (const page::Field& placed : definition().layout.fields) {
        const QString name = qstring(placed.accessible_name);
        EXPECT_FALSE(ids.contains(qstring(placed.id))) << "id twice: " << placed.id;
        EXPECT_FALSE(names.contains(name)) << "name twice: " << placed.accessible_name;
        ids.insert(qstring(placed.id));
        names.insert(name);
        EXPECT_TRUE(name.endsWith(u']') && name.contains(u'[')) << "no unit in " << placed.accessible_name;
        EXPECT_EQ(field(placed.id)->accessibleName(), name);
    }
}

TEST_P(EveryPage, TabVisitsTheInputsInTableOrderThenTheButton) {
    QStringList inputs;
    for (const page::Field& placed : definition().layout.fields) {
        if (placed.role == page::FieldRole::Input) inputs << qstring(placed.id);
    }
    ASSERT_FALSE(inputs.isEmpty());
    field(inputs.first().toStdString())->setFocus();
    QStringList visited{QApplication::focusWidget()->objectName()};
    for (qsizetype i = 0; i < inputs.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    EXPECT_EQ(visited, inputs + QStringList{QStringLiteral("calculate")}) << visited.join(u' ').toStdString();
}

TEST_P(EveryPage, DefaultTextsFollowThePointSeparator) {
    const Environment point{DecimalSeparator("."), QStringLiteral("vorlanex")};
    TForm1 window(point);
    for (const page::Field& placed : definition().layout.fields) {
        const QString shown = window.page(definition().key)->field(placed.id)->text();
        EXPECT_EQ(shown, qstring(page::default_text(placed, point.separator))) << placed.id;
        EXPECT_FALSE(shown.contains(u',')) << placed.id;
    }
}

TEST_P(EveryPage, PicturesAndHelpButtonsStandInPlace) {
    for (const page::PicturePlacement& placement : definition().layout.pictures) {
        auto* image = built()->findChild<QLabel*>(qstring(placement.picture));
        ASSERT_TRUE(image) << "no picture " << placement.picture;
        EXPECT_FALSE(image->pixmap().isNull()) << "the picture " << placement.picture << " does not resolve";
        EXPECT_EQ(image->pos(), QPoint(placement.left, placement.top)) << placement.picture;
        EXPECT_EQ(image->size(), image->pixmap().size()) << placement.picture << " is drawn unscaled";
    }
    for (const page::HelpButton& help : definition().layout.help_buttons) {
        bool found = false;
        for (QPushButton* button : built()->findChildren<QPushButton*>()) {
            if (button->geometry() != qrect(help.rect)) continue;
            found = true;
            EXPECT_EQ(button->text(), QStringLiteral("?"));
            EXPECT_EQ(button->focusPolicy(), Qt::NoFocus);
            EXPECT_EQ(button->accessibleName(), qstring(help.accessible_name));
        }
        EXPECT_TRUE(found) << "no \"?\" button at " << help.rect.left << ", " << help.rect.top;
    }
}

// The page is built when it is first shown: every widget made then is shown with it, and every
// text stands at the size the label itself asks for.
TEST_P(EveryPage, EveryWidgetIsShownAndEveryTextHasTheSizeItsLabelAsks) {
    const QList<QWidget*> widgets = built()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    ASSERT_FALSE(widgets.isEmpty());
    for (const QWidget* widget : widgets) {
        EXPECT_TRUE(widget->isVisible()) << widget->metaObject()->className() << " " << widget->objectName().toStdString();
    }
    for (const QLabel* label : built()->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
        if (label->text().isEmpty()) continue;  // a picture
        SCOPED_TRACE(label->text().toStdString());
        if (label->alignment() & Qt::AlignHCenter) {
            EXPECT_EQ(label->height(), label->sizeHint().height());  // centred in the layout's width
        } else {
            EXPECT_EQ(label->size(), label->sizeHint());
        }
    }
}

TEST_P(EveryPage, WorkedExampleGivesEveryFieldTheTextOfTheHeadlessRun) {
    ASSERT_FALSE(definition().worked_example.empty()) << "the page declares no worked example";
    page::FieldMapPort headless(definition(), environment.separator);
    for (const page::FieldText& typed : definition().worked_example) {
        headless.preset(typed.id, typed.text);
        field(typed.id)->setText(qstring(typed.text));
    }
    int warnings = 0;
    page::FieldMapPort counted(definition(), environment.separator, {[&warnings](std::string_view) { ++warnings; }, {}});
    for (const page::FieldText& typed : definition().worked_example) counted.preset(typed.id, typed.text);
    EXPECT_EQ(page::press_calculate(definition(), counted), std::nullopt) << "the worked example completes";
    ASSERT_EQ(page::press_calculate(definition(), headless), std::nullopt);

    const int boxes = closing_boxes([&] { QTest::mouseClick(built()->calculate_button(), Qt::LeftButton); });
    EXPECT_EQ(boxes, warnings);
    for (const page::Field& placed : definition().layout.fields) {
        EXPECT_EQ(field(placed.id)->text().toStdString(), headless.text(placed.id)) << placed.id;
    }
}

std::string page_name(const ::testing::TestParamInfo<const page::PageDefinition*>& info) {
    std::string name(info.param->key);
    for (char& c : name) {
        if (c == '-') c = '_';
    }
    return name;
}

INSTANTIATE_TEST_SUITE_P(Registry, EveryPage, ::testing::ValuesIn(vorlanex::registry::calculation_pages()), page_name);

}  // namespace
