#include "app/pictures.h"

#include "app/jpeg_image.h"
#include "qtshared/icon_painting.h"
#include "resources/compiled_pictures.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QtMath>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <string>
#include <string_view>
#include <utility>

namespace vorlanex::app {
namespace {

using namespace qtshared::palette;
using qtshared::kDrawingSpace;
using qtshared::outline;
using qtshared::Painting;

QPixmap paint_pixmap(Painting painting, int size = kPictureSize, qreal device_pixel_ratio = 1.0) {
    return QPixmap::fromImage(qtshared::paint_image(painting, size, device_pixel_ratio));
}

// Fills whole pixels of a 5 x 7 letter pattern ('#' = ink) with its top-left corner at x, y.
void draw_letter(QPainter& painter, const std::array<const char*, 7>& rows, int x, int y, const QColor& color) {
    for (int row = 0; row < 7; ++row) {
        for (int column = 0; column < 5; ++column) {
            if (rows[row][column] == '#') painter.fillRect(x + column, y + row, 1, 1, color);
        }
    }
}

// An octagon with flat sides along the edges of the 32 x 32 square, shrunk by `inset`.
QPolygonF octagon(qreal inset) {
    constexpr qreal kCut = 9.0;  // how far the slanted sides cut into the square's corners
    const qreal slant = kCut + inset * (M_SQRT2 - 1.0);
    const qreal low = inset;
    const qreal high = kDrawingSpace - inset;
    return QPolygonF({{slant, low},
                      {kDrawingSpace - slant, low},
                      {high, slant},
                      {high, kDrawingSpace - slant},
                      {kDrawingSpace - slant, high},
                      {slant, high},
                      {low, kDrawingSpace - slant},
                      {low, slant}});
}

void draw_stop_sign(QPainter& painter) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(kDarkRed);
    painter.drawPolygon(octagon(0.0));
    painter.setBrush(kWhite);
    painter.drawPolygon(octagon(1.0));
    painter.setBrush(kRed);
    painter.drawPolygon(octagon(2.0));

    painter.setRenderHint(QPainter::Antialiasing, false);
    static constexpr std::array<const char*, 7> kS{".####", "#....", "#....", ".###.", "....#", "....#", "####."};
    static constexpr std::array<const char*, 7> kT{"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."};
    static constexpr std::array<const char*, 7> kO{".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."};
    static constexpr std::array<const char*, 7> kP{"####.", "#...#", "#...#", "####.", "#....", "#....", "#...."};
    constexpr int kTop = 12;
    draw_letter(painter, kS, 5, kTop, kWhite);
    draw_letter(painter, kT, 11, kTop, kWhite);
    draw_letter(painter, kO, 17, kTop, kWhite);
    draw_letter(painter, kP, 23, kTop, kWhite);
}

// A hatchback seen from the side, facing +x, 14 wide and 12 high, its top-left corner at 0, 0.
void draw_car(QPainter& painter, const QColor& body, const QColor& edge) {
    QPainterPath shell;
    shell.moveTo(0.5, 9.5);
    shell.lineTo(0.5, 5.0);
    shell.lineTo(2.5, 4.5);
    shell.lineTo(4.0, 1.5);
    shell.lineTo(9.0, 1.5);
    shell.lineTo(11.0, 4.5);
    shell.lineTo(13.5, 5.5);
    shell.lineTo(13.5, 9.5);
    shell.closeSubpath();
    painter.setPen(outline(painter, edge));
    painter.setBrush(body);
    painter.drawPath(shell);

    painter.setPen(Qt::NoPen);
    painter.setBrush(kGlass);
    painter.drawPolygon(QPolygonF({{4.6, 2.5}, {6.8, 2.5}, {6.8, 4.5}, {3.6, 4.5}}));
    painter.drawPolygon(QPolygonF({{7.8, 2.5}, {8.5, 2.5}, {9.8, 4.5}, {7.8, 4.5}}));

    for (const qreal x : {3.5, 10.5}) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(kInk);
        painter.drawEllipse(QPointF(x, 9.5), 2.3, 2.3);
        painter.setBrush(kSilver);
        painter.drawEllipse(QPointF(x, 9.5), 0.9, 0.9);
    }
}

// A star with `points` tips between radii `inner` and `outer`.
QPolygonF star(QPointF centre, int points, qreal outer, qreal inner, qreal turn_degrees) {
    QPolygonF polygon;
    for (int i = 0; i < 2 * points; ++i) {
        const qreal angle = qDegreesToRadians(turn_degrees + 180.0 * i / points);
        const qreal radius = i % 2 == 0 ? outer : inner;
        polygon << centre + QPointF(radius * qSin(angle), -radius * qCos(angle));
    }
    return polygon;
}

