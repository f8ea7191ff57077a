#include "core/hold_paste_machine.h"

namespace vt {

namespace {

using Kind = HPInput::Kind;
using KeyKind = HPKey::Kind;

bool isArrow(const HPKey& key) {
    return key.kind == KeyKind::left || key.kind == KeyKind::right || key.kind == KeyKind::up ||
           key.kind == KeyKind::down;
}

bool isQualifyingPress(const HPInput& in) {
    return in.kind == Kind::keyDown && in.key.kind == KeyKind::v && in.cmd && !in.otherMods &&
           !in.isRepeat;
}

} // namespace

HoldPasteMachine::Result HoldPasteMachine::handle(const HPInput& in) {
    switch (state.kind) {
    case State::Kind::idle:
        if (isQualifyingPress(in) && itemCount >= 1) {
            state = State::pending();
            return {HPAction::swallow, {HPEffect::startTimer()}};
        }
        return {HPAction::passThrough, {}};
    case State::Kind::pending:
        return handlePending(in);
    case State::Kind::picking:
        return isOutside ? handlePickingOutside(in) : handlePickingInside(in, state.selected);
    }
    return {HPAction::passThrough, {}};
}

HoldPasteMachine::Result HoldPasteMachine::handlePending(const HPInput& in) {
    const HPEffects ordinaryPaste{HPEffect::cancelTimer(), HPEffect::normalPaste()};
    switch (in.kind) {
    case Kind::keyDown:
        if (in.key.kind == KeyKind::v && in.isRepeat) return {HPAction::swallow, {}};
        // Another key (or a fresh V) ends the hold: paste now and let the new key through.
        state = State::idle();
        return {HPAction::passThrough, ordinaryPaste};
    case Kind::keyUp:
        if (in.key.kind == KeyKind::v) {
            state = State::idle();
            return {HPAction::swallow, ordinaryPaste};
        }
        return {HPAction::passThrough, {}};
    case Kind::cmdReleased:
        state = State::idle();
        return {HPAction::passThrough, ordinaryPaste};
    case Kind::holdTimerFired:
        state = State::picking(0);
        isOutside = false;
        return {HPAction::passThrough, {HPEffect::showPicker(0)}};
    case Kind::pointer:
    case Kind::pointerOutside:
    case Kind::click:
        return {HPAction::passThrough, {}};
    }
    return {HPAction::passThrough, {}};
}

HoldPasteMachine::Result HoldPasteMachine::handlePickingInside(const HPInput& in, std::int64_t s) {
    switch (in.kind) {
    case Kind::keyDown:
        switch (in.key.kind) {
        case KeyKind::digit:
            if (in.key.number >= 1 && in.key.number <= itemCount)
                return finish({HPEffect::hidePicker(), HPEffect::commit(in.key.number - 1)},
                              HPAction::swallow);
            return {HPAction::swallow, {}};
        case KeyKind::v:
            // Holding V keeps the selection still; only fresh presses step.
            if (in.isRepeat) return {HPAction::swallow, {}};
            return move(s, +1);
        case KeyKind::right:
        case KeyKind::down:
            return move(s, +1);
        case KeyKind::left:
        case KeyKind::up:
            return move(s, -1);
        case KeyKind::returnKey:
            return finish({HPEffect::hidePicker(), HPEffect::commit(s)}, HPAction::swallow);
        case KeyKind::escape:
            return finish({HPEffect::hidePicker()}, HPAction::swallow);
        case KeyKind::other:
            return {HPAction::swallow, {}};
        }
        return {HPAction::swallow, {}};
    case Kind::keyUp:
        return {HPAction::swallow, {}};
    case Kind::pointer:
        if (in.index && *in.index >= 0 && *in.index < itemCount && *in.index != s) {
            state = State::picking(*in.index);
            return {HPAction::passThrough, {HPEffect::select(*in.index)}};
        }
        return {HPAction::passThrough, {}};
    case Kind::pointerOutside:
        isOutside = true;
        return {HPAction::passThrough, {HPEffect::outside(true)}};
    case Kind::cmdReleased:
        return finish({HPEffect::hidePicker(), HPEffect::commit(s)}, HPAction::passThrough);
    case Kind::click:
        return finish({HPEffect::hidePicker(), HPEffect::commit(s)}, HPAction::swallow);
    case Kind::holdTimerFired:
        return {HPAction::passThrough, {}};
    }
    return {HPAction::passThrough, {}};
}

HoldPasteMachine::Result HoldPasteMachine::handlePickingOutside(const HPInput& in) {
    switch (in.kind) {
    case Kind::keyDown:
        if (in.key.kind == KeyKind::digit) {
            if (in.key.number >= 1 && in.key.number <= itemCount)
                return finish({HPEffect::hidePicker(), HPEffect::commit(in.key.number - 1)},
                              HPAction::swallow);
            return {HPAction::swallow, {}};
        }
        if ((in.key.kind == KeyKind::v && !in.isRepeat) || isArrow(in.key)) {
            // Stepping by keyboard brings the picker back under the user's control.
            isOutside = false;
            const Result inner = handle(in);
            HPEffects effects{HPEffect::outside(false)};
            for (const HPEffect& e : inner.effects)
                effects.push_back(e);
            return {inner.action, effects};
        }
        if (in.key.kind == KeyKind::returnKey || in.key.kind == KeyKind::escape)
            return finish({HPEffect::hidePicker()}, HPAction::swallow);
        return {HPAction::swallow, {}};
    case Kind::keyUp:
        return {HPAction::swallow, {}};
    case Kind::pointer:
        if (in.index && *in.index >= 0 && *in.index < itemCount) {
            state = State::picking(*in.index);
            isOutside = false;
            return {HPAction::passThrough, {HPEffect::outside(false), HPEffect::select(*in.index)}};
        }
        return {HPAction::passThrough, {}};
    case Kind::pointerOutside:
        return {HPAction::passThrough, {}};
    case Kind::cmdReleased:
        return finish({HPEffect::hidePicker()}, HPAction::passThrough);
    case Kind::click:
        return finish({HPEffect::hidePicker()}, HPAction::swallow);
    case Kind::holdTimerFired:
        return {HPAction::passThrough, {}};
    }
    return {HPAction::passThrough, {}};
}

HoldPasteMachine::Result HoldPasteMachine::finish(HPEffects effects, HPAction action) {
    state = State::idle();
    isOutside = false;
    return {action, effects};
}

HoldPasteMachine::Result HoldPasteMachine::move(std::int64_t from, std::int64_t by) {
    const std::int64_t n = itemCount > 1 ? itemCount : 1;
    // Reduce before adding so that no index the controller may have written can overflow.
    const std::int64_t next = ((from % n + by % n) % n + n) % n;
    state = State::picking(next);
    if (next == from) return {HPAction::swallow, {}};
    return {HPAction::swallow, {HPEffect::select(next)}};
}

} // namespace vt
