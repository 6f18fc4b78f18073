#include "spis/protocol_progress.h"

#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>

#include "spis/protocol_export.h"

namespace vorlanex::spis {

ProtocolProgress::ProtocolProgress(ProtocolExport* protocol, QWidget* parent)
    : QWidget(parent), bar_(new QProgressBar(this)), cancel_(new QPushButton(QStringLiteral("Zrušit"), this)) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(bar_);
    layout->addWidget(cancel_);
    bar_->setAccessibleName(QStringLiteral("Průběh protokolu"));
    bar_->setFixedWidth(200);
    // As wide as its bar and button, however much room the status bar has.
    cancel_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    bar_->setFormat(QStringLiteral("%v z %m"));
    cancel_->setAccessibleName(QStringLiteral("Zrušit protokol"));
    cancel_->setToolTip(QStringLiteral("Zastavit vytváření protokolu"));
    hide();
    connect(protocol, &ProtocolExport::started, this, [this] {
        bar_->setRange(0, 0);  // moving until the first part is printed
        show();
    });
    connect(protocol, &ProtocolExport::progress, this, [this](int done, int total) {
        bar_->setRange(0, total);
        bar_->setValue(done);
    });
    connect(protocol, &ProtocolExport::finished, this, &QWidget::hide);
    connect(cancel_, &QPushButton::clicked, protocol, &ProtocolExport::cancel);
}

int ProtocolProgress::value() const { return bar_->value(); }
int ProtocolProgress::maximum() const { return bar_->maximum(); }

}  // namespace vorlanex::spis
