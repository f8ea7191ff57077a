#pragma once

// The animation engine, in one include.
//
// How a view uses it
// ------------------
// 1. The view owns an AnimatedValues store (on a clock, normally SteadyAnimationClock::shared())
//    and an AnimationDriver declared after it, attached with the view's repaint:
//        driver_.attach(values_, [this] { update(); });
// 2. In the model's change observer (models notify synchronously, so the observer runs inside
//    whatever transaction the change was made in), compute from the model the target of every
//    animatable quantity under a stable key and hand it to the store, then schedule a repaint:
//        values_.setTarget({qHash(item.id), kWedgeScale}, visible ? 1.0 : 0.55);
//    Keys are (owner, property): the owner is what the quantity belongs to (a clip id folded to
//    64 bits, a row index), the property a view-defined enumerator. Setting an unchanged target
//    is free and leaves a running animation alone, so recompute everything on every change.
// 3. A quantity with its own animation (a wedge's spring whenever the phase changes) passes it
//    as the bound animation, only in the update where the value it is bound to changed:
//        if (phaseChanged) values_.setTarget(key, target, Animation::spring(0.38, 0.7)
//                                                             .delayed(index * 0.022));
//        else values_.setTarget(key, target);
//    It overrides the transaction's curve, but a transaction without animation still jumps.
// 4. Paint from presented values only: values_.value(key, fallback). Never paint from the model
//    for animated quantities.
// 5. When items go away, drop their keys: values_.retainOnly(...) or values_.remove(key).
//
// The panel side changes the model inside a transaction:
//        withAnimation(Animation::spring(0.34, 0.72), [&] { model.setPhase(PickerPhase::shown); });
//        withoutAnimation([&] { model.setItems(items); });
// Outside any transaction a change jumps.
//
// Tests drive time with ManualAnimationClock and call advance(clock.now()) themselves.

#include "ui/animation_clock.h"
#include "ui/animation_curve.h"
#include "ui/animation_transaction.h"
#include "ui/animation_values.h"
