// The window on a right-to-left locale (the test runs with LC_ALL=he_IL.UTF-8): its text widgets
// take the right-to-left reading order, but nothing is mirrored: every widget stands where the layout
// puts it, with its alignment, and no translation turns the layout. Offscreen.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTranslator>

#include <string>

#include "app/calculation_page.h"
#include "app/environment.h"
#include "app/kin.h"
#include "app/look.h"
#include "registry/page_tree.h"

namespace {

using vorlanex::app::Environment;
using vorlanex::app::TForm1;
using vorlanex::numeric::DecimalSeparator;

// A widget's place in its window, with the path that names it.
std::string path_of(const QWidget* widget, const QWidget* window) {
    std::string path;
    for (const QWidget* w = widget; w && w != window; w = w->parentWidget()) {
        const QString name =
            w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName();
        path = "/" + name.toStdString() + path;
    }
    return path;
}

class RightToLeftLocale : public ::testing::Test {
protected:
    RightToLeftLocale() {
        // The window as the program builds it on this locale, and as on a left-to-right one, with
        // every page built (a page's widgets are made when it is first opened).
        for (TForm1* form : {&right_to_left, &left_to_right}) {
            form->show();
            for (const vorlanex::page::PageDefinition* page : vorlanex::registry::calculation_pages()) {
                form->page(page->key)->build();
            }
        }
    }

    Environment right_to_left_environment{DecimalSeparator(","), QStringLiteral("vorlanex"),
                                          vorlanex::app::locale_reading_order()};
    Environment left_to_right_environment{DecimalSeparator(","), QStringLiteral("vorlanex"), Qt::LeftToRight};
    TForm1 right_to_left{right_to_left_environment};
    TForm1 left_to_right{left_to_right_environment};
};

TEST_F(RightToLeftLocale, IsOneThatReadsRightToLeft) {
    EXPECT_EQ(vorlanex::app::locale_reading_order(), Qt::RightToLeft)
        << "LC_ALL=" << qgetenv("LC_ALL").toStdString() << " gives a left-to-right locale";
}

TEST_F(RightToLeftLocale, NoTranslationMirrorsTheLayout) {
    // A right-to-left translation of Qt's own texts asks Qt to turn the layout; it must not.
    QTranslator hebrew;
    ASSERT_TRUE(hebrew.load(QStringLiteral("qtbase_he"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        << "Qt's Hebrew translation is missing (Debian: qt6-translations-l10n)";
    QApplication::installTranslator(&hebrew);
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::layoutDirection(), Qt::LeftToRight);
    EXPECT_EQ(right_to_left.layoutDirection(), Qt::LeftToRight);
    EXPECT_EQ(right_to_left.page_tree()->layoutDirection(), Qt::LeftToRight);
    QApplication::removeTranslator(&hebrew);
}

TEST_F(RightToLeftLocale, EveryWidgetStandsWhereTheLayoutPutsIt) {
    const QList<QWidget*> turned = right_to_left.findChildren<QWidget*>();
    const QList<QWidget*> plain = left_to_right.findChildren<QWidget*>();
    ASSERT_EQ(turned.size(), plain.size());
    ASSERT_GT(turned.size(), 100);
    for (qsizetype i = 0; i < turned.size(); ++i) {
        const std::string path = path_of(turned[i], &right_to_left);
        ASSERT_EQ(path, path_of(plain[i], &left_to_right));
        EXPECT_EQ(turned[i]->geometry(), plain[i]->geometry()) << path;
    }
    // The tabs run from the left, in their order, in every page control.
    const QList<QTabBar*> tab_bars = right_to_left.findChildren<QTabBar*>();
    const QList<QTabBar*> plain_tab_bars = left_to_right.findChildren<QTabBar*>();
    ASSERT_EQ(tab_bars.size(), 3);
    for (qsizetype bar = 0; bar < tab_bars.size(); ++bar) {
        EXPECT_EQ(tab_bars[bar]->tabRect(0).left(), plain_tab_bars[bar]->tabRect(0).left());
        for (int tab = 0; tab < tab_bars[bar]->count(); ++tab) {
            EXPECT_EQ(tab_bars[bar]->tabRect(tab), plain_tab_bars[bar]->tabRect(tab))
                << "tab bar " << bar << ", tab " << tab;
        }
    }
}

TEST_F(RightToLeftLocale, TextWidgetsTakeTheReadingOrderWithTheirAlignmentUnmirrored) {
    auto left_aligned = [](Qt::LayoutDirection direction, Qt::Alignment alignment) {
        const Qt::Alignment visual = QStyle::visualAlignment(direction, alignment);
        return (visual & (Qt::AlignLeft | Qt::AlignRight | Qt::AlignHCenter)) == Qt::AlignLeft;
    };
    int labels = 0;
    for (const QLabel* label : right_to_left.findChildren<QLabel*>()) {
        if (label->text().isEmpty()) continue;
        ++labels;
        EXPECT_EQ(label->layoutDirection(), Qt::RightToLeft) << label->text().toStdString();
        if (label->alignment() & Qt::AlignHCenter) continue;
        EXPECT_TRUE(left_aligned(label->layoutDirection(), label->alignment())) << label->text().toStdString();
    }
    EXPECT_GT(labels, 50);
    for (const QLineEdit* field : right_to_left.findChildren<QLineEdit*>()) {
        EXPECT_EQ(field->layoutDirection(), Qt::RightToLeft) << field->objectName().toStdString();
        EXPECT_TRUE(left_aligned(field->layoutDirection(), field->alignment())) << field->objectName().toStdString();
    }
    for (const QGroupBox* box : right_to_left.findChildren<QGroupBox*>()) {
        EXPECT_EQ(box->layoutDirection(), Qt::RightToLeft) << box->title().toStdString();
        EXPECT_TRUE(left_aligned(box->layoutDirection(), box->alignment())) << box->title().toStdString();
    }
    // On a left-to-right locale nothing changes.
    for (const QWidget* widget : left_to_right.findChildren<QWidget*>()) {
        EXPECT_EQ(widget->layoutDirection(), Qt::LeftToRight) << path_of(widget, &left_to_right);
    }
}

// As drawn: a number typed into a field still starts at the field's left edge, and a group box's
// caption still stands at the left of its frame.
TEST_F(RightToLeftLocale, FieldTextsAndCaptionsAreDrawnAtTheLeft) {
    auto leftmost_ink = [](QWidget* widget) {
        const QImage image = widget->grab().toImage();
        const QColor background = image.pixelColor(image.width() / 2, 3);  // inside, above any text
        int leftmost = image.width();
        for (int y = 4; y < image.height() - 4; ++y) {
            for (int x = 3; x < image.width() - 3; ++x) {
                if (image.pixelColor(x, y).value() + 96 < background.value()) leftmost = std::min(leftmost, x);
            }
        }
        return leftmost;
    };
    for (const char* id : {"I1", "R2"}) {
        QLineEdit* turned = right_to_left.page("kinematika")->field(id);
        QLineEdit* plain = left_to_right.page("kinematika")->field(id);
        turned->setText(QStringLiteral("20"));
        plain->setText(QStringLiteral("20"));
        EXPECT_LT(leftmost_ink(turned), turned->width() / 2) << id;
        EXPECT_EQ(leftmost_ink(turned), leftmost_ink(plain)) << id;
    }
    const QList<QGroupBox*> boxes = right_to_left.page("kinematika")->findChildren<QGroupBox*>();
    ASSERT_FALSE(boxes.isEmpty());
    for (QGroupBox* box : boxes) EXPECT_LT(leftmost_ink(box), 16) << box->title().toStdString();
}

}  // namespace
