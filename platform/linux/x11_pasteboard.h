#pragma once
#include "platform/linux/selection_fetch.h"
#include "platform/pasteboard.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <memory>

class QMimeData;
class QSocketNotifier;
struct _XDisplay;

namespace vt {

// The CLIPBOARD selection. A private X connection watches the owner (XFixes) and reads each
// change asynchronously, so a slow or silent owner never blocks the program; the change counter
// moves once the read is complete (or given up). Writes go through the application's QClipboard,
// which answers other programs' requests (large ones incrementally) from the event loop.
class X11Pasteboard final : public QObject, public Pasteboard {
    Q_OBJECT
public:
    // Connects to `displayName` (empty: $DISPLAY). Needs a QGuiApplication for writing.
    explicit X11Pasteboard(const QByteArray& displayName = {}, QObject* parent = nullptr);
    ~X11Pasteboard() override;

    // False when the X server or its XFixes extension is unavailable; the clipboard then
    // never changes.
    bool isValid() const { return display_ != nullptr; }
    // How long an owner may stay silent before its change is skipped.
    void setReadTimeout(int milliseconds) { readTimeoutMs_ = milliseconds; }

    std::int64_t changeCount() const override { return count_.load(); }
    const std::atomic<std::int64_t>* sharedChangeCount() const override { return &count_; }
    QStringList types() const override { return snapshot_.types; }
    QList<QUrl> fileURLs() const override { return snapshot_.fileURLs; }
    std::optional<QString> string(const QString& type) const override;
    std::optional<QByteArray> data(const QString& type) const override;
    void clearContents() override;
    bool setString(const QString& text, const QString& type) override;
    bool setData(const QByteArray& data, const QString& type) override;
    bool writeFileURLs(const QList<QUrl>& urls) override;
    void setOnChange(std::function<void()> handler) override { onChange_ = std::move(handler); }

private:
    void processEvents();
    void ownerChanged(unsigned long owner, unsigned long time);
    void giveUp();
    void finishRead();
    void publish();
    bool commit();

    _XDisplay* display_ = nullptr;
    unsigned long window_ = 0;
    unsigned long clipboard_ = 0;
    unsigned long properties_[4] = {};
    unsigned reads_ = 0;
    int xfixesEvent_ = 0;
    std::unique_ptr<QSocketNotifier> notifier_;
    std::unique_ptr<SelectionFetch> fetch_;
    QTimer silence_;
    QElapsedTimer readClock_;
    int readTimeoutMs_ = 1000;
    std::atomic<std::int64_t> count_{0};
    ClipboardSnapshot snapshot_;
    std::unique_ptr<QMimeData> ours_;
    unsigned long ownWindow_ = 0;
    std::function<void()> onChange_;
};

} // namespace vt
