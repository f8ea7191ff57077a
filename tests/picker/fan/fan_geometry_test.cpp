#include "picker/fan/fan_geometry.h"
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace vt {
namespace {

constexpr double deg = FanGeometry::degree;
const double nan = std::numeric_limits<double>::quiet_NaN();
using Range = std::optional<std::pair<std::int64_t, std::int64_t>>;

FanGeometry fan(std::int64_t count, std::int64_t slots = 12, bool flip = false, double center = 0) {
    FanGeometry g;
    g.count = count;
    g.visibleSlots = slots;
    g.flipX = flip;
    g.centerAngle = center;
    return g;
}

struct FitCase {
    const char* name;
    double above, below;
    double expectedDegrees;
    double expectedOverflow;
};

// clang-format off
TEST(FanFit, TiltsIntoTheFreeSpace) {
    const FitCase cases[] = {
    FitCase{"fits_straight", 1000, 1000, 0, 0},
    FitCase{"near_bottom", 1000, 300, -13, 0},
    FitCase{"too_near_bottom_stops_at_14", 1000, 200, -14, 92.48},
    FitCase{"near_top", 300, 1000, 13, 0},
    FitCase{"both_tight_tie_goes_down", 200, 200, 14, 261.92},
    FitCase{"overflow_below_half_a_point_accepted", 341.09, 1000, 0, 0.003},
    FitCase{"negative_space_above", -5, 1000, 14, 297.48}
    };
    // clang-format on
    for (const FitCase& c : cases) {
        SCOPED_TRACE(c.name);
        const FanGeometry g = fan(30);
        const double a = g.fittedCenterAngle(c.above, c.below);
        EXPECT_NEAR(a / deg, c.expectedDegrees, 1e-9);
        EXPECT_NEAR(g.overflow(a, c.above, c.below), c.expectedOverflow, 0.05);
    }
}

// The rows on the arc, and the rows drawn: two more each side, for rows moving in and out.
TEST(FanVisibleRange, RowsOnTheArcAndTheDrawingWindow) {
    const struct {
        const char* name;
        std::int64_t count, slots;
        double scroll;
        Range visible, drawn;
    } cases[] = {
        {"top", 20, 12, 0, std::pair{0, 11}, std::pair{0, 13}},
        {"fractional", 20, 12, 2.5, std::pair{3, 13}, std::pair{0, 16}},
        {"beyond_tolerance", 20, 12, 2.98, std::pair{3, 13}, std::pair{0, 16}},
        {"bottom", 20, 12, 8, std::pair{8, 19}, std::pair{6, 19}},
        {"negative_scroll", 20, 12, -0.5, std::pair{0, 10}, std::pair{0, 13}},
        {"scrolled_past_the_end", 5, 12, 10, std::nullopt, std::nullopt},
        {"far_past_the_end", 5, 12, 40, std::nullopt, std::nullopt},
        {"empty", 0, 12, 0, std::nullopt, std::nullopt},
        {"nan_scroll_reads_as_top", 20, 12, nan, std::pair{0, 11}, std::pair{0, 13}},
        {"infinite_scroll", 20, 12, std::numeric_limits<double>::infinity(), std::nullopt,
         std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(fan(c.count, c.slots).visibleRange(c.scroll), c.visible);
        EXPECT_EQ(fanDrawingWindow(c.count, c.slots, c.scroll), c.drawn);
    }
    EXPECT_EQ(fan(20, 0).visibleRange(0), std::nullopt); // no slots, nothing on the arc
}

struct ShowCase {
    const char* name;
    std::int64_t count, row;
    double scroll, expected;
};

// clang-format off
TEST(FanScrollToShow, NearestOffsetShowingTheRow) {
    const ShowCase cases[] = {
    ShowCase{"already_visible", 20, 3, 0, 0},
    ShowCase{"below_window_moves_down", 20, 15, 0, 4},
    ShowCase{"above_window_moves_up", 20, 2, 5, 2},
    ShowCase{"last_row", 20, 19, 0, 8},
    ShowCase{"row_beyond_list_clamped", 20, 25, 0, 8},
    ShowCase{"short_list_always_top", 3, 2, 0, 0}
    };
    // clang-format on
    for (const ShowCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_DOUBLE_EQ(fan(c.count).scrollToShow(c.row, c.scroll), c.expected);
    }
}

struct FlipCase {
    const char* name;
    PointD pointer;
    RectD frame;
    FanFlip expected;
};

// With 12 slots the fan needs inner + 276 = 392.35 points on the right.
// clang-format off
TEST(FanFlipDecision, OpensWhereThereIsRoom) {
    const FlipCase cases[] = {
    FlipCase{"room_on_the_right", {100, 500}, {0, 0, 1920, 1050}, {false, 542, 492}},
    FlipCase{"right_edge_flips", {1800, 500}, {0, 0, 1920, 1050}, {true, 542, 492}},
    FlipCase{"just_enough_room", {1920 - 392.36, 500}, {0, 0, 1920, 1050}, {false, 542, 492}},
    FlipCase{"narrow_equal_room_stays_right", {200, 400}, {0, 0, 400, 800}, {false, 392, 392}},
    FlipCase{"narrow_more_left", {201, 400}, {0, 0, 400, 800}, {true, 392, 392}},
    FlipCase{"second_screen_offset", {3700, 100}, {1920, 40, 1920, 1000}, {true, 932, 52}},
    FlipCase{"pointer_left_of_frame", {-50, 500}, {0, 0, 400, 800}, {false, 292, 492}},
    FlipCase{"pointer_at_top_edge", {500, 1045}, {0, 0, 1920, 1050}, {false, -3, 1037}}
    };
    // clang-format on
    for (const FlipCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(fanFlipDecision(c.pointer, c.frame, fan(20)), c.expected);
    }
}

struct HitCase {
    const char* name;
    FanGeometry g;
    double scroll, dx, dy;
    PickerHit expected;
};

const double r12 = fan(20).outsideRadius();
PickerHit item(std::int64_t i) {
    return PickerHit::item(i);
}

// clang-format off
TEST(FanHit, Classifies) {
    const HitCase cases[] = {
    HitCase{"halfway_rounds_away_from_zero", fan(20), 0, 200, 0, item(6)},
    HitCase{"inside_dead_zone", fan(20), 0, 17.99, 0, PickerHit::center()},
    HitCase{"behind_by_14_still_hits", fan(20), 0, -14, 100, item(11)},
    HitCase{"behind_beyond_14_outside", fan(20), 0, -14.01, 100, PickerHit::outside()},
    HitCase{"beyond_outside_radius", fan(20), 0, r12 + 0.01, 0, PickerHit::outside()},
    HitCase{"below_the_arc_clamps_to_last", fan(20), 0, 30, 100, item(11)},
    HitCase{"scrolled_top_half_row_rounds_up", fan(20), 2.5, 100 * std::cos(-65 * deg), 100 * std::sin(-65 * deg), item(3)},
    HitCase{"scrolled_clamps_to_last_visible", fan(20), 2.5, 30, 100, item(13)},
    HitCase{"flipped_right_side_is_behind", fan(20, 12, true), 0, 200, 0, PickerHit::outside()},
    HitCase{"tilted_down", fan(20, 12, false, 14 * deg), 0, 200, 0, item(4)},
    HitCase{"empty_fan_is_outside", fan(0), 0, 0, 0, PickerHit::outside()},
    HitCase{"scrolled_past_the_end_is_outside", fan(5), 10, 200, 0, PickerHit::outside()},
    HitCase{"nan_offset_is_center", fan(20), 0, nan, 50, PickerHit::center()},
    HitCase{"nan_centre_angle_stays_on_the_arc", fan(20, 12, false, nan), 0, 200, 0, item(0)}
    };
    // clang-format on
    for (const HitCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(fanHit(c.g, c.scroll, c.dx, c.dy), c.expected);
    }
}

struct SpokeCase {
    const char* name;
    Spoke spoke;
    SpokeTransform expected;
};

constexpr double lo = -65 * deg, hi = 65 * deg, st = 130.0 / 11 * deg;
Spoke spoke(double angle, double reach, double push = 0, bool flip = false) {
    return {angle, reach, push, 100, flip, lo, hi, st};
}

// clang-format off
TEST(FanSpoke, PlacesTheRow) {
    const SpokeCase cases[] = {
    SpokeCase{"collapsed", spoke(0.3, 0), {0.3, 0.35, 0, 0, 0}},
    SpokeCase{"half_out", spoke(0, 0.5), {0, 0.675, 0.7, 115, 0}},
    SpokeCase{"overshoot_keeps_full_size", spoke(0, 1.2), {0, 1, 1, 276, 0}},
    SpokeCase{"pushed", spoke(0, 1, 8), {0, 1, 1, 238, 0}},
    SpokeCase{"flipped", spoke(-0.4, 1, 0, true), {0.4, 1, 1, -230 * std::cos(-0.4), 230 * std::sin(-0.4)}},
    SpokeCase{"half_step_beyond", spoke(hi + st / 2, 1), {hi + st / 2, 1, 0.5, 230 * std::cos(hi + st / 2), 230 * std::sin(hi + st / 2)}}
    };
    // clang-format on
    for (const SpokeCase& c : cases) {
        SCOPED_TRACE(c.name);
        const SpokeTransform t = spokeTransform(c.spoke);
        EXPECT_NEAR(t.rotation, c.expected.rotation, 1e-9);
        EXPECT_NEAR(t.scale, c.expected.scale, 1e-9);
        EXPECT_NEAR(t.opacity, c.expected.opacity, 1e-9);
        EXPECT_NEAR(t.offsetX, c.expected.offsetX, 1e-9);
        EXPECT_NEAR(t.offsetY, c.expected.offsetY, 1e-9);
    }
}

} // namespace
} // namespace vt
