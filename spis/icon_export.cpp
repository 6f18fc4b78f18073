// vorlanex-icon DIR: writes the icons both windows give the desktop's hicolor icon theme, in every
// size of the theme, from the drawings the windows use, as
//   DIR/<size>x<size>/apps/<the calculator's application id>.png    the calculator's minibus
//   DIR/<size>x<size>/apps/io.github.vorlanex.spis.png              the case window's folder
//   DIR/<size>x<size>/mimetypes/application-x-vorlanex-case.png     the case file's sheet
// Runs without a display.
#include <QGuiApplication>
#include <cstdio>

#include "qtshared/icon_painting.h"
#include "qtshared/qt_text.h"
#include "spis/case_icons.h"
#include "version/version.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: vorlanex-icon DIR\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    using namespace vorlanex;
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const QString apps = QStringLiteral("apps");
    const bool written =
        qtshared::write_theme_icons(folder, apps, qtshared::qt_text(kApplicationId), qtshared::draw_minibus) &&
        qtshared::write_theme_icons(folder, apps, QStringLiteral("io.github.vorlanex.spis"), spis::draw_case_folder) &&
        qtshared::write_theme_icons(folder, QStringLiteral("mimetypes"), QString::fromLatin1(spis::kCaseFileIconName),
                                    spis::draw_case_file);
    return written ? 0 : 1;
}
