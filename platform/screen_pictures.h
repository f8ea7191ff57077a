#pragma once
#include <QImage>
#include <QRect>

namespace vt {

// Pictures of what the displays show, for windows that frost what lies behind them. A Screens
// implementation may offer this next to its own interface.
class ScreenPictures {
public:
    virtual ~ScreenPictures() = default;
    // What the screens show inside `root` (root-window pixels) as an RGB32 image that shares its
    // memory with later grabs: use it before grabbing again. A null image when no picture can be
    // taken this way; the caller then asks the toolkit.
    virtual QImage grabRoot(const QRect& root) const = 0;
    // Tells compositing managers that the top-level window `windowId` is an overlay that must
    // never get a shadow or a background of theirs, whichever compositor runs now or later.
    virtual void markOverlay(unsigned long windowId) const { (void)windowId; }
};

} // namespace vt
