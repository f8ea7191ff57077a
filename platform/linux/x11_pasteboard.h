#pragma once
#include "platform/linux/selection_fetch.h"
#include "platform/pasteboard.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <memory>
#include <vector>

class QSocketNotifier;
struct _XDisplay;
union _XEvent;

namespace vt {

class OfferedMimeData;

// The CLIPBOARD selection. A private X connection watches the owner (XFixes) and reads each
// change asynchronously, so a slow or silent owner never blocks the program; the change counter
// moves once the read is complete (or given up). Writes go through the application's QClipboard,
// which answers other programs' requests (large ones incrementally) from the event loop.
// When the program that owns the clipboard quits, or asks the desktop's clipboard manager to
// keep its contents (SAVE_TARGETS; we hold CLIPBOARD_MANAGER while nobody else does), the
// owner-leaving handler may offer contents of its own; hinted contents are never kept.
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
    // XFixes tells of every new owner of the clipboard.
    bool announcesChanges() const override { return true; }
    QStringList types() const override { return snapshot_.types; }
    QList<QUrl> fileURLs() const override { return snapshot_.fileURLs; }
    std::optional<QString> string(const QString& type) const override;
    std::optional<QByteArray> data(const QString& type) const override;
    void clearContents() override;
    bool setString(const QString& text, const QString& type) override;
    bool setData(const QByteArray& data, const QString& type) override;
    bool writeFileURLs(const QList<QUrl>& urls) override;
    bool setLazyData(const QString& type, std::function<std::optional<QByteArray>()> make) override;
    void setOnChange(std::function<void()> handler) override { onChange_ = std::move(handler); }
    void setOnOwnerLeaving(std::function<bool()> handler) override {
        onOwnerLeaving_ = std::move(handler);
    }
    // True while this program is the desktop's clipboard manager.
    bool isClipboardManager() const { return managing_; }

private:
    struct SaveRequest {
        unsigned long requestor, property, target, time;
    };

    void processEvents();
    void ownerChanged(unsigned long owner, unsigned long time);
    void ownerLeft();
    void takeManagerSelection();
    void managerRequest(const _XEvent& event);
    void answerSaves();
    void reply(const SaveRequest& request, unsigned long property);
    void releaseManagerSelection();
    static void releaseAllManagerSelections();
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
    std::unique_ptr<OfferedMimeData> ours_;
    unsigned long ownWindow_ = 0;
    unsigned long owner_ = 0; // the owner the snapshot belongs to, as far as we know
    unsigned long manager_ = 0;
    bool managing_ = false;
    bool closing_ = false;
    unsigned long managerTime_ = 0;
    std::vector<SaveRequest> pendingSaves_;
    std::function<void()> onChange_;
    std::function<bool()> onOwnerLeaving_;
};

} // namespace vt
