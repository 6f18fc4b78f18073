#include "spis/diagram_panel.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>

#include "qtshared/qt_text.h"
#include "report/path_time_diagram.h"
#include "spis/diagram_export.h"
#include "spis/diagram_picture.h"
#include "spis/open_case.h"

namespace vorlanex::spis {

namespace {

// A button that does what an action does, enabled with it.
QPushButton* button_of(QAction* action, QWidget* parent) {
    auto* button = new QPushButton(action->text(), parent);
    button->setAccessibleName(QString(action->text()).remove(QStringLiteral("…")));
    button->setEnabled(action->isEnabled());
    QObject::connect(button, &QPushButton::clicked, action, &QAction::trigger);
    QObject::connect(action, &QAction::changed, button, [button, action] { button->setEnabled(action->isEnabled()); });
    return button;
}

}  // namespace

DiagramPanel::DiagramPanel(const OpenCase& open_case, QWidget* parent)
    : QWidget(parent),
      drawing_(new DiagramPicture([this] { emit picture_drawn(); }, this)),
      note_(new QLabel(this)),
      enlarge_(new QAction(QStringLiteral("Zvětšit…"), this)),
      save_(new QAction(QStringLiteral("Uložit obrázek…"), this)) {
    open_case.observe_selected(this, [this, &open_case] {
        if (const casefile::RecordedRun* run = open_case.selected_run()) {
            show_run(*run);
        } else {
            clear();
        }
    });
    drawing_->setAccessibleName(QStringLiteral("Diagram dráha–čas"));
    drawing_->setMinimumSize(240, 180);
    note_->setAccessibleName(QStringLiteral("Poznámka k diagramu"));
    note_->setWordWrap(true);
    enlarge_->setToolTip(QStringLiteral("Diagram v samostatném okně, popisky velké jako text okna"));
    save_->setToolTip(QStringLiteral("Uložit diagram jako obrázek SVG nebo PNG"));
    connect(enlarge_, &QAction::triggered, this, &DiagramPanel::enlarge);
    connect(save_, &QAction::triggered, this, &DiagramPanel::choose_and_save);
    drawing_->addAction(enlarge_);
    drawing_->addAction(save_);
    drawing_->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(button_of(enlarge_, this));
    buttons->addWidget(button_of(save_, this));
    buttons->addStretch();
    auto* column = new QVBoxLayout(this);
    column->addWidget(drawing_, 1);
    column->addWidget(note_);
    column->addLayout(buttons);
    clear();
}

void DiagramPanel::show_svg(const QByteArray& svg) {
    svg_ = svg;
    drawing_->set_svg(svg_);
    drawing_->setVisible(!svg_.isEmpty());
    enlarge_->setEnabled(!svg_.isEmpty());
    save_->setEnabled(!svg_.isEmpty());
    if (enlarged_picture_) enlarged_picture_->set_svg(svg_);
}

QWidget* DiagramPanel::enlarge() {
    if (svg_.isEmpty()) return nullptr;
    if (!enlarged_) {
        enlarged_ = new QWidget(this, Qt::Window);
        enlarged_->setAttribute(Qt::WA_DeleteOnClose);
        enlarged_->setWindowTitle(QStringLiteral("Diagram dráha–čas – Vorlanex Spis"));
        enlarged_picture_ = new DiagramPicture([] {}, enlarged_);
        enlarged_picture_->setAccessibleName(QStringLiteral("Diagram dráha–čas, zvětšený"));
        enlarged_picture_->addAction(save_);
        enlarged_picture_->setContextMenuPolicy(Qt::ActionsContextMenu);
        auto* scroll = new QScrollArea(enlarged_);
        scroll->setWidget(enlarged_picture_);
        scroll->setWidgetResizable(true);
        auto* column = new QVBoxLayout(enlarged_);
        column->setContentsMargins(0, 0, 0, 0);
        column->addWidget(scroll);
    }
    // Never smaller than with its labels as large as the window's text; as large as the screen allows.
    const QSize labelled = labelled_size(svg_, font());
    enlarged_picture_->setMinimumSize(labelled);
    enlarged_picture_->set_svg(svg_);
    const int frame_width = 2 * enlarged_->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 2;
    const QSize frame(frame_width, frame_width);
    enlarged_->resize((labelled + frame).boundedTo(screen()->availableGeometry().size()));
    enlarged_->show();
    enlarged_->raise();
    enlarged_->activateWindow();
    return enlarged_;
}

std::optional<QString> DiagramPanel::save_picture(const QString& path) const {
    return save_diagram(svg_, path, labelled_size(svg_, font()));
}

void DiagramPanel::choose_and_save() {
    if (svg_.isEmpty()) return;
    const QString svg_filter = QStringLiteral("Obrázek SVG (*.svg)");
    const QString png_filter = QStringLiteral("Obrázek PNG (*.png)");
    QString chosen_filter = svg_filter;
    QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Uložit obrázek diagramu"),
                                                QStringLiteral("diagram-draha-cas.svg"),
                                                svg_filter + QStringLiteral(";;") + png_filter, &chosen_filter);
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty()) {
        path += chosen_filter == png_filter ? QStringLiteral(".png") : QStringLiteral(".svg");
    }
    if (const auto problem = save_picture(path)) QMessageBox::warning(this, QStringLiteral("Vorlanex Spis"), *problem);
}

bool DiagramPanel::drawn() const { return drawing_->drawn(); }

void DiagramPanel::clear() {
    show_svg({});
    note_->setText(QStringLiteral("Žádný výpočet není vybrán."));
}

void DiagramPanel::show_run(const casefile::RecordedRun& run) {
    const std::optional<report::PathTimeDiagram> diagram = report::path_time_diagram(run);
    if (!diagram || diagram->svg.empty()) {
        show_svg({});
        note_->setText(diagram ? qtshared::qt_text(diagram->not_drawn)
                               : QStringLiteral("Diagram dráha–čas mají jen stránky brzdění."));
        note_->show();
        return;
    }
    show_svg(QByteArray::fromStdString(diagram->svg));
    note_->hide();
}

}  // namespace vorlanex::spis
