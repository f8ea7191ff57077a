#include "picker/fan/fan_geometry.h"
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <random>

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

// Twelve slots span 130 degrees, rows a pitch apart at the inner radius; the hit and range
// tables below rest on these.
TEST(FanGeometry, TwelveRowsSpanTheArcTopToBottom) {
    const FanGeometry g = fan(12);
    EXPECT_NEAR(g.rowAngle(0, 0) / deg, -65, 1e-9);
    EXPECT_NEAR(g.rowAngle(11, 0) / deg, 65, 1e-9);
    EXPECT_NEAR(g.inner(), 116.3545, 0.0001);
    for (const std::int64_t slots : {1, 6, 8, 12})
        EXPECT_GE(fan(20, slots).inner() * fan(20, slots).step(), 24 - 1e-9) << slots;
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

TEST(FanGeometry, FitStaysWithinFourteenDegreesAndIgnoresCount) {
    for (double above = -100; above <= 900; above += 37)
        for (double below = -100; below <= 900; below += 41) {
            const double a = fan(3).fittedCenterAngle(above, below);
            EXPECT_LE(std::abs(a), 14 * deg + 1e-12);
            EXPECT_EQ(a, fan(300).fittedCenterAngle(above, below));
        }
    EXPECT_EQ(fan(3).fittedCenterAngle(nan, nan), 0);
}

struct RangeCase {
    const char* name;
    std::int64_t count, slots;
    double scroll;
    Range expected;
};

// clang-format off
TEST(FanVisibleRange, RowsOnTheArc) {
    const RangeCase cases[] = {
    RangeCase{"top", 20, 12, 0, std::pair{0, 11}},
    RangeCase{"beyond_tolerance", 20, 12, 2.98, std::pair{3, 13}},
    RangeCase{"bottom", 20, 12, 8, std::pair{8, 19}},
    RangeCase{"negative_scroll", 20, 12, -0.5, std::pair{0, 10}},
    RangeCase{"scrolled_past_the_end", 5, 12, 10, std::nullopt},
    RangeCase{"empty", 0, 12, 0, std::nullopt},
    RangeCase{"negative_count", -3, 12, 0, std::nullopt},
    RangeCase{"no_slots", 20, 0, 0, std::nullopt},
    RangeCase{"nan_scroll_reads_as_top", 20, 12, nan, std::pair{0, 11}},
    RangeCase{"infinite_scroll", 20, 12, std::numeric_limits<double>::infinity(), std::nullopt}
    };
    // clang-format on
    for (const RangeCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(fan(c.count, c.slots).visibleRange(c.scroll), c.expected);
    }
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
    ShowCase{"short_list_always_top", 3, 2, 0, 0},
    ShowCase{"nan_scroll", 20, 15, nan, 4}
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
    HitCase{"origin_is_center", fan(20), 0, 0, 0, PickerHit::center()},
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

TEST(FanHitProperty, PointingAtADrawnRowSelectsIt) {
    for (const bool flip : {false, true})
        for (const std::int64_t slots : {1, 2, 5, 8, 12, 16})
            for (const double center : {-14 * deg, 0.0, 9 * deg}) {
                const FanGeometry g = fan(25, slots, flip, center);
                for (double s = 0; s <= g.maxScroll(); s += 1) {
                    const auto range = g.visibleRange(s);
                    ASSERT_TRUE(range);
                    for (std::int64_t i = range->first; i <= range->second; ++i) {
                        const double a = g.rowAngle(i, s);
                        const double r = g.inner() + FanGeometry::halfRow;
                        const double dx = (flip ? -r : r) * std::cos(a);
                        EXPECT_EQ(fanHit(g, s, dx, r * std::sin(a)), PickerHit::item(i))
                            << "slots " << slots << " flip " << flip << " scroll " << s;
                    }
                }
            }
}

// Whatever the geometry, scroll offset and pointer, a row the fan answers is on the arc.
TEST(FanHitProperty, NeverSelectsARowOffTheArc) {
    std::mt19937_64 rng(20261206);
    std::uniform_int_distribution<std::int64_t> count(0, 60), slots(1, 20);
    std::uniform_real_distribution<double> unit(0, 1), offset(-700, 700);
    std::int64_t items = 0;
    for (int n = 0; n < 200000; ++n) {
        const FanGeometry g =
            fan(count(rng), slots(rng), unit(rng) < 0.5, (unit(rng) * 28 - 14) * deg);
        const double s = unit(rng) < 0.2 ? std::round(unit(rng) * (g.maxScroll() + 1))
                                         : unit(rng) * (g.maxScroll() + 4) - 2;
        const double dx = offset(rng), dy = offset(rng);
        const PickerHit h = fanHit(g, s, dx, dy);
        if (h.kind != PickerHit::Kind::item) continue;
        ++items;
        const auto range = g.visibleRange(s);
        ASSERT_TRUE(range) << "count " << g.count << " scroll " << s;
        ASSERT_GE(h.index, range->first) << "scroll " << s << " dx " << dx << " dy " << dy;
        ASSERT_LE(h.index, range->second) << "scroll " << s << " dx " << dx << " dy " << dy;
        ASSERT_LT(h.index, g.count);
        // The row is really on the arc: at most the snap tolerance beyond either end.
        const double a = g.rowAngle(h.index, s);
        ASSERT_GE(a, g.lo() - 0.01 * g.step() - 1e-9);
        ASSERT_LE(a, g.hi() + 0.01 * g.step() + 1e-9);
    }
    EXPECT_GT(items, 20000) << "the property must actually be exercised";
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
    SpokeCase{"fully_out", spoke(0, 1), {0, 1, 1, 230, 0}},
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

TEST(FanSpoke, ZeroStepStillFadesWithoutDividingByZero) {
    Spoke s = spoke(hi + 0.005, 1);
    s.step = 0;
    EXPECT_NEAR(spokeTransform(s).opacity, 0.5, 1e-9);
}

struct WindowCase {
    const char* name;
    std::int64_t count, slots;
    double scroll;
    Range expected;
};

// clang-format off
TEST(FanDrawingWindow, TwoExtraRowsEachSide) {
    const WindowCase cases[] = {
    WindowCase{"top", 20, 12, 0, std::pair{0, 13}},
    WindowCase{"fractional", 20, 12, 2.5, std::pair{0, 16}},
    WindowCase{"bottom", 20, 12, 8, std::pair{6, 19}},
    WindowCase{"empty", 0, 12, 0, std::nullopt},
    WindowCase{"far_past_the_end", 5, 12, 40, std::nullopt},
    WindowCase{"infinite_scroll", 5, 12, -std::numeric_limits<double>::infinity(), std::nullopt}
    };
    // clang-format on
    for (const WindowCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(fanDrawingWindow(c.count, c.slots, c.scroll), c.expected);
    }
}

} // namespace
} // namespace vt
