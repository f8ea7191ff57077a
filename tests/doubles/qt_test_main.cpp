#include <QGuiApplication>
#include <gtest/gtest.h>

// GoogleTest with a Qt GUI application: on the X server when there is one, else off screen.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("DISPLAY")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
