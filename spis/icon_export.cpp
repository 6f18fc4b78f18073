// vorlanex-spis-icon DIR: writes the case window's icon as DIR/<size>x<size>/apps/<its id>.png and
// the case file's as DIR/<size>x<size>/mimetypes/application-x-vorlanex-case.png, the layout of the
// desktop's hicolor icon theme, in every size of the theme, from the drawings the window uses. Runs
// without a display.
#include <QGuiApplication>
#include <cstdio>

#include "qtshared/icon_painting.h"
#include "spis/case_icons.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: vorlanex-spis-icon DIR\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    using namespace vorlanex;
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const bool written =
        qtshared::write_theme_icons(folder, QStringLiteral("apps"), QStringLiteral("io.github.vorlanex.spis"),
                                    spis::draw_case_folder) &&
        qtshared::write_theme_icons(folder, QStringLiteral("mimetypes"), QString::fromLatin1(spis::kCaseFileIconName),
                                    spis::draw_case_file);
    return written ? 0 : 1;
}
