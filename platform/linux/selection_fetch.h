#pragma once
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <cstddef>
#include <optional>

struct _XDisplay;
union _XEvent;

namespace vt {

// What was read of one clipboard change: the offered types and the first representation the
// program can use (files, then text, then PNG, then TIFF). Nothing is read of a concealed copy;
// a copy that offers the password-manager hint is concealed unless the hint plainly says
// otherwise.
struct ClipboardSnapshot {
    QStringList types;
    QList<QUrl> fileURLs;
    std::optional<QString> text;
    std::optional<QByteArray> png;
    std::optional<QByteArray> tiff;
};

// Reads one clipboard change over a private X connection without ever waiting: each step sends
// a conversion request and returns; the owner's answers arrive through handle(). Large answers
// come in increments (INCR). The caller bounds the time an owner may stay silent.
class SelectionFetch {
public:
    enum class State { running, done };

    SelectionFetch(_XDisplay* display, unsigned long requestor, unsigned long selection,
                   unsigned long property, unsigned long time);
    SelectionFetch(const SelectionFetch&) = delete;
    SelectionFetch& operator=(const SelectionFetch&) = delete;

    // Asks the owner for its targets.
    void begin();
    // Feeds one event of the private connection; true when it belonged to this read.
    bool handle(const _XEvent& event);
    State state() const { return state_; }
    // True once the owner told us what it offers.
    bool knowsTypes() const { return knowsTypes_; }
    std::size_t bytesReceived() const { return received_; }
    // The target still awaited, for the log line of a read that timed out.
    QByteArray awaitedTarget() const { return step_ < steps_.size() ? steps_[step_].target : ""; }
    ClipboardSnapshot takeSnapshot() { return std::move(snapshot_); }

private:
    enum class Kind { targets, hint, files, text, png, tiff };
    struct Step {
        Kind kind;
        QByteArray target;
    };

    void request(const QByteArray& target);
    void received(const QByteArray& bytes, unsigned long type, int format);
    void refused();
    QByteArray atomName(unsigned long atom) const;
    void planFromTargets(const QByteArray& raw);
    void advance();
    void finish() { state_ = State::done; }

    _XDisplay* display_;
    unsigned long window_;
    unsigned long selection_;
    unsigned long property_;
    unsigned long time_;
    unsigned long requested_ = 0;
    unsigned long incrAtom_ = 0;
    bool incremental_ = false;
    unsigned long incrementType_ = 0;
    int incrementFormat_ = 0;
    QByteArray incrementBuffer_;
    QList<Step> steps_;
    qsizetype step_ = 0;
    bool knowsTypes_ = false;
    std::size_t received_ = 0;
    State state_ = State::running;
    ClipboardSnapshot snapshot_;
};

} // namespace vt
