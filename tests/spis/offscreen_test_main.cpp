// The main of the case window's test programs: Qt offscreen, and the settings and recovery copies
// of the run in a temporary folder of their own.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // The settings and the recovery copies of this run in a folder of its own, never the user's.
    const QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral("config"))));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath(QStringLiteral("data"))));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, home.filePath(QStringLiteral("config")));
    QApplication::setOrganizationName(QStringLiteral("Vorlanex"));
    QApplication::setApplicationName(QStringLiteral("Vorlanex Spis test"));
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
