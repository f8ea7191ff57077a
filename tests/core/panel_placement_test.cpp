#include "core/panel_placement.h"
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace vt {
namespace {

struct PlacementCase {
    const char* name;
    PointD p;
    std::vector<RectD> frames;
    std::optional<std::size_t> expected;
};

const RectD left{0, 0, 1000, 800};
const RectD right{1000, 0, 1000, 800};
const RectD far{3000, 0, 1000, 800};

TEST(Placement, ChoosesTheDisplay) {
    // clang-format off
    const PlacementCase cases[] = {
    PlacementCase{"no_frames", {5, 5}, {}, std::nullopt},
    PlacementCase{"inside_first", {10, 10}, {left, right}, 0},
    PlacementCase{"inside_second", {1500, 10}, {left, right}, 1},
    PlacementCase{"shared_edge_goes_to_min_edge_owner", {1000, 10}, {left, right}, 1},
    PlacementCase{"shared_edge_order_does_not_matter", {1000, 10}, {right, left}, 0},
    PlacementCase{"origin_corner_inside", {0, 0}, {left}, 0},
    PlacementCase{"max_corner_outside_single_still_chosen", {1000, 800}, {left}, 0},
    PlacementCase{"single_frame_far_away", {-5000, 9000}, {right}, 0},
    PlacementCase{"gap_between_equal_distance_first_wins", {2500, 10}, {right, far}, 0},
    PlacementCase{"gap_between_equal_distance_listed_other_way", {2500, 10}, {far, right}, 0},
    PlacementCase{"gap_nearer_to_second", {2900, 10}, {right, far}, 1},
    PlacementCase{"left_of_two_stacked_equal", {-100, 400}, {RectD{0, 0, 100, 400}, RectD{0, 400, 100, 400}}, 0},
    PlacementCase{"diagonal_distance", {-30, -40}, {RectD{0, 100, 10, 10}, RectD{0, 0, 10, 10}}, 1},
    PlacementCase{"below_all_nearest_by_y", {500, 2000}, {RectD{0, 0, 1000, 800}, RectD{0, 800, 1000, 800}}, 1},
    PlacementCase{"empty_frame_at_point_not_containing", {0, 0}, {RectD{0, 0, 0, 0}, RectD{10, 10, 5, 5}}, 0}
    };
    // clang-format on
    for (const PlacementCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(PanelPlacement::screenIndex(c.p, c.frames), c.expected);
    }
}

TEST(PanelPlacement, NotANumberPointFallsBackToTheFirstDisplay) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(PanelPlacement::screenIndex({nan, nan}, {far, left, right}), 0u);
}

} // namespace
} // namespace vt
