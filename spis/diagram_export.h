#pragma once
// The path–time diagram larger and on disk: the size at which its labels are as large as the
// window's text, and the diagram saved as SVG (the very drawing the protocol prints) or as PNG.
#include <QByteArray>
#include <QSize>
#include <QString>
#include <optional>

class QFont;

namespace vorlanex::spis {

// How high the diagram's drawing writes its labels, in the units of its viewBox.
inline constexpr double kDiagramLabelUnits = 11;

// The size the diagram is drawn at so that its labels are as high as the text of `font`; an empty
// size for an SVG that cannot be read.
QSize labelled_size(const QByteArray& svg, const QFont& font);

// The PNG's device pixels for each pixel of its size: sharp enough to print.
inline constexpr qreal kPngPixelRatio = 2;

// Saves the diagram at `path`: its SVG as it is for a name ending in ".svg", a PNG of `size` (times
// kPngPixelRatio, on white) for ".png", written atomically. A Czech message when it could not.
std::optional<QString> save_diagram(const QByteArray& svg, const QString& path, const QSize& size);

}  // namespace vorlanex::spis
