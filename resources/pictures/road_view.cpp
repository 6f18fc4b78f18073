#include "road_view.h"

#include <QColor>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <cmath>
#include <numbers>

namespace vorlanex::pictures {
namespace {

// Every drawing works in a 32 x 32 space; coordinates on .5 put 1-pixel lines on whole pixels.
constexpr double kSpace = 32.0;
constexpr double kHorizon = 12.0;  // where the sky meets the land
constexpr double kRoadEnd = 13.0;  // the far end of the road, just below the horizon

constexpr QColor kSkyHigh{0x7c, 0xc0, 0xf4};
constexpr QColor kSkyLow{0xd4, 0xec, 0xff};
constexpr QColor kGrassFar{0x6c, 0xb4, 0x48};
constexpr QColor kGrassNear{0x2e, 0x8a, 0x2a};
constexpr QColor kAsphalt{0x58, 0x58, 0x5c};
constexpr QColor kRoadEdge{0x30, 0x30, 0x30};
constexpr QColor kPaint{0xff, 0xff, 0xff};
constexpr QColor kBoard{0xff, 0xd8, 0x00};
constexpr QColor kInk{0x10, 0x10, 0x10};

// The road at height y: 0 at the bottom edge, 1 at its far end.
double depth(double y) { return (kSpace - y) / (kSpace - kRoadEnd); }
// Its centre swings left, then back right, and it bends right where it ends.
double centre(double y) { return 15.0 - 5.0 * std::sin(depth(y) * 1.5 * std::numbers::pi) + 4.0 * depth(y); }
double half_width(double y) { return 12.0 * (1.0 - 0.88 * depth(y)); }

void draw_land(QPainter& painter) {
    QLinearGradient sky(0.0, 0.0, 0.0, kHorizon);
    sky.setColorAt(0.0, kSkyHigh);
    sky.setColorAt(1.0, kSkyLow);
    painter.fillRect(QRectF(0.0, 0.0, kSpace, kHorizon), sky);
    QLinearGradient grass(0.0, kHorizon, 0.0, kSpace);
    grass.setColorAt(0.0, kGrassFar);
    grass.setColorAt(1.0, kGrassNear);
    painter.fillRect(QRectF(0.0, kHorizon, kSpace, kSpace - kHorizon), grass);
}

void draw_road(QPainter& painter) {
    constexpr int kSteps = 48;
    QPolygonF left;
    QPolygonF right;
    for (int step = 0; step <= kSteps; ++step) {
        const double y = kSpace + 0.5 - (kSpace + 0.5 - kRoadEnd) * step / kSteps;
        left << QPointF(centre(y) - half_width(y), y);
        right.prepend(QPointF(centre(y) + half_width(y), y));
    }
    painter.setPen(QPen(kRoadEdge, 0.8));
    painter.setBrush(kAsphalt);
    painter.drawPolygon(left + right);

    // Dashes of the centre line, shorter and thinner further away.
    for (double y = kSpace; y > kRoadEnd + 2.0; y -= 6.0 * (1.0 - 0.7 * depth(y))) {
        const double length = 3.0 * (1.0 - 0.7 * depth(y));
        painter.setPen(QPen(kPaint, 1.2 - 0.5 * depth(y), Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(QPointF(centre(y), y), QPointF(centre(y - length), y - length));
    }
}

// A yellow board 6 x 5 with a black chevron pointing right, on a post down to the ground; its
// top-left corner at whole (x, y). Drawn pixel by pixel: at this size a smoothed chevron blurs.
void draw_chevron_board(QPainter& painter, int x, int y) {
    constexpr int kWidth = 6;
    constexpr int kHeight = 5;
    painter.fillRect(QRect(x + kWidth / 2, y + kHeight, 1, static_cast<int>(kRoadEnd) + 1 - y - kHeight), kInk);
    painter.fillRect(QRect(x, y, kWidth, kHeight), kBoard);
    // The chevron: two pixels a row, stepping right to the middle row and back.
    for (const int row : {0, 1, 2, 3, 4}) {
        const int step = row <= 2 ? row : 4 - row;
        painter.fillRect(QRect(x + 1 + step, y + row, 2, 1), kInk);
    }
}

}  // namespace

QImage draw_road_view(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(width / kSpace, height / kSpace);
    draw_land(painter);
    draw_road(painter);
    const int end = static_cast<int>(std::lround(centre(kRoadEnd)));
    draw_chevron_board(painter, end - 6, 6);
    draw_chevron_board(painter, end + 1, 6);
    return image;
}

}  // namespace vorlanex::pictures
