#include "core/hold_paste_machine.h"
#include <gtest/gtest.h>

namespace vt {
namespace {

using State = HoldPasteMachine::State;
constexpr HPAction swallow = HPAction::swallow;
constexpr HPAction pass = HPAction::passThrough;

HPInput cmdV(bool repeat = false) {
    return HPInput::keyDown(HPKey::v(), true, false, repeat);
}
HPInput down(HPKey k, bool repeat = false) {
    return HPInput::keyDown(k, true, false, repeat);
}

// One row of the transition tables: the machine before, one input, and everything after.
struct Row {
    const char* name;
    State before;
    bool outsideBefore;
    std::int64_t itemCount;
    HPInput input;
    State after;
    bool outsideAfter;
    HPEffects effects;
    HPAction action;
};

void PrintTo(const Row& row, std::ostream* os) {
    *os << row.name;
}

class MachineTable : public ::testing::TestWithParam<Row> {};

TEST_P(MachineTable, Transition) {
    const Row& row = GetParam();
    HoldPasteMachine m;
    m.state = row.before;
    m.isOutside = row.outsideBefore;
    m.itemCount = row.itemCount;
    const auto result = m.handle(row.input);
    EXPECT_EQ(describe(m.state), describe(row.after));
    EXPECT_EQ(m.isOutside, row.outsideAfter);
    EXPECT_EQ(describe(result.effects), describe(row.effects));
    EXPECT_EQ(result.action, row.action);
}

const State idle = State::idle();
const State pending = State::pending();
State picking(std::int64_t s) {
    return State::picking(s);
}
const HPEffects none{};
const HPEffects ordinaryPaste{HPEffect::cancelTimer(), HPEffect::normalPaste()};

// clang-format off
const Row idleRows[] = {
    {"idle_cmdV_starts_timer", idle, false, 3, cmdV(), pending, false, {HPEffect::startTimer()}, swallow},
    {"idle_cmdV_one_item", idle, false, 1, cmdV(), pending, false, {HPEffect::startTimer()}, swallow},
    {"idle_cmdV_no_items", idle, false, 0, cmdV(), idle, false, none, pass},
    {"idle_cmdV_with_other_mods", idle, false, 3, HPInput::keyDown(HPKey::v(), true, true, false), idle, false, none, pass},
    {"idle_cmdV_repeat", idle, false, 3, cmdV(true), idle, false, none, pass},
    {"idle_v_without_cmd", idle, false, 3, HPInput::keyDown(HPKey::v(), false, false, false), idle, false, none, pass},
    {"idle_stale_timer", idle, false, 3, HPInput::holdTimerFired(), idle, false, none, pass},
};

const Row pendingRows[] = {
    {"pending_v_repeat", pending, false, 3, cmdV(true), pending, false, none, swallow},
    {"pending_second_v", pending, false, 3, cmdV(), idle, false, ordinaryPaste, pass},
    {"pending_other_key", pending, false, 3, down(HPKey::other()), idle, false, ordinaryPaste, pass},
    {"pending_keyUp_v", pending, false, 3, HPInput::keyUp(HPKey::v()), idle, false, ordinaryPaste, swallow},
    {"pending_cmdReleased", pending, false, 3, HPInput::cmdReleased(), idle, false, ordinaryPaste, pass},
    {"pending_timer_opens_picker", pending, false, 3, HPInput::holdTimerFired(), picking(0), false, {HPEffect::showPicker(0)}, pass},
    {"pending_timer_clears_outside", pending, true, 3, HPInput::holdTimerFired(), picking(0), false, {HPEffect::showPicker(0)}, pass},
};

const Row insideRows[] = {
    {"in_digit_commits", picking(0), false, 3, down(HPKey::digit(3)), idle, false, {HPEffect::hidePicker(), HPEffect::commit(2)}, swallow},
    {"in_digit_beyond_count", picking(1), false, 3, down(HPKey::digit(4)), picking(1), false, none, swallow},
    {"in_v_steps", picking(0), false, 3, cmdV(), picking(1), false, {HPEffect::select(1)}, swallow},
    {"in_v_repeat_ignored", picking(1), false, 3, cmdV(true), picking(1), false, none, swallow},
    {"in_right_wraps", picking(2), false, 3, down(HPKey::right()), picking(0), false, {HPEffect::select(0)}, swallow},
    {"in_left_wraps", picking(0), false, 3, down(HPKey::left()), picking(2), false, {HPEffect::select(2)}, swallow},
    {"in_up_steps", picking(2), false, 3, down(HPKey::up()), picking(1), false, {HPEffect::select(1)}, swallow},
    {"in_return_commits", picking(1), false, 3, down(HPKey::returnKey()), idle, false, {HPEffect::hidePicker(), HPEffect::commit(1)}, swallow},
    {"in_escape_cancels", picking(1), false, 3, down(HPKey::escape()), idle, false, {HPEffect::hidePicker()}, swallow},
    {"in_other_key", picking(1), false, 3, down(HPKey::other()), picking(1), false, none, swallow},
    {"in_keyUp_v", picking(1), false, 3, HPInput::keyUp(HPKey::v()), picking(1), false, none, swallow},
    {"in_pointer_selects", picking(0), false, 3, HPInput::pointer(2), picking(2), false, {HPEffect::select(2)}, pass},
    {"in_pointer_same", picking(2), false, 3, HPInput::pointer(2), picking(2), false, none, pass},
    {"in_pointer_beyond", picking(2), false, 3, HPInput::pointer(3), picking(2), false, none, pass},
    {"in_pointerOutside", picking(1), false, 3, HPInput::pointerOutside(), picking(1), true, {HPEffect::outside(true)}, pass},
    {"in_cmdReleased_commits", picking(1), false, 3, HPInput::cmdReleased(), idle, false, {HPEffect::hidePicker(), HPEffect::commit(1)}, pass},
    {"in_click_commits", picking(2), false, 3, HPInput::click(), idle, false, {HPEffect::hidePicker(), HPEffect::commit(2)}, swallow},
};

const Row outsideRows[] = {
    {"out_digit_commits", picking(0), true, 3, down(HPKey::digit(3)), idle, false, {HPEffect::hidePicker(), HPEffect::commit(2)}, swallow},
    {"out_v_reenters_and_steps", picking(0), true, 3, cmdV(), picking(1), false, {HPEffect::outside(false), HPEffect::select(1)}, swallow},
    {"out_up_reenters", picking(1), true, 3, down(HPKey::up(), true), picking(0), false, {HPEffect::outside(false), HPEffect::select(0)}, swallow},
    {"out_arrow_one_item", picking(0), true, 1, down(HPKey::right()), picking(0), false, {HPEffect::outside(false)}, swallow},
    {"out_return_cancels", picking(1), true, 3, down(HPKey::returnKey()), idle, false, {HPEffect::hidePicker()}, swallow},
    {"out_pointer_back", picking(0), true, 3, HPInput::pointer(2), picking(2), false, {HPEffect::outside(false), HPEffect::select(2)}, pass},
    {"out_pointer_back_same", picking(1), true, 3, HPInput::pointer(1), picking(1), false, {HPEffect::outside(false), HPEffect::select(1)}, pass},
    {"out_cmdReleased_cancels", picking(1), true, 3, HPInput::cmdReleased(), idle, false, {HPEffect::hidePicker()}, pass},
    {"out_click_cancels", picking(1), true, 3, HPInput::click(), idle, false, {HPEffect::hidePicker()}, swallow},
    {"out_stale_timer", picking(1), true, 3, HPInput::holdTimerFired(), picking(1), true, none, pass},
};
// clang-format on

std::string rowName(const ::testing::TestParamInfo<Row>& info) {
    return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(Idle, MachineTable, ::testing::ValuesIn(idleRows), rowName);
INSTANTIATE_TEST_SUITE_P(Pending, MachineTable, ::testing::ValuesIn(pendingRows), rowName);
INSTANTIATE_TEST_SUITE_P(PickingInside, MachineTable, ::testing::ValuesIn(insideRows), rowName);
INSTANTIATE_TEST_SUITE_P(PickingOutside, MachineTable, ::testing::ValuesIn(outsideRows), rowName);

TEST(HoldPasteMachine, SteppingWrapsFromAnyIndexTheControllerLeft) {
    HoldPasteMachine m;
    m.itemCount = 3;
    m.state = State::picking(7); // the controller shrank the list under an open picker
    EXPECT_EQ(m.handle(down(HPKey::right())).effects, (HPEffects{HPEffect::select(2)}));
    m.state = State::picking(-5);
    EXPECT_EQ(m.handle(down(HPKey::left())).effects, (HPEffects{HPEffect::select(0)}));
}

TEST(HPEffects, HoldsAtMostTwoAndComparesOnlyTheHeldOnes) {
    HPEffects effects{HPEffect::select(1), HPEffect::commit(2)};
    // A third effect is a programming error: debug builds stop, release builds drop it.
    EXPECT_DEBUG_DEATH(effects.push_back(HPEffect::hidePicker()), "at most two");
    EXPECT_EQ(effects.size(), 2u);
    EXPECT_EQ(effects[1], HPEffect::commit(2));
    EXPECT_NE(effects, (HPEffects{HPEffect::select(1)}));
    EXPECT_NE((HPEffects{HPEffect::outside(true)}), (HPEffects{HPEffect::outside(false)}));
}

} // namespace
} // namespace vt
