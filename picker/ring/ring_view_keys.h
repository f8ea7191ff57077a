#pragma once
// Keys of the ring view's animated values (private to the ring view's sources).
#include "ui/animation_values.h"
#include <QHash>
#include <QUuid>
#include <cstdint>

namespace vt::ring_keys {

inline constexpr std::uint64_t kRingOwner = 1;

enum Property : std::uint32_t {
    kScale = 1,
    kOpacity,
    kBlur,
    kRotation,
    kHighlightAngle,
    kHighlightOpacity,
    kFlash,
    kWedgeVisible,
    kWedgeSelected,
};

// Wedges are keyed by clip id: bit 62 set and bit 63 clear keeps them apart from the ring's own
// keys and from the centre preview's.
inline std::uint64_t wedgeOwner(const QUuid& id) {
    return (std::uint64_t(qHash(id)) & ~(std::uint64_t{3} << 62)) | (std::uint64_t{1} << 62);
}

} // namespace vt::ring_keys
