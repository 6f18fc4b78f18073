#include "app/boxes.h"
#include "qtshared/qt_text.h"

#include <algorithm>

#include <QDialog>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTextLayout>
#include <QVBoxLayout>

namespace vorlanex::app {

namespace {

QString with_line_breaks(std::string_view message) { return qtshared::qt_text(message).replace(u'\r', u'\n'); }

QRect screen_geometry(QWidget* parent) {
    QScreen* screen = parent && parent->screen() ? parent->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1280, 1024);
}

// `paragraph` broken into lines no wider than `width` pixels, at spaces where there are any,
// anywhere else.
QStringList broken_lines(QStringView paragraph, const QFont& font, int width) {
    QTextOption wrapping;
    wrapping.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    QTextLayout layout(paragraph.toString(), font);
    layout.setTextOption(wrapping);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        lines << paragraph.sliced(line.textStart(), line.textLength()).toString();
    }
    layout.endLayout();
    if (paragraph.isEmpty()) lines << QString();
    return lines;
}

// Laying out a long paragraph takes far longer than its length would say (10^6 characters
// without a space took half a minute), so a long paragraph is laid out only as far as the lines the
// box shows: its beginning or its end, this many characters, twice as many as long as they give
// too few lines.
constexpr qsizetype kFirstStretch = 4096;

// The lines of `paragraph` from its beginning: all of them, or at least `count`, each exactly
// where a layout of the whole paragraph breaks it. Lines are laid out one after another, and where
// one ends depends on the text up to the end of the next at most; so of a beginning that breaks
// into two lines more than `count`, the first `count` are the whole paragraph's.
QStringList first_lines(QStringView paragraph, const QFont& font, int width, qsizetype count) {
    for (qsizetype stretch = kFirstStretch; stretch < paragraph.size(); stretch *= 2) {
        QStringList lines = broken_lines(paragraph.first(stretch), font, width);
        if (lines.size() >= count + 2) return lines.first(count);
    }
    return broken_lines(paragraph, font, width);
}

// The last `count` lines of `paragraph` (all of them when it has fewer). Where the whole
// paragraph's last lines would break only its whole layout tells, so those of a long paragraph
// are its last characters broken into lines from a line before them: each as wide as the box,
// ending with the paragraph's end.
QStringList last_lines(QStringView paragraph, const QFont& font, int width, qsizetype count) {
    for (qsizetype stretch = kFirstStretch; stretch < paragraph.size(); stretch *= 2) {
        const QStringList lines = broken_lines(paragraph.last(stretch), font, width);
        if (lines.size() >= count + 1) return lines.last(count);
    }
    const QStringList lines = broken_lines(paragraph, font, width);
    return lines.last(std::min(count, lines.size()));
}

// `text` broken into lines no wider than `width` (a text that fits on one line stays as it is).
// Of more than `max_lines` lines only the first and the last are kept, with a line "…" between
// them, so the end of a fault message stays readable. Only the paragraphs, or the parts of long
// ones, that give the kept lines are laid out.
QString fitted_text(const QString& text, const QFont& font, int width, int max_lines) {
    const QList<QStringView> paragraphs = QStringView(text).split(u'\n');
    QStringList lines;
    for (const QStringView paragraph : paragraphs) {
        if (lines.size() > max_lines) break;
        lines += first_lines(paragraph, font, width, max_lines + 1 - lines.size());
    }
    if (lines.size() == 1) return text;
    if (lines.size() <= max_lines) return lines.join(u'\n');

    const qsizetype kept_at_end = (max_lines - 1) / 2;
    const qsizetype kept_at_start = max_lines - 1 - kept_at_end;
    QStringList end;
    for (auto paragraph = paragraphs.crbegin(); paragraph != paragraphs.crend() && end.size() < kept_at_end;
         ++paragraph) {
        end = last_lines(*paragraph, font, width, kept_at_end - end.size()) + end;
    }
    return (lines.first(kept_at_start) + QStringList{QStringLiteral("…")} + end).join(u'\n');
}

}  // namespace

void show_warning_box(QWidget* parent, const QString& title, std::string_view message) {
    QDialog box(parent);
    box.setObjectName(QStringLiteral("warning_box"));
    box.setWindowTitle(title);
    box.setWindowModality(Qt::ApplicationModal);
    box.setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);

    auto* text = new QLabel(with_line_breaks(message), &box);
    text->setObjectName(QStringLiteral("message"));
    text->setTextFormat(Qt::PlainText);
    text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    const int wrap_width = screen_geometry(parent).width() / 2;
    if (text->sizeHint().width() > wrap_width) {
        text->setWordWrap(true);
        text->setFixedWidth(wrap_width);
    }

    auto* ok = new QPushButton(QStringLiteral("OK"), &box);
    ok->setDefault(true);
    ok->setAutoDefault(true);
    QObject::connect(ok, &QPushButton::clicked, &box, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(&box);
    layout->setContentsMargins(16, 14, 16, 10);
    layout->setSpacing(14);
    layout->addWidget(text);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    box.adjustSize();
    const QRect screen = screen_geometry(parent);
    box.move(screen.center() - QPoint(box.width() / 2, box.height() / 2));
    ok->setFocus();
    box.exec();  // Esc rejects the dialog, which closes it as OK does
}

QString error_box_text(std::string_view text, const QFont& font, const QRect& screen) {
    // However long the text (a pasted field is quoted whole), the box and its OK stay on the
    // screen: at most half the screen's height of lines no wider than the message box wraps at.
    const QFontMetrics metrics(font);
    const int width = std::min(screen.width() / 2, 500) - 4 * metrics.averageCharWidth() - 64;
    const int max_lines = std::max(3, screen.height() / 2 / metrics.lineSpacing());
    return fitted_text(qtshared::qt_text(text), font, std::max(width, 10 * metrics.averageCharWidth()), max_lines);
}

void show_error_box(QWidget* parent, const QString& title, std::string_view text) {
    QMessageBox box(QMessageBox::Critical, title, QString(), QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("error_box"));
    box.setWindowModality(Qt::ApplicationModal);
    box.setTextFormat(Qt::PlainText);
    box.setText(error_box_text(text, box.font(), screen_geometry(parent)));
    box.exec();
}

}  // namespace vorlanex::app
