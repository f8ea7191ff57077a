#pragma once
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

namespace vt {

// A tiny synchronous observer for the pickers' models. Observers run inside the write that
// changed the model, so a view that observes sees the change within the caller's animation
// transaction. Main thread only.
class Observable {
public:
    using Token = std::uint64_t;

    Observable() = default;
    Observable(const Observable&) = delete;
    Observable& operator=(const Observable&) = delete;

    Token observe(std::function<void()> fn) {
        const Token token = nextToken_++;
        observers_.emplace_back(token, std::move(fn));
        return token;
    }

    // Safe from inside an observer; an observer removed mid-notification is not called.
    void unobserve(Token token) {
        for (auto& [t, fn] : observers_)
            if (t == token) fn = nullptr;
        if (notifying_ == 0) compact();
    }

protected:
    ~Observable() = default;

    void notifyObservers() {
        ++notifying_;
        // Observers added during this notification wait for the next one.
        const std::size_t count = observers_.size();
        for (std::size_t i = 0; i < count; ++i) {
            if (!observers_[i].second) continue;
            // A copy, because the observer may add or remove observers while it runs.
            const std::function<void()> fn = observers_[i].second;
            fn();
        }
        if (--notifying_ == 0) compact();
    }

private:
    void compact() {
        std::erase_if(observers_, [](const auto& entry) { return !entry.second; });
    }

    std::vector<std::pair<Token, std::function<void()>>> observers_;
    Token nextToken_ = 1;
    int notifying_ = 0;
};

} // namespace vt
