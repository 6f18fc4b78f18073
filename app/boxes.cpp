#include "app/boxes.h"

#include <QDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
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
    QMessageBox box(QMessageBox::Critical, title, QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())),
                    QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("error_box"));
    box.setWindowModality(Qt::ApplicationModal);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

}  // namespace vorlanex::app
