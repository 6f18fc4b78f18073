#pragma once
// The drawing of the project's pictures and icons with QPainter, shared by both windows: the
// palette, the 32 x 32 space every drawing works in, the calculator's minibus, and the icons in the
// sizes of the desktop's icon theme and of a window.
//
// Precondition: a QGuiApplication (or QApplication) must already exist, because QPixmap and QIcon
// may only be created after it. Call from the GUI thread.
#include <QColor>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QString>

#include <array>

namespace vorlanex::qtshared {

// A small, saturated palette in the manner of classic 16-colour toolbar pictures.
namespace palette {
inline constexpr QColor kInk{0x18, 0x18, 0x18};
inline constexpr QColor kDarkGrey{0x48, 0x48, 0x48};
inline constexpr QColor kGrey{0x88, 0x88, 0x88};
inline constexpr QColor kSilver{0xc4, 0xc4, 0xc4};
inline constexpr QColor kWhite{0xff, 0xff, 0xff};
inline constexpr QColor kRed{0xe0, 0x10, 0x10};
inline constexpr QColor kDarkRed{0x90, 0x00, 0x00};
inline constexpr QColor kOrange{0xff, 0x80, 0x00};
inline constexpr QColor kDarkOrange{0xa0, 0x48, 0x00};
inline constexpr QColor kYellow{0xff, 0xe8, 0x00};
inline constexpr QColor kBlue{0x18, 0x50, 0xe0};
inline constexpr QColor kDarkBlue{0x00, 0x18, 0x80};
inline constexpr QColor kGreen{0x10, 0xa0, 0x30};
inline constexpr QColor kGlass{0xa8, 0xdc, 0xff};
}  // namespace palette

// Every drawing works in a 32 x 32 space; coordinates on .5 put 1-pixel outlines on whole pixels.
inline constexpr qreal kDrawingSpace = 32.0;

using Painting = void (*)(QPainter&);

// The drawing on `size` x `size` pixels with a transparent background, at `device_pixel_ratio`
// device pixels for each (the image carries that ratio).
QImage paint_image(Painting painting, int size, qreal device_pixel_ratio = 1.0);

// An outline one device pixel wide at least, however small the drawing is scaled.
QPen outline(const QPainter& painter, const QColor& color, qreal width = 1.0);

// The calculator's motif: a white minibus seen from the left, facing right, with a blue and a green
// stripe.
void draw_minibus(QPainter& painter);

// The sizes in pixels an icon is drawn in for the icon theme.
inline constexpr std::array kIconSizes{16, 32, 48, 64, 128, 256};
// The sizes a window carries: X11 takes a window's icon up to 128 px, so a larger one would be
// drawn at every start for nothing.
inline constexpr std::array kWindowIconSizes{16, 32, 48, 64, 128};

// The drawing as a window's icon, in every size of kWindowIconSizes.
QIcon window_icon(Painting painting);

// Writes the drawing as `folder`/<size>x<size>/`context`/`name`.png in every size of kIconSizes, the
// layout of the desktop's hicolor icon theme (`context` "apps", "mimetypes"). False, with the
// reason on standard error, when a file cannot be written.
bool write_theme_icons(const QString& folder, const QString& context, const QString& name, Painting painting);

}  // namespace vorlanex::qtshared
