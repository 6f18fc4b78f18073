#pragma once
// The case window's icons, drawn like the calculator's (qtshared/icon_painting.h): the program's
// own, a case folder with a path-time diagram on its sheet, and the case file's, a sheet with the
// calculator's minibus. The scalable versions are resources/io.github.vorlanex.spis.svg and
// resources/application-x-vorlanex-case.svg.
#include <QIcon>
#include <QPainter>

namespace vorlanex::spis {

// The case file's icon under the name the desktop derives from its MIME type.
inline constexpr char kCaseFileIconName[] = "application-x-vorlanex-case";

void draw_case_folder(QPainter& painter);
void draw_case_file(QPainter& painter);

// The case window's icon in every size a window carries. Drawn on first use and then shared.
QIcon case_window_icon();

}  // namespace vorlanex::spis
