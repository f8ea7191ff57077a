#pragma once
#include "platform/screens.h"

namespace vt {

// Screens from QScreen and the pointer from QCursor (needs a QGuiApplication). Qt's global
// coordinates are the root window's, in device-independent pixels, so one layout point is one
// Qt pixel and HiDPI screens report their scale.
class LinuxScreens final : public Screens {
public:
    std::vector<ScreenInfo> screens() const override;
    std::optional<ScreenInfo> mainScreen() const override;
    PointD mouseLocation() const override;
    bool compositingActive() const override;

    RootSpace rootSpace() const override;
};

} // namespace vt
