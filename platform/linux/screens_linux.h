#pragma once
#include "platform/screen_pictures.h"
#include "platform/screens.h"
#include <memory>

namespace vt {

class ShmScreenGrab;

// Screens from QScreen and the pointer from QCursor (needs a QGuiApplication). Qt's global
// coordinates are the root window's, in device-independent pixels, so one layout point is one
// Qt pixel and HiDPI screens report their scale. Pictures of the screen come through shared
// memory with the X server.
class LinuxScreens final : public Screens, public ScreenPictures {
public:
    LinuxScreens();
    ~LinuxScreens() override;
    LinuxScreens(const LinuxScreens&) = delete;
    LinuxScreens& operator=(const LinuxScreens&) = delete;

    std::vector<ScreenInfo> screens() const override;
    std::optional<ScreenInfo> mainScreen() const override;
    PointD mouseLocation() const override;
    bool compositingActive() const override;

    RootSpace rootSpace() const override;

    QImage grabRoot(const QRect& root) const override;
    void markOverlay(unsigned long windowId) const override;

private:
    mutable std::unique_ptr<ShmScreenGrab> grab_; // made on the first picture
    mutable unsigned long compositorAtom_ = 0;
};

} // namespace vt
