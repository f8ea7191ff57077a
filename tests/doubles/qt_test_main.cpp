#include <QApplication>
#include <gtest/gtest.h>

// GoogleTest with a Qt application (event loop, painting, widgets): on the X server when the
// test has one, else off screen, in the Fusion style so that widget pictures do not depend on
// the desktop's theme.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
