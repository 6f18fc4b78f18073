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

// The program's icon, a white minibus with a blue and a green stripe (qtshared/icon_painting.h), in
// every size a window carries. Drawn on first use and then shared.
QIcon main_icon();

// The program's icon drawn at `size` pixels.
QPixmap main_icon_pixmap(int size);

}  // namespace vorlanex::app
