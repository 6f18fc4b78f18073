#pragma once
// The window's small pictures and the program's icon, drawn with QPainter (no files, no SVG).
//
// Precondition for every function here: a QGuiApplication (or QApplication) must already exist,
// because QPixmap and QIcon may only be created after it. Call them from the GUI thread.
#include <QIcon>
#include <QPixmap>

#include <array>
#include <string_view>

namespace vorlanex::app {

// Side of every page picture, in pixels.
inline constexpr int kPictureSize = 32;

// The picture a page places on itself by name: a drawn 32 x 32 icon with a transparent background,
// painted at `device_pixel_ratio` device pixels per page pixel so that it stays sharp on a scaled
// screen (the pixmap carries that ratio); or else the JPEG picture of that name compiled into the
// program, decoded with libjpeg at its own pixels, or above a ratio of 1 its twice-sized version,
// which carries a ratio of 2 (the same size in page pixels). Without a ratio: the highest ratio of the
// screens. Each picture is made on first use (at a ratio) and then shared (QPixmap is implicitly
// shared, so the copy is cheap). A name without a picture yields a null pixmap.
QPixmap picture(std::string_view name, qreal device_pixel_ratio);
QPixmap picture(std::string_view name);

// True when `name` is one of the icons drawn here.
bool is_drawn_icon(std::string_view name);

// The sizes in pixels the program's icon is drawn in for the icon theme.
inline constexpr std::array kIconSizes{16, 32, 48, 64, 128, 256};
// The sizes the window carries: X11 takes a window's icon up to 128 px, so a larger one would be
// drawn at every start for nothing.
inline constexpr std::array kWindowIconSizes{16, 32, 48, 64, 128};

// The program's icon, a white minibus with a blue and a green stripe, in every size of
// kWindowIconSizes. Drawn on first use and then shared.
QIcon main_icon();

// The program's icon drawn at `size` pixels, for the icon theme.
QPixmap main_icon_pixmap(int size);

}  // namespace vorlanex::app
