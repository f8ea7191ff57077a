#include "picker/fan/fan_model.h"
#include <gtest/gtest.h>

namespace vt {
namespace {

TEST(FanModel, StartsHiddenWithTheDefaultGeometryAndCanvas) {
    FanModel model;
    EXPECT_TRUE(model.items().empty());
    EXPECT_EQ(model.selected(), 0);
    EXPECT_EQ(model.phase(), FanModel::Phase::hidden);
    EXPECT_EQ(model.scroll(), 0);
    EXPECT_FALSE(model.outside());
    EXPECT_EQ(model.geometry().count, 0);
    EXPECT_EQ(model.geometry().visibleSlots, 12);
    EXPECT_FALSE(model.geometry().flipX);
    EXPECT_EQ(model.geometry().centerAngle, 0);
    EXPECT_EQ(model.canvas(), (SizeD{1100, 1100}));
    EXPECT_EQ(model.anchor(), (SizeD{0, 0}));
}

TEST(FanModel, EveryWriteNotifiesWithTheNewValueInPlace) {
    FanModel model;
    int calls = 0;
    double seenScroll = -1;
    model.observe([&] {
        ++calls;
        seenScroll = model.scroll();
    });
    ClipItem clip;
    clip.text = QStringLiteral("x");
    model.setItems({clip});
    model.setSelected(0);
    model.setPhase(PickerPhase::committing);
    model.setScroll(2.5);
    EXPECT_EQ(seenScroll, 2.5);
    model.setScroll(2.5);
    model.setOutside(true);
    FanGeometry g;
    g.count = 30;
    g.flipX = true;
    model.setGeometry(g);
    model.setCanvas({800, 600});
    model.setAnchor({-12, 40});
    EXPECT_EQ(calls, 9);
    EXPECT_EQ(model.items().size(), 1u);
    EXPECT_EQ(model.phase(), PickerPhase::committing);
    EXPECT_TRUE(model.outside());
    EXPECT_EQ(model.geometry(), g);
    EXPECT_EQ(model.canvas(), (SizeD{800, 600}));
    EXPECT_EQ(model.anchor(), (SizeD{-12, 40}));
}

} // namespace
} // namespace vt
