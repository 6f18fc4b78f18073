#include "spis/diagram_picture.h"

#include <QPainter>
#include <QPointer>
#include <QSvgRenderer>

namespace vorlanex::spis {

QImage drawn_svg(const QByteArray& svg, const QSize& size, qreal ratio, const QColor& background) {
    QImage picture((QSizeF(size) * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    picture.setDevicePixelRatio(ratio);
    picture.fill(background);
    QSvgRenderer renderer(svg);
    renderer.setAspectRatioMode(Qt::KeepAspectRatio);
    QPainter painter(&picture);
    renderer.render(&painter, QRectF(QPointF(), picture.deviceIndependentSize()));
    return picture;
}

DiagramPicture::DiagramPicture(std::function<void()> drawn, QWidget* parent)
    : QWidget(parent), drawn_(std::move(drawn)) {
    painter_.setMaxThreadCount(1);
}

DiagramPicture::~DiagramPicture() { painter_.waitForDone(); }

void DiagramPicture::set_svg(const QByteArray& svg) {
    svg_ = svg;
    ++generation_;
    if (svg_.isEmpty()) {  // nothing of another calculation is shown later
        picture_ = {};
        shown_ = {};
    }
    draw_when_needed();
}

void DiagramPicture::paintEvent(QPaintEvent*) {
    if (picture_.isNull()) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    // Between a resize and its new picture, the last one scaled to fit.
    const QSizeF size = picture_.deviceIndependentSize();
    const QSizeF fitted = size.scaled(QSizeF(this->size()), Qt::KeepAspectRatio);
    painter.drawImage(QRectF(QPointF((width() - fitted.width()) / 2, (height() - fitted.height()) / 2), fitted),
                      picture_);
}

DiagramPicture::Key DiagramPicture::wanted() const {
    const qreal ratio = devicePixelRatioF();
    return {generation_, (QSizeF(size()) * ratio).toSize(), ratio};
}

void DiagramPicture::draw_when_needed() {
    if (svg_.isEmpty() || !isVisible() || drawing_ || shown_ == wanted()) return;
    const Key key = wanted();
    if (key.pixels.isEmpty()) return;
    drawing_ = true;
    const QPointer<DiagramPicture> self(this);
    const QSize size = this->size();
    painter_.start([self, svg = svg_, key, size] {
        QImage picture = drawn_svg(svg, size, key.ratio, Qt::transparent);
        // Posted to the widget, which waits for this drawing before it goes.
        QMetaObject::invokeMethod(
            self.data(), [self, picture = std::move(picture), key] { self->take(picture, key); }, Qt::QueuedConnection);
    });
}

void DiagramPicture::take(const QImage& picture, const Key& key) {
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

}  // namespace vorlanex::spis
