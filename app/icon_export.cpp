// vorlanex-icon DIR: writes the program's icon as DIR/<size>/vorlanex.png for the desktop's icon
// theme (16, 32, 48 and 64 pixels), from the same drawing the window uses. Runs without a display.
#include <QDir>
#include <QGuiApplication>
#include <cstdio>

#include "app/pictures.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: vorlanex-icon DIR\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const QDir directory(QString::fromLocal8Bit(argv[1]));
    const QIcon icon = vorlanex::app::main_icon();
    for (int size : {16, 32, 48, 64}) {
        const QString folder = directory.filePath(QStringLiteral("%1x%1").arg(size));
        if (!QDir().mkpath(folder) || !icon.pixmap(size, size).save(folder + QStringLiteral("/vorlanex.png"))) {
            std::fprintf(stderr, "could not write the %d px icon into %s\n", size, qPrintable(folder));
            return 1;
        }
    }
    return 0;
}
