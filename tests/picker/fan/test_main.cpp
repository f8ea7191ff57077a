#include <QApplication>
#include <gtest/gtest.h>

// The fan's tests paint text and run Qt timers, so they need an application; without a display
// they paint offscreen.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("DISPLAY")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
