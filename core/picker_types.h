#pragma once
#include <cstdint>

// Vocabulary shared by the controller and both pickers. Pure C++.

namespace vt {

// Animation phase of a picker (both the ring and the fan).
enum class PickerPhase { hidden, shown, committing, cancelling };

// The classification of a pointer offset from a picker's centre.
struct PickerHit {
    enum class Kind { item, center, outside };
    Kind kind = Kind::center;
    std::int64_t index = 0; // meaningful for Kind::item only

    static constexpr PickerHit item(std::int64_t i) { return {Kind::item, i}; }
    static constexpr PickerHit center() { return {Kind::center, 0}; }
    static constexpr PickerHit outside() { return {Kind::outside, 0}; }
    bool operator==(const PickerHit&) const = default;
};

} // namespace vt
