#include "core/hold_paste_machine.h"

// Texts for the controller's debug line, e.g. "keyDown(v cmd) -> swallow [startTimer]".

namespace vt {

std::string describe(const HPKey& key) {
    switch (key.kind) {
    case HPKey::Kind::digit:
        return "digit(" + std::to_string(key.number) + ")";
    case HPKey::Kind::v:
        return "v";
    case HPKey::Kind::escape:
        return "escape";
    case HPKey::Kind::returnKey:
        return "returnKey";
    case HPKey::Kind::left:
        return "left";
    case HPKey::Kind::right:
        return "right";
    case HPKey::Kind::up:
        return "up";
    case HPKey::Kind::down:
        return "down";
    case HPKey::Kind::other:
        return "other";
    }
    return "?";
}

std::string describe(const HPInput& in) {
    switch (in.kind) {
    case HPInput::Kind::keyDown: {
        std::string s = "keyDown(" + describe(in.key);
        if (in.cmd) s += " cmd";
        if (in.otherMods) s += " mods";
        if (in.isRepeat) s += " repeat";
        return s + ")";
    }
    case HPInput::Kind::keyUp:
        return "keyUp(" + describe(in.key) + ")";
    case HPInput::Kind::pointer:
        return "pointer(" + (in.index ? std::to_string(*in.index) : std::string("none")) + ")";
    case HPInput::Kind::cmdReleased:
        return "cmdReleased";
    case HPInput::Kind::holdTimerFired:
        return "holdTimerFired";
    case HPInput::Kind::pointerOutside:
        return "pointerOutside";
    case HPInput::Kind::click:
        return "click";
    }
    return "?";
}

std::string describe(HPAction action) {
    return action == HPAction::swallow ? "swallow" : "passThrough";
}

std::string describe(const HPEffect& e) {
    switch (e.kind) {
    case HPEffect::Kind::showPicker:
        return "showPicker(" + std::to_string(e.index) + ")";
    case HPEffect::Kind::select:
        return "select(" + std::to_string(e.index) + ")";
    case HPEffect::Kind::outside:
        return e.isOutside ? "outside(true)" : "outside(false)";
    case HPEffect::Kind::commit:
        return "commit(" + std::to_string(e.index) + ")";
    case HPEffect::Kind::startTimer:
        return "startTimer";
    case HPEffect::Kind::cancelTimer:
        return "cancelTimer";
    case HPEffect::Kind::normalPaste:
        return "normalPaste";
    case HPEffect::Kind::hidePicker:
        return "hidePicker";
    }
    return "?";
}

std::string describe(const HPEffects& effects) {
    std::string s = "[";
    for (std::size_t i = 0; i < effects.size(); ++i) {
        if (i > 0) s += ", ";
        s += describe(effects[i]);
    }
    return s + "]";
}

std::string describe(const HoldPasteMachine::State& state) {
    switch (state.kind) {
    case HoldPasteMachine::State::Kind::idle:
        return "idle";
    case HoldPasteMachine::State::Kind::pending:
        return "pending";
    case HoldPasteMachine::State::Kind::picking:
        return "picking(" + std::to_string(state.selected) + ")";
    }
    return "?";
}

} // namespace vt
