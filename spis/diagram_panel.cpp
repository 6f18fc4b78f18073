#include "spis/diagram_panel.h"

#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QSvgRenderer>
#include <QThreadPool>
#include <QVBoxLayout>
#include <functional>

#include "qtshared/qt_text.h"
#include "report/path_time_diagram.h"
#include "spis/open_case.h"

namespace vorlanex::spis {

// The picture of an SVG, drawn on a thread of its own at the widget's size in device pixels. One
// drawing at a time: a newer SVG or size asked for meanwhile is drawn when it ends.
class DiagramPicture final : public QWidget {
public:
    explicit DiagramPicture(std::function<void()> drawn, QWidget* parent) : QWidget(parent), drawn_(std::move(drawn)) {
        painter_.setMaxThreadCount(1);
    }
    ~DiagramPicture() override { painter_.waitForDone(); }  // no drawing outlives the widget

    void set_svg(const QByteArray& svg) {
        svg_ = svg;
        ++generation_;
        if (svg_.isEmpty()) {  // nothing of another calculation is shown later
            picture_ = {};
            shown_ = {};
        }
        draw_when_needed();
    }
    bool drawn() const { return svg_.isEmpty() || !isVisible() || shown_ == wanted(); }

protected:
    void paintEvent(QPaintEvent*) override {
        if (picture_.isNull()) return;
        QPainter painter(this);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        // Between a resize and its new picture, the last one scaled to fit.
        const QSizeF size = picture_.deviceIndependentSize();
        const QSizeF fitted = size.scaled(QSizeF(this->size()), Qt::KeepAspectRatio);
        painter.drawImage(QRectF(QPointF((width() - fitted.width()) / 2, (height() - fitted.height()) / 2), fitted),
                          picture_);
    }
    void resizeEvent(QResizeEvent*) override { draw_when_needed(); }
    void showEvent(QShowEvent*) override { draw_when_needed(); }

private:
    struct Key {
        quint64 generation = 0;
        QSize pixels;
        qreal ratio = 1;
        bool operator==(const Key&) const = default;
    };

    Key wanted() const {
        const qreal ratio = devicePixelRatioF();
        return {generation_, (QSizeF(size()) * ratio).toSize(), ratio};
    }

    void draw_when_needed() {
        if (svg_.isEmpty() || !isVisible() || drawing_ || shown_ == wanted()) return;
        const Key key = wanted();
        if (key.pixels.isEmpty()) return;
        drawing_ = true;
        const QPointer<DiagramPicture> self(this);
        painter_.start([self, svg = svg_, key] {
            QImage picture(key.pixels, QImage::Format_ARGB32_Premultiplied);
            picture.setDevicePixelRatio(key.ratio);
            picture.fill(Qt::transparent);
            {
                QSvgRenderer renderer(svg);
                renderer.setAspectRatioMode(Qt::KeepAspectRatio);
                QPainter painter(&picture);
                renderer.render(&painter, QRectF(QPointF(), picture.deviceIndependentSize()));
            }
            // Posted to the widget, which waits for this drawing before it goes.
            QMetaObject::invokeMethod(
                self.data(), [self, picture = std::move(picture), key] { self->take(picture, key); },
                Qt::QueuedConnection);
        });
    }

    void take(const QImage& picture, const Key& key) {
        drawing_ = false;
        if (key.generation == generation_) {  // a picture of an older SVG is never shown
            picture_ = picture;
            shown_ = key;
            update();
        }
        if (shown_ == wanted()) {
            drawn_();
        } else {
            draw_when_needed();
        }
    }

    std::function<void()> drawn_;
    QByteArray svg_;
    quint64 generation_ = 0;
    bool drawing_ = false;
    QImage picture_;
    Key shown_;
    QThreadPool painter_;
};

DiagramPanel::DiagramPanel(const OpenCase& open_case, QWidget* parent)
    : QWidget(parent), drawing_(new DiagramPicture([this] { emit picture_drawn(); }, this)), note_(new QLabel(this)) {
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
    auto* column = new QVBoxLayout(this);
    column->addWidget(drawing_, 1);
    column->addWidget(note_);
    clear();
}

bool DiagramPanel::drawn() const { return drawing_->drawn(); }

void DiagramPanel::clear() {
    svg_.clear();
    drawing_->set_svg(svg_);
    drawing_->hide();
    note_->setText(QStringLiteral("Žádný výpočet není vybrán."));
}

void DiagramPanel::show_run(const casefile::RecordedRun& run) {
    const std::optional<report::PathTimeDiagram> diagram = report::path_time_diagram(run);
    if (!diagram || diagram->svg.empty()) {
        svg_.clear();
        drawing_->set_svg(svg_);
        drawing_->hide();
        note_->setText(diagram ? qtshared::qt_text(diagram->not_drawn)
                               : QStringLiteral("Diagram dráha–čas mají jen stránky brzdění."));
        note_->show();
        return;
    }
    svg_ = QByteArray::fromStdString(diagram->svg);
    drawing_->set_svg(svg_);
    drawing_->show();
    note_->hide();
}

}  // namespace vorlanex::spis
