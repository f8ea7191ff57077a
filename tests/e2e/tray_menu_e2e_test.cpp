// The tray menu of the running program, opened with a right click on its icon in the tray host
// and walked with the keyboard. Up from the top of the menu lands on its last row, so rows are
// counted from the bottom: "… を終了", "アップデートを確認…", "設定…", "ログイン時に起動",
// "長押しの長さ", "表示", then the clips from the oldest shown upwards.
#include "picker/ring/ring_geometry.h"
#include "tests/e2e/program_fixture.h"
#include <algorithm>
#include <cmath>

using namespace vt::e2e;

namespace {

class TrayMenu : public ProgramTest {
protected:
    void up(int times) {
        QStringList args;
        for (int i = 0; i < times; ++i)
            args << "key"
                 << "Up";
        xdo(args);
    }
};

TEST_F(TrayMenu, ChoosingAClipRowPutsThatClipOnTheClipboard) {
    startProgram();
    for (const char* clip : {"one", "two", "three"})
        copyText(QString::fromLatin1(clip));
    ASSERT_TRUE(openTrayMenu());
    up(8); // past the six setting rows to "one", then "two"
    xdo({"key", "Return"});
    EXPECT_TRUE(waitFor([&] { return clipboard() == "two"; }))
        << "the clipboard holds \"" << clipboard().toStdString() << "\"";
}

// The last row of "長押しの長さ" stores the longest hold; the style submenu is walked below.
TEST_F(TrayMenu, ChoosingASubmenuRowChangesTheSetting) {
    writeConfig({{QStringLiteral("pickerStyle"), QStringLiteral("fan")},
                 {QStringLiteral("holdDelay"), 0.35}});
    startProgram();
    ASSERT_TRUE(openTrayMenu());
    const qsizetype open = visibleProgramWindows().size();
    up(5);
    xdo({"key", "Right"}); // opens the submenu with its first row selected
    ASSERT_TRUE(waitForMoreWindows(open));
    xdo({"key", "Down", "key", "Down", "key", "Down", "key", "Return"});
    EXPECT_TRUE(waitFor([&] { return std::abs(configValue("holdDelay").toDouble() - 0.5) < 1e-3; }))
        << configValue("holdDelay").toString().toStdString();
}

TEST_F(TrayMenu, TheStyleChosenInTheMenuIsThePickerThatOpensNext) {
    startTarget();
    writeConfig({{QStringLiteral("pickerStyle"), QStringLiteral("fan")}});
    startProgram();
    copyText(QStringLiteral("alpha"));
    copyText(QStringLiteral("bravo"));
    ASSERT_TRUE(openTrayMenu());
    const qsizetype open = visibleProgramWindows().size();
    up(6);
    xdo({"key", "Right"});
    ASSERT_TRUE(waitForMoreWindows(open));
    xdo({"key", "Down", "key", "Return"});
    ASSERT_TRUE(waitFor([&] { return configValue("pickerStyle").toString() == "ring"; }));

    xdo({"mousemove", QString::number(kPointerX), QString::number(kPointerY)});
    keys({"+Control_L", "+v"});
    ASSERT_TRUE(waitForLog(QStringLiteral("showPicker(")));
    const int side = static_cast<int>(vt::RingGeometry::canvasSize);
    EXPECT_TRUE(waitFor([&] {
        const QList<QRect> windows = visibleProgramWindows();
        return std::any_of(windows.begin(), windows.end(),
                           [&](QRect w) { return w.size() == QSize(side, side); });
    }));
    xdo({"key", "Down"});
    keys({"-v", "-Control_L"});
    waitForText(QStringLiteral("alpha"));
    expectTypingStillWorks();
}

} // namespace
