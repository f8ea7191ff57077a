#include "app/update_check_window.h"
#include <gtest/gtest.h>

namespace vt {
namespace {

TEST(UpdateCheckWindow, ShowsTheNewVersionItsNotesAndTheDownloadButton) {
    UpdateCheckWindow window;
    AppcastItem update;
    update.shortVersion = QStringLiteral("0.3.0");
    update.releaseNotes = QStringLiteral("<ul><li>Faster fan</li></ul>");
    update.downloadURL = QUrl(QStringLiteral("https://vantrel.app/download"));
    window.showUpdateFound(update, QStringLiteral("0.1.0"));
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.headline().contains(QStringLiteral("新しい版 0.3.0")));
    EXPECT_TRUE(window.detail().contains(QStringLiteral("0.1.0")));
    EXPECT_TRUE(window.notes().contains(QStringLiteral("Faster fan")));
    EXPECT_EQ(window.primaryButtonText(), QStringLiteral("ダウンロードページを開く"));
}

TEST(UpdateCheckWindow, SaysWhenCurrentOrFailedAndReportsClosing) {
    UpdateCheckWindow window;
    int closed = 0;
    window.onClosed = [&] { ++closed; };
    window.showUpToDate(QStringLiteral("0.1.0"));
    EXPECT_EQ(window.headline(), QStringLiteral("最新の版です"));
    window.showFailure(QStringLiteral("サーバーに接続できませんでした"));
    EXPECT_EQ(window.headline(), QStringLiteral("新しい版を確認できませんでした"));
    // The description is not wrapped in another pair of brackets.
    EXPECT_TRUE(window.detail().startsWith(QStringLiteral("サーバーに接続できませんでした。")));
    window.showUpdatedByPackage();
    EXPECT_EQ(window.headline(), QStringLiteral("新しい版はパッケージで届きます"));
    window.close();
    EXPECT_EQ(closed, 1);
    EXPECT_FALSE(window.isVisible());
}

} // namespace
} // namespace vt
