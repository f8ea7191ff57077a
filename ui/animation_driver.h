#pragma once
#include "ui/animation_values.h"

#include <QObject>
#include <QTimer>
#include <functional>
#include <vector>

namespace vt {

// Runs the frames of one or more AnimatedValues stores: a precise 16 ms timer that ticks only
// while some attached store is moving. Each tick advances the moving stores to their clock's now
// and calls their repaint callbacks; when everything has settled the timer stops, so an idle
// picker wakes nobody. Main thread only.
class AnimationDriver : public QObject {
    Q_OBJECT
public:
    static constexpr int kFrameIntervalMs = 16;

    explicit AnimationDriver(QObject* parent = nullptr);
    // Detaches every store; attached stores must still exist then (declare the store before the
    // driver that runs it).
    ~AnimationDriver() override;

    // Starts running `values`: the driver installs itself as the store's activity handler, so
    // any animation begun later starts the timer by itself. `repaint` is called after every
    // advance of this store.
    void attach(AnimatedValues& values, std::function<void()> repaint);
    void detach(AnimatedValues& values);

    // Starts the timer if an attached store is moving (activity handlers do this already).
    void kick();
    [[nodiscard]] bool isRunning() const { return timer_.isActive(); }
    // Frames delivered since construction.
    [[nodiscard]] quint64 frameCount() const { return frames_; }

private:
    void tick();

    struct Client {
        AnimatedValues* values;
        std::function<void()> repaint;
    };
    std::vector<Client> clients_;
    QTimer timer_;
    quint64 frames_ = 0;
};

} // namespace vt
