#include "app/boxes.h"

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

QString with_line_breaks(std::string_view message) {
    return QString::fromUtf8(message.data(), static_cast<qsizetype>(message.size())).replace(u'\r', u'\n');
}

QRect screen_geometry(QWidget* parent) {
    QScreen* screen = parent && parent->screen() ? parent->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1280, 1024);
}

// `text` broken into lines no wider than `width` pixels (at spaces where there are any, anywhere
// else; a text that fits on one line stays as it is). Of more than `max_lines` lines only the first
// and the last are kept, with a line "…" between them, so the end of a fault message stays readable.
QString fitted_text(const QString& text, const QFont& font, int width, int max_lines) {
    QTextOption wrapping;
    wrapping.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    QStringList lines;
    for (const QString& paragraph : text.split(u'\n')) {
        QTextLayout layout(paragraph, font);
        layout.setTextOption(wrapping);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            lines << paragraph.mid(line.textStart(), line.textLength());
        }
        layout.endLayout();
        if (paragraph.isEmpty()) lines << QString();
    }
    if (lines.size() == 1) return text;
    if (lines.size() <= max_lines) return lines.join(u'\n');
    const qsizetype kept_at_end = (max_lines - 1) / 2;
    const qsizetype kept_at_start = max_lines - 1 - kept_at_end;
    return (lines.first(kept_at_start) + QStringList{QStringLiteral("…")} + lines.last(kept_at_end)).join(u'\n');
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

void show_error_box(QWidget* parent, const QString& title, std::string_view text) {
    QMessageBox box(QMessageBox::Critical, title, QString(), QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("error_box"));
    box.setWindowModality(Qt::ApplicationModal);
    box.setTextFormat(Qt::PlainText);
    // However long the text (a pasted field is quoted whole), the box and its OK stay on the
    // screen: at most half the screen's height of lines no wider than the message box wraps at.
    const QRect screen = screen_geometry(parent);
    const QFontMetrics metrics(box.font());
    const int width = std::min(screen.width() / 2, 500) - 4 * metrics.averageCharWidth() - 64;
    const int max_lines = std::max(3, screen.height() / 2 / metrics.lineSpacing());
    box.setText(fitted_text(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())), box.font(),
                            std::max(width, 10 * metrics.averageCharWidth()), max_lines));
    box.exec();
}

}  // namespace vorlanex::app