void draw_collision(QPainter& painter) {
    painter.save();
    painter.translate(2.5, 16.0);
    draw_car(painter, kBlue, kDarkBlue);
    painter.restore();
    painter.save();
    painter.translate(29.5, 16.0);
    painter.scale(-1.0, 1.0);
    draw_car(painter, kRed, kDarkRed);
    painter.restore();

    const QPointF spark(16.0, 14.0);
    painter.setPen(outline(painter, kDarkRed, 0.8));
    painter.setBrush(kOrange);
    painter.drawPolygon(star(spark, 8, 8.0, 3.2, 0.0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(kYellow);
    painter.drawPolygon(star(spark, 8, 4.5, 2.0, 22.5));
}

void draw_skid(QPainter& painter) {
    // The road, seen slightly from above, and the black mark the locked wheel has left on it.
    painter.setPen(Qt::NoPen);
    painter.setBrush(kGrey);
    painter.drawRect(QRectF(0.0, 21.0, 32.0, 10.0));
    painter.setBrush(kWhite);
    for (const qreal x : {1.0, 9.0, 17.0, 25.0}) painter.drawRect(QRectF(x, 29.0, 5.0, 1.0));
    painter.setBrush(kInk);
    painter.drawPolygon(QPolygonF({{0.0, 25.0}, {21.0, 23.0}, {21.0, 27.0}, {0.0, 26.0}}));

    // Speed lines.
    painter.setPen(outline(painter, kGrey));
    painter.drawLine(QPointF(2.0, 8.5), QPointF(8.0, 8.5));
    painter.drawLine(QPointF(0.0, 12.5), QPointF(9.0, 12.5));
    painter.drawLine(QPointF(2.0, 16.5), QPointF(8.0, 16.5));

    // The wheel: tyre with tread blocks, rim, hub and wheel bolts.
    const QPointF hub(21.0, 15.0);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kInk);
    painter.drawEllipse(hub, 10.5, 10.5);
    painter.setPen(outline(painter, kDarkGrey));
    for (int block = 0; block < 16; ++block) {
        const qreal angle = qDegreesToRadians(22.5 * block + 11.25);
        const QPointF direction(qSin(angle), -qCos(angle));
        painter.drawLine(hub + 7.6 * direction, hub + 10.0 * direction);
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(kSilver);
    painter.drawEllipse(hub, 6.0, 6.0);
    painter.setBrush(kGrey);
    painter.drawEllipse(hub, 2.6, 2.6);
    painter.setBrush(kDarkGrey);
    for (int bolt = 0; bolt < 5; ++bolt) {
        const qreal angle = qDegreesToRadians(72.0 * bolt);
        painter.drawEllipse(hub + QPointF(4.2 * qSin(angle), -4.2 * qCos(angle)), 0.9, 0.9);
    }
}

void draw_brake_pedal(QPainter& painter) {
    // The pedal arm, coming down from the top right.
    painter.setPen(outline(painter, kInk));
    painter.setBrush(kGrey);
    painter.drawPolygon(QPolygonF({{25.5, 0.5}, {29.5, 0.5}, {23.5, 20.5}, {18.5, 20.5}}));

    // The pad with its rubber ribs.
    painter.setBrush(kDarkGrey);
    painter.drawRoundedRect(QRectF(6.5, 19.5, 23.0, 10.0), 2.0, 2.0);
    painter.setPen(outline(painter, kGrey));
    for (const qreal y : {22.5, 24.5, 26.5}) painter.drawLine(QPointF(9.0, y), QPointF(27.0, y));

    // The arrow of the pressing foot.
    painter.setPen(outline(painter, kDarkRed));
    painter.setBrush(kRed);
    painter.drawPolygon(
        QPolygonF({{9.5, 0.5}, {14.5, 0.5}, {14.5, 9.5}, {18.5, 9.5}, {12.0, 17.5}, {5.5, 9.5}, {9.5, 9.5}}));
}

// A winding road seen from a driver's eye: at height y its centre swings from side to side and it
// narrows towards the horizon at `horizon`; at the bottom edge it is `near_width` wide.
struct WindingRoad {
    qreal horizon = 8.0;
    qreal near_width = 15.0;

    qreal depth(qreal y) const { return (kDrawingSpace - y) / (kDrawingSpace - horizon); }  // 0 near, 1 far
    qreal centre(qreal y) const { return 16.0 + 6.5 * std::cos(depth(y) * 2.6 * M_PI); }
    qreal half_width(qreal y) const { return 0.5 * near_width * (1.0 - 0.85 * depth(y)); }
};

void draw_winding_road(QPainter& painter, const WindingRoad& road) {
    constexpr int kSteps = 32;
    QPolygonF left;
    QPolygonF right;
    for (int step = 0; step <= kSteps; ++step) {
        const qreal y = kDrawingSpace - (kDrawingSpace - road.horizon) * step / kSteps;
        left << QPointF(road.centre(y) - road.half_width(y), y);
        right.prepend(QPointF(road.centre(y) + road.half_width(y), y));
    }
    painter.setPen(outline(painter, kInk));
    painter.setBrush(kDarkGrey);
    painter.drawPolygon(left + right);

    // Dashes of the centre line, shorter further away.
    painter.setPen(QPen(kWhite, 1.0, Qt::SolidLine, Qt::FlatCap));
    for (qreal y = kDrawingSpace; y > road.horizon + 2.0; y -= 5.0 * (1.0 - 0.6 * road.depth(y))) {
        const qreal length = 2.5 * (1.0 - 0.6 * road.depth(y));
        painter.drawLine(QPointF(road.centre(y), y), QPointF(road.centre(y - length), y - length));
    }
}

void draw_warning(QPainter& painter) {
    draw_winding_road(painter, WindingRoad{});

    // The sign: a red-edged triangle, white inside, with an exclamation mark.
    const QPolygonF triangle({{16.0, 0.5}, {27.5, 19.0}, {4.5, 19.0}});
    painter.setPen(QPen(kDarkRed, 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(kRed);
    painter.drawPolygon(triangle);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kWhite);
    painter.drawPolygon(QPolygonF({{16.0, 4.3}, {23.9, 17.0}, {8.1, 17.0}}));
    painter.setBrush(kInk);
    painter.drawPolygon(QPolygonF({{14.9, 6.5}, {17.1, 6.5}, {16.6, 12.0}, {15.4, 12.0}}));
    painter.drawRect(QRectF(15.0, 13.0, 2.0, 2.0));
}

// A grey filing cabinet seen from the front: its top drawer pulled out towards the viewer, full of
// white sheets with yellow folder tabs, the drawer below it closed.
void draw_filing_cabinet(QPainter& painter) {
    painter.setPen(outline(painter, kInk));
    painter.setBrush(kSilver);
    painter.drawRect(QRectF(6.5, 1.5, 19.0, 29.0));

    // The dark hollow the drawer came out of, and the drawer's inside, widening towards the viewer.
    painter.setPen(Qt::NoPen);
    painter.setBrush(kInk);
    painter.drawRect(QRectF(8.0, 3.0, 16.0, 9.0));
    painter.setBrush(kDarkGrey);
    painter.drawPolygon(QPolygonF({{8.0, 8.0}, {24.0, 8.0}, {27.0, 14.0}, {5.0, 14.0}}));

    // The files standing in the drawer: sheets, and the tabs of the folders between them.
    painter.setPen(outline(painter, kGrey));
    painter.setBrush(kWhite);
    painter.drawRect(QRectF(8.5, 6.5, 14.0, 7.0));
    painter.drawRect(QRectF(7.5, 8.5, 16.0, 5.0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(kYellow);
    painter.drawRect(QRectF(10.0, 4.0, 4.0, 3.0));
    painter.drawRect(QRectF(17.0, 6.0, 4.0, 3.0));

    // The open drawer's front, then the closed drawer: each with a label plate and a handle.
    painter.setPen(outline(painter, kInk));
    painter.setBrush(kSilver);
    painter.drawRect(QRectF(4.5, 13.5, 23.0, 8.0));
    painter.setPen(outline(painter, kDarkGrey));
    painter.drawRect(QRectF(8.5, 23.5, 15.0, 5.0));
    painter.setPen(Qt::NoPen);
    for (const auto& [left, top] : {std::pair{13.0, 15.0}, std::pair{13.5, 24.5}}) {
        painter.setBrush(kWhite);
        painter.drawRect(QRectF(left, top, 5.0, 2.0));
        painter.setBrush(kInk);
        painter.drawRect(QRectF(left, top + 3.0, 5.0, 1.0));
    }
}

// An orange saloon seen from the left, facing right, its front crumpled after an impact.
void draw_dented_car(QPainter& painter) {
    QPainterPath body;
    body.moveTo(1.5, 24.5);
    body.lineTo(1.5, 17.5);
    body.lineTo(5.0, 15.5);
    body.lineTo(9.0, 9.5);
    body.lineTo(19.0, 9.5);
    body.lineTo(23.0, 14.5);
    // The crumpled front: the bonnet buckled, the nose pushed in.
    body.lineTo(25.0, 13.5);
    body.lineTo(26.5, 16.0);
    body.lineTo(28.5, 14.5);
    body.lineTo(28.0, 18.0);
    body.lineTo(30.5, 19.0);
    body.lineTo(27.5, 21.0);
    body.lineTo(29.5, 24.5);
    body.closeSubpath();
    painter.setPen(outline(painter, kDarkOrange));
    painter.setBrush(kOrange);
    painter.drawPath(body);

    // Windows; the windscreen is cracked.
    painter.setPen(Qt::NoPen);
    painter.setBrush(kGlass);
    painter.drawPolygon(QPolygonF({{9.8, 11.0}, {13.5, 11.0}, {13.5, 15.0}, {7.0, 15.0}}));
    painter.drawPolygon(QPolygonF({{15.0, 11.0}, {18.3, 11.0}, {21.2, 15.0}, {15.0, 15.0}}));
    painter.setPen(outline(painter, kInk, 0.6));
    painter.drawPolyline(QPolygonF({{20.5, 14.5}, {19.0, 13.0}, {19.5, 12.0}, {17.8, 11.0}}));

    // Creases of the crushed sheet metal and the door gap.
    painter.setPen(outline(painter, kDarkOrange));
    painter.drawPolyline(QPolygonF({{23.0, 16.0}, {25.0, 18.5}, {24.0, 21.0}}));
    painter.drawLine(QPointF(14.5, 15.5), QPointF(14.5, 22.0));

    for (const qreal x : {7.5, 23.0}) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(kInk);
        painter.drawEllipse(QPointF(x, 24.5), 3.8, 3.8);
        painter.setBrush(kSilver);
        painter.drawEllipse(QPointF(x, 24.5), 1.6, 1.6);
    }
}

// The icons drawn here, by the names the pages place them with.
constexpr std::array<std::pair<std::string_view, Painting>, 7> kDrawnIcons{{
    {"stop-sign", draw_stop_sign},
    {"collision", draw_collision},
    {"skid", draw_skid},
    {"brake-pedal", draw_brake_pedal},
    {"warning", draw_warning},
    {"filing-cabinet", draw_filing_cabinet},
    {"dented-car", draw_dented_car},
}};

Painting drawn_icon(std::string_view name) {
    for (const auto& [icon_name, painting] : kDrawnIcons) {
        if (icon_name == name) return painting;
    }
    return nullptr;
}

}  // namespace

QPixmap picture(std::string_view name, qreal device_pixel_ratio) {
    // Each picture is made once for each ratio, on first use; later calls share the same pixels.
    static std::map<std::pair<std::string, qreal>, QPixmap, std::less<>> made;
    const auto key = std::make_pair(std::string(name), device_pixel_ratio);
    if (const auto found = made.find(key); found != made.end()) return found->second;
    QPixmap pixmap;
    if (const Painting painting = drawn_icon(name)) {
        pixmap = paint_pixmap(painting, kPictureSize, device_pixel_ratio);
    } else if (const resources::CompiledJpeg* jpeg = resources::find_compiled_jpeg(name)) {
        // A JPEG picture has its pixels: on a scaled screen its twice-sized version, drawn at a
        // ratio of 2 (Qt scales it to the screen's ratio from there), so it is not enlarged.
        const bool scaled_screen = device_pixel_ratio > 1.0 && !jpeg->bytes_at_2x.empty();
        QImage image = decode_jpeg(scaled_screen ? jpeg->bytes_at_2x : jpeg->bytes);
        if (scaled_screen) image.setDevicePixelRatio(2.0);
        pixmap = QPixmap::fromImage(image);
    }
    made.emplace(key, pixmap);
    return pixmap;
}

QPixmap picture(std::string_view name) { return picture(name, qGuiApp->devicePixelRatio()); }

bool is_drawn_icon(std::string_view name) { return drawn_icon(name) != nullptr; }

QIcon main_icon() {
    static const QIcon icon = qtshared::window_icon(qtshared::draw_minibus);
    return icon;
}

QPixmap main_icon_pixmap(int size) { return paint_pixmap(qtshared::draw_minibus, size); }

}  // namespace vorlanex::app
