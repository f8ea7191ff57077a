#pragma once
#include <QDir>
#include <QImage>
#include <QString>
#include <gtest/gtest.h>

namespace vt::test {

// Saves a rendered frame under <build>/screenshots/render/ (when the build folder is known), named
// after the running test, so a failing pixel probe can be looked at. Returns the frame.
inline QImage keepFrame(QImage image, const QString& prefix, int& counter) {
    const QString dir = qEnvironmentVariable("VANTREL_BINARY_DIR");
    if (!dir.isEmpty()) {
        QDir().mkpath(dir + QStringLiteral("/screenshots/render"));
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        image.save(QStringLiteral("%1/screenshots/render/%2%3-%4.png")
                       .arg(dir, prefix, QString::fromUtf8(info->name()))
                       .arg(counter++));
    }
    return image;
}

} // namespace vt::test
