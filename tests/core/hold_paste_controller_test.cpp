#include "core/hold_paste_controller.h"
#include "tests/doubles/fake_event_tap.h"
#include "tests/doubles/fake_picker_panel.h"
#include "tests/doubles/manual_main_queue.h"
#include <QCoreApplication>
#include <QString>
#include <gtest/gtest.h>
#include <tuple>

using namespace vt;
using vt::test::FakeEventTap;
using vt::test::FakePickerPanel;
using vt::test::ManualMainQueue;

namespace {

constexpr auto kCmd = TapEventFlag::command;

std::vector<ClipItem> clips(int n) {
    std::vector<ClipItem> out(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        out[static_cast<std::size_t>(i)].text = QStringLiteral("clip %1").arg(i);
    return out;
}

class ControllerTest : public ::testing::Test {
protected:
    FakeEventTap tap;
    ManualMainQueue queue;
    FakePickerPanel ring{8};
    FakePickerPanel fan{50};
    HoldPasteController controller{tap, queue, ring, fan};
    std::vector<ClipItem> history = clips(3);
    std::vector<ClipItem> committed;

    void SetUp() override {
        controller.items = [this] { return history; };
        controller.onCommit = [this](const ClipItem& c) { committed.push_back(c); };
        ASSERT_TRUE(controller.start());
        ring.hides.clear(); // start() first stops, closing a picker that was never open
        fan.hides.clear();
    }
    void holdOpen() {
        EXPECT_TRUE(tap.keyDown(TapKeyCode::v));
        queue.advance(controller.holdDelay);
    }
    // The picker closed without a pick and nothing was pasted.
    void expectNothingPasted() {
        queue.advance(0.1);
        EXPECT_TRUE(committed.empty());
        EXPECT_TRUE(tap.posted.empty());
    }
};

TEST_F(ControllerTest, ShortPressPostsExactlyOneMarkedPasteAndSwallowsVDownAndUp) {
    EXPECT_TRUE(tap.keyDown(TapKeyCode::v));
    queue.advance(0.1);
    EXPECT_TRUE(tap.keyUp(TapKeyCode::v));
    EXPECT_EQ(tap.posted.size(), 2u);
    queue.advance(1.0); // the cancelled hold timer must not open anything later
    EXPECT_TRUE(fan.shown.empty());
    EXPECT_FALSE(tap.flagsChanged(0));
    EXPECT_EQ(tap.markedPastes(), 1);
}

// Other chords, repeats and an empty history are never intercepted.
TEST_F(ControllerTest, OtherChordsAreNeverIntercepted) {
    const std::tuple<std::uint64_t, bool, int> cases[] = {{kCmd | TapEventFlag::shift, false, 3},
                                                          {kCmd | TapEventFlag::option, false, 3},
                                                          {kCmd | TapEventFlag::control, false, 3},
                                                          {0, false, 3},
                                                          {kCmd, true, 3},
                                                          {kCmd, false, 0}};
    for (const auto& [flags, repeat, clipCount] : cases) {
        history = clips(clipCount);
        for (int i = 0; i < 3; ++i)
            EXPECT_FALSE(tap.keyDown(TapKeyCode::v, flags, repeat || i > 0)) << flags;
        queue.advance(1.0);
        EXPECT_FALSE(tap.keyUp(TapKeyCode::v, flags));
        EXPECT_FALSE(tap.flagsChanged(0));
    }
    EXPECT_TRUE(tap.posted.empty());
    EXPECT_TRUE(fan.shown.empty());
}

TEST_F(ControllerTest, HoldOpensTheFanWithTheNewestClipSelected) {
    int starting = 0;
    controller.onHoldStarting = [&] { ++starting; };
    EXPECT_TRUE(tap.keyDown(TapKeyCode::v));
    EXPECT_EQ(starting, 0); // not inside the verdict
    queue.advance(controller.holdDelay);
    EXPECT_EQ(starting, 1);
    ASSERT_EQ(fan.shown.size(), 1u);
    EXPECT_EQ(fan.shown[0], history);
    EXPECT_EQ(fan.shownSelected[0], 0);
    EXPECT_TRUE(ring.shown.empty());
    EXPECT_TRUE(tap.keyDown(TapKeyCode::v, kCmd,
                            true)); // repeats while picking are dropped
    EXPECT_TRUE(tap.keyUp(TapKeyCode::v));
    EXPECT_TRUE(tap.flagsChanged(0)); // kept until the paste, which carries its own Ctrl
    EXPECT_EQ(fan.hides, std::vector<bool>{true});
    // The hand-over runs on the next turn, not while the Ctrl release waits for
    // its verdict.
    EXPECT_TRUE(committed.empty());
    queue.runPending();
    EXPECT_EQ(committed, std::vector<ClipItem>{history[0]});
    queue.advance(0.049); // the paste follows 0.05 s after the hand-over
    EXPECT_TRUE(tap.posted.empty());
    queue.advance(0.002);
    EXPECT_EQ(tap.markedPastes(), 1);
}

TEST(HoldPasteControllerKeys, FollowTheKeyCodeTable) {
    const std::pair<std::int64_t, HPKey> table[] = {
        {18, HPKey::digit(1)}, {19, HPKey::digit(2)},    {20, HPKey::digit(3)},
        {21, HPKey::digit(4)}, {23, HPKey::digit(5)},    {22, HPKey::digit(6)},
        {26, HPKey::digit(7)}, {28, HPKey::digit(8)},    {25, HPKey::digit(9)},
        {9, HPKey::v()},       {36, HPKey::returnKey()}, {76, HPKey::returnKey()},
        {53, HPKey::escape()}, {123, HPKey::left()},     {124, HPKey::right()},
        {125, HPKey::down()},  {126, HPKey::up()},       {29, HPKey::other()},
        {83, HPKey::other()},  {0, HPKey::other()},      {65535, HPKey::other()}};
    for (const auto& [code, key] : table)
        EXPECT_EQ(HoldPasteController::key(code), key) << code;
}

TEST_F(ControllerTest, FanShowsAtMostMaxItemsAndRingAtMostEight) {
    history = clips(20);
    fan.setMaxItems(12);
    holdOpen();
    ASSERT_EQ(fan.shown.size(), 1u);
    EXPECT_EQ(fan.shown[0].size(), 12u);
    EXPECT_TRUE(tap.keyDown(TapKeyCode::escape));
    EXPECT_FALSE(tap.flagsChanged(0));

    controller.useFan = false;
    holdOpen();
    ASSERT_EQ(ring.shown.size(), 1u);
    EXPECT_EQ(ring.shown[0].size(), 8u);
    EXPECT_EQ(ring.shown[0].front(), history.front());
    EXPECT_TRUE(tap.keyDown(TapKeyCode::digit9)); // beyond the ring's eight: nothing chosen
    EXPECT_TRUE(ring.hides.empty());
    EXPECT_TRUE(tap.keyDown(TapKeyCode::digit8));
    queue.runPending();
    EXPECT_EQ(committed, std::vector<ClipItem>{history[7]});
}

// On the ring the pointer's direction from the centre selects and a click commits (releasing
// Ctrl on a wedge or far outside: the end-to-end tests).
TEST_F(ControllerTest, OnTheRingThePointerSelectsAndAClickCommits) {
    controller.useFan = false;
    ring.centre = {300, 200};
    ring.hitFunction = [](double dx, double) {
        return dx > 50 ? PickerHit::item(2) : PickerHit::item(1);
    };
    holdOpen();
    EXPECT_FALSE(tap.move(380, 210)); // pointer events always pass
    ASSERT_FALSE(ring.hitOffsets.empty());
    EXPECT_EQ(ring.hitOffsets.back(), std::make_pair(80.0, 10.0));
    EXPECT_EQ(ring.selected, std::vector<std::int64_t>{2});
    TapEvent click;
    click.location = {380, 210};
    EXPECT_TRUE(tap.deliver(TapEventType::leftMouseDown, click));
    queue.runPending();
    EXPECT_EQ(committed, std::vector<ClipItem>{history[2]});
}

// Applications on the pass-through list keep Ctrl+V (the paste keys of terminals: the
// end-to-end paste targets).
TEST_F(ControllerTest, ApplicationsOnThePassThroughListKeepTheChord) {
    controller.passesChordThrough = [] { return true; };
    EXPECT_FALSE(tap.keyDown(TapKeyCode::v));
    queue.advance(1.0);
    EXPECT_FALSE(tap.keyUp(TapKeyCode::v));
    EXPECT_TRUE(tap.posted.empty());
    EXPECT_TRUE(fan.shown.empty());
}

TEST_F(ControllerTest, ScrollMovesTheFanAndReclassifiesTheUnchangedPointer) {
    fan.centre = {100, 100};
    holdOpen();
    EXPECT_FALSE(tap.move(150, 130));
    const auto hitsBefore = fan.hitOffsets.size();
    fan.scrollMoves = true;
    fan.hitFunction = [](double, double) { return PickerHit::item(2); };
    EXPECT_TRUE(tap.wheel(-1)); // towards the user: the fan scrolls forward
    EXPECT_EQ(fan.scrolls, std::vector<double>{1.0});
    ASSERT_EQ(fan.hitOffsets.size(), hitsBefore + 1);
    EXPECT_EQ(fan.hitOffsets.back(), std::make_pair(50.0, 30.0));
    EXPECT_EQ(fan.selected.back(), 2);
    TapEvent smooth;
    smooth.scrollIsContinuous = 1;
    smooth.scrollPointDeltaAxis1 = 44.0;
    EXPECT_TRUE(tap.deliver(TapEventType::scrollWheel, smooth));
    EXPECT_EQ(fan.scrolls.back(), -2.0);
}

TEST_F(ControllerTest, StaleHoldTimersDoNothing) {
    controller.holdDelay = 0.5;
    EXPECT_TRUE(tap.keyDown(TapKeyCode::v));
    queue.advance(0.3);
    EXPECT_TRUE(tap.keyUp(TapKeyCode::v)); // cancelled; its timer is due at 0.5
    EXPECT_TRUE(tap.keyDown(TapKeyCode::v));
    queue.advance(0.25); // first timer fires now: stale
    EXPECT_TRUE(fan.shown.empty());
    queue.advance(0.25); // the current press's timer
    ASSERT_EQ(fan.shown.size(), 1u);
}

// Stopping removes the tap; a tap that cannot be made is reported.
TEST_F(ControllerTest, TapDisabledOrStopWhilePickingClosesThePickerWithoutAPick) {
    EXPECT_TRUE(tap.enabled);
    EXPECT_EQ(controller.tap(), &tap);
    holdOpen();
    EXPECT_FALSE(tap.deliver(TapEventType::tapDisabledByUserInput));
    EXPECT_EQ(fan.hides, std::vector<bool>{false});
    EXPECT_FALSE(tap.flagsChanged(0));
    holdOpen();
    controller.stop();
    EXPECT_EQ(controller.tap(), nullptr);
    EXPECT_EQ(fan.hides, (std::vector<bool>{false, false}));
    tap.createSucceeds = false;
    EXPECT_FALSE(controller.start());
    EXPECT_EQ(controller.tap(), nullptr);
    tap.createSucceeds = true;
    ASSERT_TRUE(controller.start());
    EXPECT_FALSE(tap.flagsChanged(0)); // idle: nothing is committed
    expectNothingPasted();
}

TEST_F(ControllerTest, HistoryEmptiedBeforeTheOpeningPastesNothing) {
    EXPECT_TRUE(tap.keyDown(TapKeyCode::v)); // the count (3) is taken here
    history.clear();
    queue.advance(controller.holdDelay);
    ASSERT_EQ(fan.shown.size(), 1u);
    EXPECT_TRUE(fan.shown[0].empty());
    EXPECT_FALSE(tap.flagsChanged(0)); // commits index 0 of an empty list
    expectNothingPasted();
}

} // namespace
