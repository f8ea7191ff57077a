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

using TrayMenu = ProgramTest;

// The tray host opens the menu; a row of the style submenu changes the setting, and the picker
// that opens next is the chosen one. (The other rows are tested on the delegate.)
TEST_F(TrayMenu, TheStyleChosenInTheMenuIsThePickerThatOpensNext) {
    startTarget();
    writeConfig({{QStringLiteral("pickerStyle"), QStringLiteral("fan")}});
    startProgram();
    copyText(QStringLiteral("alpha"));
    copyText(QStringLiteral("bravo"));
    ASSERT_TRUE(openTrayMenu());
    const qsizetype open = visibleProgramWindows().size();
    xdo({"key", "Up", "key", "Up", "key", "Up", "key", "Up", "key", "Up", "key", "Up", "key",
         "Right"});
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
