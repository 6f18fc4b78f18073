// Every page of the registry in the window, offscreen, held against its own layout table and its
// headless run: fields at their rectangles with their looks, ids and accessible names unique, Tab
// order as the table, defaults following the separator, pictures and "?" buttons in place, and the
// worked example typed and pressed giving every field the text the headless run gives.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QPushButton>
#include <QSet>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QTest>
#include <QTimer>

#include <string>
#include <string_view>
#include <vector>

#include "app/calculation_page.h"
#include "app/environment.h"
#include "app/kin.h"
#include "app/look.h"
#include "page/field_map_port.h"
#include "page/press_calculate.h"
#include "qtshared/qt_text.h"
#include "registry/page_tree.h"

namespace {

using vorlanex::app::CalculationPage;
using vorlanex::app::Environment;
using vorlanex::app::TForm1;
using vorlanex::numeric::DecimalSeparator;
namespace page = vorlanex::page;

using vorlanex::qtshared::qt_text;
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
            EXPECT_EQ(edit->text(), qt_text(page::default_text(placed, environment.separator)));
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
        const QString name = qt_text(placed.accessible_name);
        EXPECT_FALSE(ids.contains(qt_text(placed.id))) << "id twice: " << placed.id;
        EXPECT_FALSE(names.contains(name)) << "name twice: " << placed.accessible_name;
        ids.insert(qt_text(placed.id));
        names.insert(name);
        EXPECT_TRUE(name.endsWith(u']') && name.contains(u'[')) << "no unit in " << placed.accessible_name;
        EXPECT_EQ(field(placed.id)->accessibleName(), name);
    }
}

TEST_P(EveryPage, TabVisitsTheInputsInTableOrderThenTheButton) {
    QStringList inputs;
    for (const page::Field& placed : definition().layout.fields) {
        if (placed.role == page::FieldRole::Input) inputs << qt_text(placed.id);
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
        EXPECT_EQ(shown, qt_text(page::default_text(placed, point.separator))) << placed.id;
        EXPECT_FALSE(shown.contains(u',')) << placed.id;
    }
}

TEST_P(EveryPage, PicturesAndHelpButtonsStandInPlace) {
    for (const page::PicturePlacement& placement : definition().layout.pictures) {
        auto* image = built()->findChild<QLabel*>(qt_text(placement.picture));
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
            EXPECT_EQ(button->accessibleName(), qt_text(help.accessible_name));
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
        EXPECT_TRUE(widget->isVisible()) << widget->metaObject()->className() << " "
                                         << widget->objectName().toStdString();
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
        field(typed.id)->setText(qt_text(typed.text));
    }
    int warnings = 0;
    page::FieldMapPort counted(definition(), environment.separator,
                               {[&warnings](std::string_view) { ++warnings; }, {}});
    for (const page::FieldText& typed : definition().worked_example) counted.preset(typed.id, typed.text);
    EXPECT_EQ(page::press_calculate(definition(), counted), std::nullopt) << "the worked example completes";
    ASSERT_EQ(page::press_calculate(definition(), headless), std::nullopt);

    const int boxes = closing_boxes([&] { QTest::mouseClick(built()->calculate_button(), Qt::LeftButton); });
    EXPECT_EQ(boxes, warnings);
    for (const page::Field& placed : definition().layout.fields) {
        EXPECT_EQ(field(placed.id)->text().toStdString(), headless.text(placed.id)) << placed.id;
    }
}

// The pixels a label's text inks, in page coordinates: the label drawn alone on a clear image,
// each pixel its glyphs cover by a quarter or more (the faint edge of anti-aliasing is no ink).
std::vector<QPoint> ink_of(QLabel* label) {
    constexpr int kInkAlpha = 64;
    QImage image(label->size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    label->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    std::vector<QPoint> ink;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) >= kInkAlpha) ink.push_back(label->pos() + QPoint(x, y));
        }
    }
    return ink;
}

// A group box's frame and caption rectangles as its style lays them out, in page coordinates.
QRect group_box_part(QGroupBox* box, QStyle::SubControl part) {
    QStyleOptionGroupBox option;
    option.initFrom(box);
    option.text = box->title();
    option.lineWidth = 1;
    option.textAlignment = box->alignment();
    option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    return box->style()->subControlRect(QStyle::CC_GroupBox, &option, part, box).translated(box->pos());
}

// The texts of a page stay apart: no pixel is inked by two texts, no text touches a field's frame
// or inks a group box's frame or caption, and every group box's caption ends before its frame's right edge,
// so the box keeps its top-right corner. (Seen in Liberation Sans, the face the layout is measured in.)
TEST_P(EveryPage, NoTextInksAnotherTextAFieldOrAFrame) {
    const QSize size = built()->size();
    std::vector<int> owner(static_cast<std::size_t>(size.width() * size.height()), -1);
    const auto at = [&](QPoint pixel) -> int& {
        return owner[static_cast<std::size_t>(pixel.y() * size.width() + pixel.x())];
    };
    const auto inside = [&](QPoint pixel) { return QRect(QPoint(), size).contains(pixel); };
    QStringList texts;
    QStringList faults;
    for (QLabel* label : built()->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
        if (label->text().isEmpty()) continue;  // a picture
        const int index = static_cast<int>(texts.size());
        texts << label->text();
        QMap<int, QPoint> overlapped;  // the other text and the first pixel both ink
        for (const QPoint pixel : ink_of(label)) {
            if (!inside(pixel)) continue;
            if (at(pixel) >= 0 && at(pixel) != index && !overlapped.contains(at(pixel)))
                overlapped.insert(at(pixel), pixel);
            at(pixel) = index;
        }
        for (auto other = overlapped.cbegin(); other != overlapped.cend(); ++other) {
            faults << QStringLiteral("\"%1\" inks \"%2\" at %3, %4")
                          .arg(label->text(), texts[other.key()])
                          .arg(other.value().x())
                          .arg(other.value().y());
        }
    }
    const auto inked_texts = [&](const QRegion& region) {
        QSet<int> found;
        for (const QRect& rect : region) {
            for (int y = rect.top(); y <= rect.bottom(); ++y) {
                for (int x = rect.left(); x <= rect.right(); ++x) {
                    if (inside({x, y}) && at({x, y}) >= 0) found.insert(at({x, y}));
                }
            }
        }
        return found;
    };
    for (QLineEdit* edit : built()->findChildren<QLineEdit*>()) {
        if (!edit->hasFrame()) continue;
        // Touching counts: ink on the frame or on the pixels around it.
        for (const int text : inked_texts(QRegion(edit->geometry().adjusted(-1, -1, 1, 1)))) {
            faults << QStringLiteral("\"%1\" touches the frame of %2").arg(texts[text], edit->objectName());
        }
    }
    for (QGroupBox* box : built()->findChildren<QGroupBox*>()) {
        const QRect frame = group_box_part(box, QStyle::SC_GroupBoxFrame);
        const QRect caption = group_box_part(box, QStyle::SC_GroupBoxLabel);
        const QRegion outline = QRegion(frame) - QRegion(frame.adjusted(2, 2, -2, -2));
        for (const int text : inked_texts(outline + QRegion(caption))) {
            faults << QStringLiteral("\"%1\" inks the group box \"%2\"").arg(texts[text], box->title());
        }
        // The caption's gap in the top line ends before the frame's two right lines and the
        // pixel of top line that turns into them.
        if (caption.right() >= frame.right() - 2) {
            faults << QStringLiteral("the caption \"%1\" reaches the right edge of its frame").arg(box->title());
        }
    }
    EXPECT_TRUE(faults.isEmpty()) << faults.join(u'\n').toStdString();
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
