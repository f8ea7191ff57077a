#include "picker/ring/ring_geometry.h"
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <numbers>

namespace vt {
namespace {

namespace RG = RingGeometry;
constexpr double pi = std::numbers::pi;
const double nan = std::numeric_limits<double>::quiet_NaN();
const double inf = std::numeric_limits<double>::infinity();

// The offset of a point r away at a clockwise angle from straight up, in event space (y down).
std::pair<double, double> polar(double degrees, double r) {
    const double a = degrees * pi / 180;
    return {r * std::sin(a), -r * std::cos(a)};
}

struct HitCase {
    const char* name;
    double dx, dy;
    std::int64_t n;
    PickerHit expected;
};

const PickerHit center = PickerHit::center();
const PickerHit outside = PickerHit::outside();
PickerHit item(std::int64_t i) {
    return PickerHit::item(i);
}

TEST(RingHit, Classifies) {
    // clang-format off
    const HitCase cases[] = {
    // Wedge 0 at the top, numbers growing clockwise.
    HitCase{"north", 0, -100, 8, item(0)},
    HitCase{"east", 100, 0, 8, item(2)},
    HitCase{"west", -100, 0, 8, item(6)},
    // Radial borders: exactly 48 is on the ring, exactly 188 is not outside.
    HitCase{"dead_zone_border", 0, -48, 8, item(0)},
    HitCase{"inside_dead_zone", 0, -47.9, 8, center},
    HitCase{"outside_border", 0, -188, 8, item(0)},
    HitCase{"beyond_outside", 0, -188.1, 8, outside},
    // Wedge borders belong to the wedge further clockwise.
    HitCase{"four_border_0_1", 100, -100, 4, item(1)},
    HitCase{"four_just_before_border_0_1", 100, -100.001, 4, item(0)},
    HitCase{"four_border_3_0_wraps", -100, -100, 4, item(0)},
    HitCase{"two_border_right", 100, 0, 2, item(1)},
    HitCase{"two_border_left_wraps", -100, 0, 2, item(0)},
    HitCase{"eight_350_wraps", polar(350, 100).first, polar(350, 100).second, 8, item(0)},
    HitCase{"eight_23_next", polar(23, 100).first, polar(23, 100).second, 8, item(1)},
    // One item owns the whole ring; no items select nothing.
    HitCase{"one_item_south", 0, 100, 1, item(0)},
    HitCase{"no_items_on_ring", 100, 0, 0, center},
    HitCase{"negative_count", 100, 0, -3, center},
    // Offsets that are not numbers give center; infinite ones are outside.
    HitCase{"nan_dx", nan, 100, 8, center},
    HitCase{"infinite", inf, 0, 8, outside},
    HitCase{"huge_square_overflows", 1e200, 1e200, 8, outside}
    };
    // clang-format on
    for (const HitCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(RG::hit(c.dx, c.dy, c.n), c.expected);
    }
}

struct ShortWayCase {
    const char* name;
    std::int64_t i, n;
    double current, expected;
};

TEST(ShortWay, NearestCopyOfTheTarget) {
    // clang-format off
    const ShortWayCase cases[] = {
    ShortWayCase{"seven_to_zero_goes_forward", 0, 8, 7 * pi / 4, 2 * pi},
    ShortWayCase{"then_zero_to_one", 1, 8, 2 * pi, 2 * pi + pi / 4},
    ShortWayCase{"one_to_seven_goes_back", 7, 8, pi / 4, -pi / 4},
    ShortWayCase{"several_turns_drift", 2, 8, 6 * pi + pi / 4, 6 * pi + pi / 2},
    ShortWayCase{"half_turn_tie_rounds_away_from_zero", 1, 2, 0, -pi},
    ShortWayCase{"no_items", 0, 0, 4 * pi + 0.1, 4 * pi},
    ShortWayCase{"nan_current_restarts_at_target", 3, 8, std::numeric_limits<double>::quiet_NaN(), 3 * pi / 4}
    };
    // clang-format on
    for (const ShortWayCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_NEAR(RG::shortWayHighlightAngle(c.i, c.n, c.current), c.expected, 1e-12);
    }
}

} // namespace
} // namespace vt
