#pragma once
#include "ui/animation_curve.h"

#include <utility>

// Transactions: the animation that model changes made right now should be shown with. Pure C++.

namespace vt {

// The context of a change. `animation` is the curve for targets that change now (none: they
// jump, unless a value-bound animation applies); `disablesAnimations` makes every change jump,
// value-bound animations included.
struct Transaction {
    Animation animation;
    bool disablesAnimations = false;

    bool operator==(const Transaction&) const = default;
};

// The innermost open transaction on this thread, or the empty transaction (no animation)
// outside any. The views and their models live on the main thread.
const Transaction& currentTransaction();

// Opens a transaction for its lifetime. The innermost scope wins completely: a withAnimation
// inside a withoutAnimation animates, and the reverse jumps. Scopes nest strictly (LIFO).
class TransactionScope {
public:
    explicit TransactionScope(const Transaction& transaction);
    ~TransactionScope();
    TransactionScope(const TransactionScope&) = delete;
    TransactionScope& operator=(const TransactionScope&) = delete;
};

// Runs fn with changes shown through `animation`.
template <class Fn> decltype(auto) withAnimation(const Animation& animation, Fn&& fn) {
    TransactionScope scope(Transaction{animation, false});
    return std::forward<Fn>(fn)();
}

// Runs fn with every change shown at once.
template <class Fn> decltype(auto) withoutAnimation(Fn&& fn) {
    TransactionScope scope(Transaction{Animation::none(), true});
    return std::forward<Fn>(fn)();
}

} // namespace vt
