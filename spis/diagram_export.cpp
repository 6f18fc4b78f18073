#include "spis/diagram_export.h"

#include <QBuffer>
#include <QFileInfo>
#include <QFontInfo>
#include <QImage>
#include <QSvgRenderer>
#include <cmath>

#include "spis/case_storage.h"
#include "spis/diagram_picture.h"

namespace vorlanex::spis {

QSize labelled_size(const QByteArray& svg, const QFont& font) {
    const QSvgRenderer renderer(svg);
    if (!renderer.isValid()) return {};
    const double scale = QFontInfo(font).pixelSize() / kDiagramLabelUnits;
    const QRectF box = renderer.viewBoxF();
    return {static_cast<int>(std::ceil(box.width() * scale)), static_cast<int>(std::ceil(box.height() * scale))};
}

std::optional<QString> save_diagram(const QByteArray& svg, const QString& path, const QSize& size) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("svg")) {
        const QByteArray file = QByteArrayLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n") + svg;
        return write_atomically(path, std::string_view(file.constData(), static_cast<std::size_t>(file.size())));
    }
    if (suffix != QLatin1String("png")) {
        return QStringLiteral("Obrázek „%1“ nelze uložit: zvolte název s příponou .svg nebo .png.")
            .arg(shown_name(path));
    }
    if (size.isEmpty())
        return QStringLiteral("Diagram nelze nakreslit, obrázek „%1“ nebyl uložen.").arg(shown_name(path));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!drawn_svg(svg, size, kPngPixelRatio, Qt::white).save(&buffer, "PNG")) {
        return QStringLiteral("Diagram nelze převést do PNG, obrázek „%1“ nebyl uložen.").arg(shown_name(path));
    }
    return write_atomically(path, std::string_view(png.constData(), static_cast<std::size_t>(png.size())));
}

}  // namespace vorlanex::spis
