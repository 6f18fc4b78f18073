#include "spis/case_icons.h"

#include <QPainterPath>
#include <QPolygonF>

#include "qtshared/icon_painting.h"

namespace vorlanex::spis {

using namespace qtshared::palette;
using qtshared::outline;

// A yellow folder with a white sheet standing out of it, and on the sheet a path-time diagram: the
// axes and the curve of a braking vehicle, which levels off as it stops.
void draw_case_folder(QPainter& painter) {
    painter.setPen(outline(painter, kDarkOrange));
    painter.setBrush(kOrange);
    painter.drawPolygon(QPolygonF({{1.5, 28.5}, {1.5, 5.5}, {11.5, 5.5}, {13.5, 8.5}, {30.5, 8.5}, {30.5, 28.5}}));

    painter.setPen(outline(painter, kGrey));
    painter.setBrush(kWhite);
    painter.drawRect(QRectF(4.5, 2.5, 23.0, 16.0));
    painter.setPen(outline(painter, kInk));
    painter.drawPolyline(QPolygonF({{7.5, 4.0}, {7.5, 12.5}, {25.0, 12.5}}));
    QPainterPath braking;
    braking.moveTo(7.5, 12.5);
    braking.quadTo(14.0, 4.5, 24.0, 5.0);
    painter.setPen(outline(painter, kBlue, 2.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(braking);

    painter.setPen(outline(painter, kDarkOrange));
    painter.setBrush(kYellow);
    painter.drawPolygon(QPolygonF({{1.5, 28.5}, {3.5, 14.5}, {30.5, 14.5}, {30.5, 28.5}}));
}

// A white sheet with its top right corner folded, two lines of text and the calculator's minibus.
void draw_case_file(QPainter& painter) {
    painter.setPen(outline(painter, kDarkGrey));
    painter.setBrush(kWhite);
    painter.drawPolygon(QPolygonF({{5.5, 1.5}, {20.5, 1.5}, {26.5, 7.5}, {26.5, 30.5}, {5.5, 30.5}}));
    painter.setBrush(kSilver);
    painter.drawPolygon(QPolygonF({{20.5, 1.5}, {20.5, 7.5}, {26.5, 7.5}}));
    painter.setPen(Qt::NoPen);
    painter.setBrush(kGrey);
    painter.drawRect(QRectF(8.0, 5.0, 10.0, 2.0));
    painter.drawRect(QRectF(8.0, 9.0, 15.0, 2.0));

    painter.save();
    painter.translate(6.5, 11.0);
    painter.scale(0.62, 0.62);
    qtshared::draw_minibus(painter);
    painter.restore();
}

QIcon case_window_icon() {
    static const QIcon icon = qtshared::window_icon(draw_case_folder);
    return icon;
}

}  // namespace vorlanex::spis
