// The Wayland tap: words from the user's bindings and the picker surface's events, through the
// real controller, with the paste poster recorded.
#include "core/hold_paste_controller.h"
#include "platform/paste_poster.h"
#include "platform/wayland/wayland_event_tap.h"
#include "tests/doubles/fake_picker_panel.h"
#include "tests/doubles/manual_main_queue.h"

#include <QCoreApplication>
#include <gtest/gtest.h>
#include <thread>
#include <tuple>

namespace vt {
namespace {

using Word = WaylandEventTap::Word;
constexpr auto kCmd = TapEventFlag::command;

// Key, down, flags, typed past the binding.
using Posted = std::tuple<std::int64_t, bool, std::uint64_t, bool>;

struct RecordingPoster final : PastePoster {
    explicit RecordingPoster(std::vector<Posted>& out) : log(out) {}
    bool isValid() const override { return true; }
    bool post(std::int64_t key, bool down, std::uint64_t flags, bool past) override {
        log.emplace_back(key, down, flags, past);
        return true;
    }
    std::vector<Posted>& log;
};

const std::vector<Posted> kBoundPaste{{TapKeyCode::v, true, kCmd, true},
                                      {TapKeyCode::v, false, kCmd, true}};

TapEvent event(std::uint32_t type, std::int64_t keycode = 0, std::uint64_t flags = kCmd) {
    TapEvent e;
    e.type = type;
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
    int committed = 0;

    void SetUp() override {
        tap.setPickerReportsInput(true);
        controller.items = [] { return std::vector<ClipItem>(3); };
        controller.onCommit = [this](const ClipItem&) { ++committed; };
    }
    void hold() {
        tap.hear(Word::holdPress);
        queue.advance(controller.holdDelay);
    }
};

TEST_F(WaylandTapTest, WordsBecomeVKeyEventsAndWhatPassesIsTypedAgain) {
    EXPECT_EQ(WaylandEventTap::parseWord("pick\n"), Word::pick);
    // Type (10 key-down, 11 key-up, 12 flags changed), key, auto-repeat, flags of each event.
    std::vector<std::tuple<std::uint32_t, std::int64_t, std::int64_t, std::uint64_t>> seen;
    tap.create(~0ull, [&](std::uint32_t type, const TapEvent& e) {
        seen.emplace_back(type, e.keycode, e.autorepeat, e.flags);
        return false; // everything passes, as with an empty history
    });
    tap.enable(true);
    for (Word w : {Word::holdPress, Word::holdPress, Word::holdRelease, // a repeat in between
                   Word::holdRelease, Word::holdPress}) // a release that overtook its press
        tap.hear(w);
    // A press long after the last, its release never heard, is a fresh one.
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    tap.hear(Word::holdPress);
    tap.hear(Word::holdRelease);
    // The surface's Ctrl release keeps the command flag only after a pick.
    tap.deliver(TapEventType::flagsChanged, event(TapEventType::flagsChanged, 0, 0));
    tap.hear(Word::pick);
    tap.deliver(TapEventType::flagsChanged, event(TapEventType::flagsChanged, 0, 0));
    const auto v = TapKeyCode::v;
    EXPECT_EQ(seen, (decltype(seen){{10, v, 0, kCmd},
                                    {10, v, 1, kCmd},
                                    {11, v, 0, kCmd},
                                    {10, v, 0, kCmd},
                                    {11, v, 0, kCmd},
                                    {10, v, 0, kCmd},
                                    {11, v, 0, kCmd},
                                    {12, 0, 0, 0},
                                    {10, v, 0, kCmd},
                                    {12, 0, 0, kCmd}}));
    // The binding took the chord, so each press that passed reaches the application again,
    // released at once.
    std::vector<Posted> pastes;
    for (int i = 0; i < 4; ++i)
        pastes.insert(pastes.end(), kBoundPaste.begin(), kBoundPaste.end());
    EXPECT_EQ(posted, pastes);
}

TEST_F(WaylandTapTest, WordsBeforeTheTapRunsAreTypedAtOnceOrKept) {
    tap.hear(Word::holdPress);
    tap.hear(Word::holdRelease);
    EXPECT_EQ(posted, kBoundPaste);

    // A press still held when the tap starts opens the picker once the tap runs.
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
    struct Case {
        const char* name;
        bool pick; // opened with --pick instead of a hold
        std::vector<TapEvent> steps;
        std::vector<std::int64_t> selected; // what the picker showed selected on the way
        bool pastes;
    };
    TapEvent pointerAt = event(TapEventType::mouseMoved);
    pointerAt.location = {560, 400};
    // Arrows, digits, Escape and --pick with Return run end to end (tests/e2e/wayland_e2e_test.sh).
    const std::vector<Case> cases{
        {"pointer, Ctrl up",
         false,
         {pointerAt, event(TapEventType::flagsChanged, 0, 0)},
         {2},
         true},
        {"pick, click", true, {event(TapEventType::leftMouseDown, 0, 0)}, {}, true},
    };
    fan.hitFunction = [](double dx, double) {
        return dx > 0 ? PickerHit::item(2) : PickerHit::center();
    };
    ASSERT_TRUE(controller.start());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        posted.clear();
        committed = 0;
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
        for (const TapEvent& e : c.steps)
            tap.deliver(e.type, e);
        queue.advance(0.1);
        EXPECT_EQ(fan.selected, c.selected);
        EXPECT_EQ(fan.hides, std::vector<bool>{c.pastes});
        EXPECT_EQ(committed, c.pastes ? 1 : 0);
        EXPECT_EQ(posted, c.pastes ? kBoundPaste : std::vector<Posted>{});
    }
}

} // namespace
} // namespace vt
