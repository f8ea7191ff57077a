#pragma once
#include "platform/geometry.h"
#include <cstddef>
#include <optional>
#include <vector>

namespace vt {

// Chooses the display a picker opens on.
namespace PanelPlacement {

// The first frame containing p; else the only frame; else the nearest frame, ties going to the
// earlier one. Nothing when there are no frames. p and the frames share one coordinate space.
std::optional<std::size_t> screenIndex(PointD p, const std::vector<RectD>& frames);

} // namespace PanelPlacement

} // namespace vt
