#include "qtshared/icon_painting.h"

#include <QDir>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>
#include <QtMath>

#include <algorithm>
#include <cstdio>

namespace vorlanex::qtshared {

using namespace palette;

QImage paint_image(Painting painting, int size, qreal device_pixel_ratio) {
    const int pixels = qCeil(size * device_pixel_ratio);
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    if (painting != nullptr) {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(pixels / kDrawingSpace, pixels / kDrawingSpace);
        painting(painter);
    }
    image.setDevicePixelRatio(pixels / qreal(size));
    return image;
}

QPen outline(const QPainter& painter, const QColor& color, qreal width) {
    const qreal scale = painter.worldTransform().m11();
    QPen pen(color, std::max(width, 1.0 / scale));
    pen.setJoinStyle(Qt::MiterJoin);
    return pen;
}

void draw_minibus(QPainter& painter) {
    QPainterPath body;
    body.moveTo(1.5, 24.5);
    body.lineTo(1.5, 9.5);
    body.quadTo(1.5, 6.5, 4.5, 6.5);
    body.lineTo(24.0, 6.5);
    body.lineTo(30.5, 14.5);
    body.lineTo(30.5, 24.5);
    body.closeSubpath();

    painter.setPen(Qt::NoPen);
    painter.setBrush(kWhite);
    painter.drawPath(body);
    painter.save();
    painter.setClipPath(body);
    painter.fillRect(QRectF(0.0, 16.0, kDrawingSpace, 2.0), kBlue);
    painter.fillRect(QRectF(0.0, 18.0, kDrawingSpace, 2.0), kGreen);
    painter.restore();
    painter.setPen(outline(painter, kInk));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(body);

    painter.setPen(Qt::NoPen);
    painter.setBrush(kGlass);
    for (const qreal x : {4.0, 9.0, 14.0, 19.0}) painter.drawRect(QRectF(x, 9.0, 4.0, 5.0));
    painter.drawPolygon(QPolygonF({{24.0, 9.0}, {25.0, 9.0}, {29.0, 14.0}, {24.0, 14.0}}));
    painter.setBrush(kYellow);
    painter.drawRect(QRectF(29.0, 21.0, 1.0, 2.0));

    for (const qreal x : {8.0, 24.0}) {
        painter.setBrush(kInk);
        painter.drawEllipse(QPointF(x, 24.5), 3.6, 3.6);
        painter.setBrush(kSilver);
        painter.drawEllipse(QPointF(x, 24.5), 1.5, 1.5);
    }
}

QIcon window_icon(Painting painting) {
    QIcon icon;
    for (const int size : kWindowIconSizes) icon.addPixmap(QPixmap::fromImage(paint_image(painting, size)));
    return icon;
}

bool write_theme_icons(const QString& folder, const QString& context, const QString& name, Painting painting) {
    for (const int size : kIconSizes) {
        const QString size_folder = QDir(folder).filePath(QStringLiteral("%1x%1/").arg(size) + context);
        if (!QDir().mkpath(size_folder) ||
            !paint_image(painting, size).save(size_folder + u'/' + name + QStringLiteral(".png"))) {
            std::fprintf(stderr, "could not write the %d px icon into %s\n", size, qPrintable(size_folder));
            return false;
        }
    }
    return true;
}

}  // namespace vorlanex::qtshared
