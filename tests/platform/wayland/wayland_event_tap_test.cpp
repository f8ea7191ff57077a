// The Wayland tap: words from the user's bindings and the picker surface's events, through the
// real controller, with the paste poster recorded.
#include "core/hold_paste_controller.h"
#include "platform/paste_poster.h"
#include "platform/wayland/wayland_event_tap.h"
#include "tests/doubles/fake_picker_panel.h"
#include "tests/doubles/manual_main_queue.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

namespace vt {
namespace {

using Word = WaylandEventTap::Word;
constexpr auto kCmd = TapEventFlag::command;

struct Posted {
    std::int64_t keycode;
    bool down;
    std::uint64_t flags;
    bool pastBindings;
    bool operator==(const Posted&) const = default;
};

class RecordingPoster final : public PastePoster {
public:
    explicit RecordingPoster(std::vector<Posted>& log) : log_(log) {}
    bool isValid() const override { return true; }
    bool post(std::int64_t keycode, bool down, std::uint64_t flags, bool past) override {
        log_.push_back({keycode, down, flags, past});
        return true;
    }

private:
    std::vector<Posted>& log_;
};

const std::vector<Posted> kBoundPaste{{TapKeyCode::v, true, kCmd, true},
                                      {TapKeyCode::v, false, kCmd, true}};

TapEvent event(std::int64_t keycode = 0, std::uint64_t flags = kCmd) {
    TapEvent e;
    e.keycode = keycode;
    e.flags = flags;
    return e;
}

class WaylandTapTest : public ::testing::Test {
protected:
    std::vector<Posted> posted;
    WaylandEventTap tap{std::make_unique<RecordingPoster>(posted)};
    test::ManualMainQueue queue;
    test::FakePickerPanel ring{8};
    test::FakePickerPanel fan{8};
    HoldPasteController controller{tap, queue, ring, fan};
    std::vector<int> committed;

    void SetUp() override {
        tap.setPickerReportsInput(true);
        controller.items = [] { return std::vector<ClipItem>(3); };
        controller.onCommit = [this](const ClipItem&) { committed.push_back(1); };
    }
    void hold() {
        tap.hear(Word::holdPress);
        queue.advance(controller.holdDelay);
    }
};

TEST_F(WaylandTapTest, WordsBecomeVKeyEventsAndWhatPassesIsTypedAgain) {
    EXPECT_EQ(WaylandEventTap::parseWord("hold press\n"), Word::holdPress);
    EXPECT_EQ(WaylandEventTap::parseWord("hold release\n"), Word::holdRelease);
    EXPECT_EQ(WaylandEventTap::parseWord("pick\n"), Word::pick);
    EXPECT_EQ(WaylandEventTap::parseWord("activate\n"), std::nullopt);

    std::vector<TapEvent> seen;
    tap.create(~0ull, [&](std::uint32_t, const TapEvent& e) {
        seen.push_back(e);
        return false; // everything passes, as with an empty history
    });
    tap.enable(true);
    tap.hear(Word::holdPress);
    tap.hear(Word::holdPress); // the binding's repeat
    tap.hear(Word::holdRelease);
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].type, TapEventType::keyDown);
    EXPECT_EQ(seen[0].flags, kCmd);
    EXPECT_EQ(seen[0].autorepeat, 0);
    EXPECT_EQ(seen[1].autorepeat, 1);
    EXPECT_EQ(seen[2].type, TapEventType::keyUp);
    EXPECT_EQ(seen[2].keycode, TapKeyCode::v);
    // The binding took the chord, so what passed reaches the application typed again.
    EXPECT_EQ(posted, (std::vector<Posted>{kBoundPaste[0], kBoundPaste[0], kBoundPaste[1]}));
    // A release that overtook its press follows it.
    tap.hear(Word::holdRelease);
    tap.hear(Word::holdPress);
    ASSERT_EQ(seen.size(), 5u);
    EXPECT_EQ(seen[3].type, TapEventType::keyDown);
    EXPECT_EQ(seen[4].type, TapEventType::keyUp);
    seen.resize(3);

    // The surface's Ctrl release keeps the command flag only after a pick.
    tap.deliver(TapEventType::flagsChanged, event(0, 0));
    tap.hear(Word::pick);
    tap.deliver(TapEventType::flagsChanged, event(0, 0));
    EXPECT_EQ(seen.at(3).flags, 0u);
    EXPECT_EQ(seen.at(4).type, TapEventType::keyDown);
    EXPECT_EQ(seen.at(5).flags, kCmd);
}

