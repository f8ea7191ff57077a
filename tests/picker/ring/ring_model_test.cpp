#include "picker/ring/ring_model.h"
#include "picker/ring/ring_style.h"
#include <gtest/gtest.h>

namespace vt {
namespace {

ClipItem textClip(const char* text) {
    ClipItem item;
    item.kind = ClipItem::Kind::text;
    item.text = QString::fromUtf8(text);
    return item;
}

TEST(RingModel, StartsHiddenAndEmpty) {
    RingModel model;
    EXPECT_TRUE(model.items().empty());
    EXPECT_EQ(model.selected(), 0);
    EXPECT_EQ(model.phase(), RingModel::Phase::hidden);
    EXPECT_EQ(model.highlightAngle(), 0);
    EXPECT_FALSE(model.outside());
}

TEST(RingModel, EveryWriteNotifiesEvenWhenTheValueIsUnchanged) {
    RingModel model;
    int calls = 0;
    model.observe([&] { ++calls; });
    model.setItems({textClip("a"), textClip("b")});
    model.setSelected(1);
    model.setSelected(1);
    model.setPhase(RingModel::Phase::shown);
    model.setHighlightAngle(2.5);
    model.setOutside(false);
    EXPECT_EQ(calls, 6);
    EXPECT_EQ(model.items().size(), 2u);
    EXPECT_EQ(model.items()[1].text, QString("b"));
    EXPECT_EQ(model.selected(), 1);
    EXPECT_EQ(model.phase(), PickerPhase::shown);
    EXPECT_EQ(model.highlightAngle(), 2.5);
}

TEST(RingModel, ObserverSeesTheNewValueInsideTheWrite) {
    RingModel model;
    std::int64_t seen = -1;
    model.observe([&] { seen = model.selected(); });
    model.setSelected(4);
    EXPECT_EQ(seen, 4);
}

TEST(RingModel, UnobservedObserversStopHearing) {
    RingModel model;
    int a = 0, b = 0;
    const auto ta = model.observe([&] { ++a; });
    model.observe([&] { ++b; });
    model.setOutside(true);
    model.unobserve(ta);
    model.setOutside(false);
    EXPECT_EQ(a, 1);
    EXPECT_EQ(b, 2);
}

TEST(RingModel, ObserversMayUnobserveAndObserveWhileBeingNotified) {
    RingModel model;
    int first = 0, second = 0, late = 0;
    Observable::Token secondToken = 0;
    model.observe([&] {
        ++first;
        model.unobserve(secondToken);
        model.observe([&] { ++late; });
    });
    secondToken = model.observe([&] { ++second; });
    model.setSelected(1);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 0) << "removed before its turn";
    EXPECT_EQ(late, 0) << "added during the notification, heard from the next write on";
    model.setSelected(2);
    EXPECT_EQ(late, 1);
}

TEST(RingStyle, AccentRunsOrangeToPinkDiagonally) {
    EXPECT_EQ(RingStyle::accentA, (RgbaColor{1.0, 0.56, 0.16, 1.0}));
    EXPECT_EQ(RingStyle::accentB, (RgbaColor{0.93, 0.20, 0.56, 1.0}));
    EXPECT_EQ(RingStyle::accent.from, RingStyle::accentA);
    EXPECT_EQ(RingStyle::accent.to, RingStyle::accentB);
    EXPECT_EQ(RingStyle::accent.startX + RingStyle::accent.startY, 0);
    EXPECT_EQ(RingStyle::accent.endX * RingStyle::accent.endY, 1);
}

} // namespace
} // namespace vt
