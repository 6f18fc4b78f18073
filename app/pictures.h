#pragma once
// The window's small pictures and the program's icon, drawn with QPainter (no files, no SVG).
//
// Precondition for every function here: a QGuiApplication (or QApplication) must already exist,
// because QPixmap and QIcon may only be created after it. Call them from the GUI thread.
#include <QIcon>
#include <QPixmap>

#include "page/layout.h"

namespace vorlanex::app {

// Side of every page picture, in pixels.
inline constexpr int kPictureSize = 32;

// The 32 x 32 picture a page places on itself, with a transparent background. Each picture is
// drawn on first use and then shared (QPixmap is implicitly shared, so the copy is cheap). A value
// without a drawing yields an empty, fully transparent 32 x 32 pixmap.
QPixmap picture(vorlanex::page::Picture which);

// The program's icon, a white minibus with a blue and a green stripe, at 16, 32, 48 and 64 px.
// Drawn on first use and then shared.
QIcon main_icon();

}  // namespace vorlanex::app