TEST_F(WaylandTapTest, AShortPressPastesOncePastTheBindingEvenBeforeTheTapRuns) {
    tap.hear(Word::holdPress);
    tap.hear(Word::holdRelease);
    EXPECT_EQ(posted, kBoundPaste);
    EXPECT_TRUE(tap.heard());

    posted.clear();
    ASSERT_TRUE(controller.start());
    tap.hear(Word::holdPress);
    queue.advance(0.1);
    tap.hear(Word::holdRelease);
    queue.advance(1.0);
    EXPECT_EQ(posted, kBoundPaste);
    EXPECT_TRUE(fan.shown.empty());

    // A press still held when the tap starts opens the picker once the tap runs.
    controller.stop();
    tap.hear(Word::holdPress);
    ASSERT_TRUE(controller.start());
    QCoreApplication::processEvents();
    queue.advance(controller.holdDelay);
    EXPECT_EQ(fan.shown.size(), 1u);

    // With no picker surface to tell of Ctrl, the release closes the picker with a pick.
    tap.setPickerReportsInput(false);
    posted.clear();
    tap.hear(Word::holdRelease);
    EXPECT_EQ(fan.hides, std::vector<bool>{true});
    queue.advance(0.1);
    EXPECT_EQ(posted, kBoundPaste);
}

// What the picker's surface reports while the picker is open.
TEST_F(WaylandTapTest, ThePickerSurfaceEventsPickOrCancel) {
    struct Step {
        std::uint32_t type;
        TapEvent e;
    };
    struct Case {
        const char* name;
        bool pick; // opened with --pick instead of a hold
        std::vector<Step> steps;
        std::vector<std::int64_t> selected; // what the picker showed selected on the way
        bool pastes;
    };
    TapEvent pointerAt;
    pointerAt.location = {560, 400};
    const std::vector<Case> cases{
        {"arrow, Ctrl up",
         false,
         {{TapEventType::keyDown, event(TapKeyCode::right)},
          {TapEventType::keyUp, event(TapKeyCode::right)},
          {TapEventType::flagsChanged, event(0, 0)}},
         {1},
         true},
        {"digit", false, {{TapEventType::keyDown, event(TapKeyCode::digit3)}}, {}, true},
        {"pointer, Ctrl up",
         false,
         {{TapEventType::mouseMoved, pointerAt}, {TapEventType::flagsChanged, event(0, 0)}},
         {2},
         true},
        {"Escape", false, {{TapEventType::keyDown, event(TapKeyCode::escape)}}, {}, false},
        {"pick, Ctrl up, Return",
         true,
         {{TapEventType::flagsChanged, event(0, 0)},
          {TapEventType::keyDown, event(TapKeyCode::down, 0)},
          {TapEventType::keyDown, event(TapKeyCode::returnKey, 0)}},
         {1},
         true},
        {"pick, click", true, {{TapEventType::leftMouseDown, event(0, 0)}}, {}, true},
        {"pick, Escape", true, {{TapEventType::keyDown, event(TapKeyCode::escape, 0)}}, {}, false},
    };
    fan.hitFunction = [](double dx, double) {
        return dx > 0 ? PickerHit::item(2) : PickerHit::center();
    };
    ASSERT_TRUE(controller.start());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        posted.clear();
        committed.clear();
        fan.selected.clear();
        fan.hides.clear();
        if (c.pick) {
            tap.hear(Word::pick);
            queue.advance(controller.holdDelay);
        } else {
            hold();
            tap.hear(Word::holdRelease); // V let go first: the picker stays
        }
        ASSERT_EQ(fan.hides.size(), 0u);
        for (const Step& s : c.steps)
            tap.deliver(s.type, s.e);
        queue.advance(0.1);
        EXPECT_EQ(fan.selected, c.selected);
        EXPECT_EQ(fan.hides, std::vector<bool>{c.pastes});
        EXPECT_EQ(committed.size(), c.pastes ? 1u : 0u);
        EXPECT_EQ(posted, c.pastes ? kBoundPaste : std::vector<Posted>{});
    }
}

} // namespace
} // namespace vt

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
