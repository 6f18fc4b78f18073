// Writes every drawn icon a page places, as the window draws it at its own pixels, to
// DIRECTORY/<name>.png:
//
//   vorlanex-page-icons DIRECTORY
//
// The Windows window, which has no Qt to draw them, shows these files (resources/icons/, compiled
// into it); a test checks that the committed files are what this draws. Regenerate them with
//   cmake --build build/default --target regenerate-page-icons
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <cstdio>
#include <set>
#include <string_view>

#include "app/pictures.h"
#include "qtshared/qt_text.h"
#include "registry/page_tree.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: vorlanex-page-icons DIRECTORY\n");
        return 2;
    }
    QGuiApplication application(argc, argv);
    const QDir directory(QString::fromLocal8Bit(argv[1]));
    std::set<std::string_view> names;
    for (const vorlanex::page::PageDefinition* definition : vorlanex::registry::calculation_pages()) {
        for (const vorlanex::page::PicturePlacement& placement : definition->layout.pictures) {
            if (vorlanex::app::is_drawn_icon(placement.picture)) names.insert(placement.picture);
        }
    }
    for (const std::string_view name : names) {
        const QString path = directory.filePath(vorlanex::qtshared::qt_text(name) + QStringLiteral(".png"));
        if (!vorlanex::app::picture(name, 1.0).toImage().save(path, "PNG")) {
            std::fprintf(stderr, "vorlanex-page-icons: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
