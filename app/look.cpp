#include "app/look.h"

#include "app/caption_fitting_style.h"
#include "qtshared/czech_qt_texts.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFont>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QStringList>
#include <QStyleFactory>

namespace vorlanex::app {

namespace {

// The face the layout was designed for, and the installed faces with the same metrics: Liberation
// Sans (Debian: fonts-liberation2 or fonts-liberation) and Arial, whose metrics it copies.
const QString kLayoutFace = QStringLiteral("MS Sans Serif");
const QString kMetricFace = QStringLiteral("Liberation Sans");
const QString kMetricTwin = QStringLiteral("Arial");
const QStringList kFacesThatHoldTheLayout{kLayoutFace, kMetricFace, kMetricTwin};

}  // namespace

void apply_window_look() {
    QFont::insertSubstitutions(kLayoutFace, {kMetricFace, kMetricTwin, QStringLiteral("Sans Serif")});
    if (QStyle* style = QStyleFactory::create(QStringLiteral("Windows"))) {
        QApplication::setStyle(new CaptionFittingStyle(style));
    }
    QFont font(kLayoutFace);
    font.setPixelSize(11);
    QApplication::setFont(font);
    // Set explicitly, so that no translation (a right-to-left one included) can mirror the layout.
    QApplication::setLayoutDirection(Qt::LeftToRight);
    // Qt's own texts in Czech; without Qt's translation they stay English and nothing else changes.
    qtshared::load_czech_qt_texts(*QCoreApplication::instance());
}

QString layout_font_note(const QString& given_family) {
    if (kFacesThatHoldTheLayout.contains(given_family, Qt::CaseInsensitive)) return {};
    return QStringLiteral(
               "vorlanex: the window's layout needs the font \"%1\", but the font system gives "
               "\"%2\" instead, in which digits of a number may be cut off; install the Debian "
               "package fonts-liberation2 (or fonts-liberation)")
        .arg(kMetricFace, given_family);
}

QString layout_font_note() { return layout_font_note(QFontInfo(QApplication::font()).family()); }

Qt::LayoutDirection locale_reading_order() { return QLocale::system().textDirection(); }

void apply_reading_order(QWidget* window, Qt::LayoutDirection reading_order) {
    if (reading_order != Qt::RightToLeft) return;
    // A widget's layout direction is the reading order Qt gives its text where Qt takes it from the
    // widget; Qt::AlignAbsolute keeps "left" meaning left, where Qt would otherwise mirror it for a
    // right-to-left widget. Only widgets that show a text are set: the page controls and the pages
    // keep the left-to-right layout, so nothing moves.
    for (QLabel* label : window->findChildren<QLabel*>()) {
        label->setLayoutDirection(Qt::RightToLeft);
        label->setAlignment(label->alignment() | Qt::AlignAbsolute);
    }
    for (QLineEdit* field : window->findChildren<QLineEdit*>()) {
        field->setLayoutDirection(Qt::RightToLeft);
        field->setAlignment(field->alignment() | Qt::AlignAbsolute);
    }
    for (QGroupBox* box : window->findChildren<QGroupBox*>()) {
        box->setLayoutDirection(Qt::RightToLeft);
        box->setAlignment((box->alignment() | Qt::AlignAbsolute).toInt());
    }
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        // The tab bars' scroll buttons are part of the page controls' layout.
        if (qobject_cast<QWidget*>(button->parent()) && button->parent()->inherits("QTabBar")) continue;
        button->setLayoutDirection(Qt::RightToLeft);
    }
}

}  // namespace vorlanex::app
