#include "app/updater_model.h"
#include "app/user_driver.h"
#include "app/windows/onboarding_model.h"
#include "app/windows/onboarding_view.h"
#include "app/windows/onboarding_window_controller.h"
#include "app/windows/settings_view.h"
#include "app/windows/settings_window_controller.h"
#include "app/windows/window_style.h"
#include "tests/app/windows/windows_doubles.h"
#include <QDir>
#include <QScreen>
#include <QTest>

namespace vt {
namespace {

QString shotDir() {
    const QString dir = qEnvironmentVariable("VANTREL_BINARY_DIR", QDir::tempPath()) +
                        QStringLiteral("/screenshots");
    QDir().mkpath(dir);
    return dir;
}

int colourCount(const QImage& image) {
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 7)
        for (int x = 0; x < image.width(); x += 7)
            colours.insert(image.pixel(x, y));
    return int(colours.size());
}

// Grabs the window with its frame from the screen, as the user sees it. A busy machine may
// paint late, so a blank grab is taken again until the window shows (or ten seconds pass).
void shoot(QWidget* window, const QString& name) {
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window, 20000)) << name.toStdString();
    QPixmap pixmap;
    for (int attempt = 0; attempt < 25; ++attempt) {
        QTest::qWait(400); // fades and the window manager's frame settle
        const QRect frame = window->frameGeometry();
        pixmap =
            window->screen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
        if (!pixmap.isNull() && colourCount(pixmap.toImage()) > 8) break;
    }
    ASSERT_FALSE(pixmap.isNull());
    const QString path = shotDir() + QLatin1Char('/') + name + QStringLiteral(".png");
    ASSERT_TRUE(pixmap.save(path)) << path.toStdString();
    // A blank picture would mean nothing was drawn.
    EXPECT_GT(colourCount(pixmap.toImage()), 8) << name.toStdString();
}

using ScreenshotFixture = test::WindowsFixture;

TEST_F(ScreenshotFixture, Onboarding) {
    OnboardingWindowController controller(settings, trust);
    controller.show();
    shoot(controller.window(), QStringLiteral("onboarding-not-trusted"));
    trust.trusted = true;
    QMetaObject::invokeMethod(controller.model().timer(), "timeout");
    shoot(controller.window(), QStringLiteral("onboarding-trusted"));
}

TEST_F(ScreenshotFixture, SettingsTabs) {
    UpdaterModel::Options options;
    options.feedURL = QUrl(QStringLiteral("http://127.0.0.1:9/feed.xml"));
    options.currentVersion = QStringLiteral("1.0");
    options.presenter = &presenter;
    options.startUpdater = false;
    UpdaterModel updater(defaults, options);
    catalog.apps = {
        {QStringLiteral("org.example.Vault"), QStringLiteral("Vault"), WindowStyle::appIcon(), {}}};
    settings.setExcludedApps(settings.excludedApps() << QStringLiteral("org.example.Vault"));
    SettingsWindowController controller(settings, updater, catalog);
    controller.show(Tab::general);
    shoot(controller.window(), QStringLiteral("settings-general"));
    controller.show(Tab::history);
    shoot(controller.window(), QStringLiteral("settings-history"));
    controller.show(Tab::about);
    shoot(controller.window(), QStringLiteral("settings-about"));
}

} // namespace
} // namespace vt
