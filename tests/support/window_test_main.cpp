// The main() of the window tests: GoogleTest, then one QApplication with the window's look on the
// offscreen platform. The tests register QT_QPA_PLATFORM=offscreen themselves; test discovery at
// build time runs without it, hence the default here.
#include <gtest/gtest.h>

#include <QApplication>

#include "app/look.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    vorlanex::app::apply_window_look();
    return RUN_ALL_TESTS();
}
