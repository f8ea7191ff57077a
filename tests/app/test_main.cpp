#include <QApplication>
#include <gtest/gtest.h>

// The shell's tests need an event loop (network, timers, processes) and, for the check window
// and alerts, widgets without a screen.
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
