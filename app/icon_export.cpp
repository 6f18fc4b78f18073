// vorlanex-icon DIR: writes the program's icon as DIR/<size>x<size>/apps/<application id>.png, the
// layout of the desktop's hicolor icon theme, in every size of kIconSizes, from the same drawing the
// window uses. Runs without a display.
#include <QDir>
#include <QGuiApplication>
#include <cstdio>

#include "app/pictures.h"
#include "qtshared/qt_text.h"
#include "version/version.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: vorlanex-icon DIR\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const QDir directory(QString::fromLocal8Bit(argv[1]));
    const QString file_name = vorlanex::qtshared::qt_text(vorlanex::kApplicationId) + QStringLiteral(".png");
    for (const int size : vorlanex::app::kIconSizes) {
        const QString folder = directory.filePath(QStringLiteral("%1x%1/apps").arg(size));
        if (!QDir().mkpath(folder) || !vorlanex::app::main_icon_pixmap(size).save(folder + u'/' + file_name)) {
            std::fprintf(stderr, "could not write the %d px icon into %s\n", size, qPrintable(folder));
            return 1;
        }
    }
    return 0;
}
