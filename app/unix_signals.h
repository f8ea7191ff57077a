#pragma once
#include <QObject>
#include <functional>

class QSocketNotifier;

namespace vt {

// Turns SIGTERM, SIGINT and SIGHUP into a call on the main thread, so the program can release its
// keyboard grabs and quit through the event loop instead of dying mid-write.
class UnixSignals : public QObject {
public:
    explicit UnixSignals(std::function<void(int)> onSignal, QObject* parent = nullptr);
    ~UnixSignals() override;

private:
    std::function<void(int)> onSignal_;
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace vt
