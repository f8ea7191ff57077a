#include <QGuiApplication>
#include <gtest/gtest.h>

// The ring's tests paint text and run Qt timers, so they need a GUI application. Without a
// display they paint offscreen.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("DISPLAY")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
