#include "spis/diagram_panel.h"

#include <QLabel>
#include <QSvgRenderer>
#include <QSvgWidget>
#include <QVBoxLayout>

#include "report/path_time_diagram.h"
#include "spis/qt_text.h"

namespace vorlanex::spis {

DiagramPanel::DiagramPanel(QWidget* parent) : QWidget(parent), drawing_(new QSvgWidget(this)), note_(new QLabel(this)) {
    drawing_->setAccessibleName(QStringLiteral("Diagram dráha–čas"));
    drawing_->setMinimumSize(240, 180);
    note_->setAccessibleName(QStringLiteral("Poznámka k diagramu"));
    note_->setWordWrap(true);
    auto* column = new QVBoxLayout(this);
    column->addWidget(drawing_, 1);
    column->addWidget(note_);
    clear();
}

void DiagramPanel::clear() {
    svg_.clear();
    drawing_->hide();
    note_->setText(QStringLiteral("Žádný výpočet není vybrán."));
}

void DiagramPanel::show_run(const report::RecordedRun& run) {
    const std::optional<report::PathTimeDiagram> diagram = report::path_time_diagram(run);
    if (!diagram || diagram->svg.empty()) {
        svg_.clear();
        drawing_->hide();
        note_->setText(diagram ? qt_text(diagram->not_drawn)
                               : QStringLiteral("Diagram dráha–čas mají jen stránky brzdění."));
        note_->show();
        return;
    }
    svg_ = QByteArray::fromStdString(diagram->svg);
    drawing_->load(svg_);
    drawing_->renderer()->setAspectRatioMode(Qt::KeepAspectRatio);
    drawing_->show();
    note_->hide();
}

}  // namespace vorlanex::spis
