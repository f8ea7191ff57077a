#pragma once
#include "platform/pasteboard.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPair>
#include <memory>

namespace vt {

// The clipboard of a Wayland session, through the compositor's clipboard-manager protocol
// (ext_data_control_manager_v1, else zwlr_data_control_manager_v1). A reader thread with its own
// connection to the compositor blocks on that connection and reads each change as it is
// announced, so neither a slow owner nor our own selection can stall the program; the change
// counter moves on the main thread once a read is complete (or given up). Writes hand the
// contents to the same thread, which offers them as the selection and answers other programs'
// requests. Nothing here needs a QGuiApplication or a Wayland window.
class WaylandPasteboard final : public QObject, public Pasteboard {
    Q_OBJECT
public:
    // Connects to `displayName` (empty: $WAYLAND_DISPLAY).
    explicit WaylandPasteboard(const QByteArray& displayName = {}, QObject* parent = nullptr);
    ~WaylandPasteboard() override;

    // False when the compositor is unreachable or offers no clipboard-manager protocol; the
    // clipboard then never changes and writes fail.
    bool isValid() const;
    // The clipboard-manager protocol in use, empty when there is none.
    QByteArray protocol() const;
    // How long an owner may stay silent before its change is skipped.
    void setReadTimeout(int milliseconds);
    // How many times the reader thread has woken up so far (an idle clipboard costs none).
    std::uint64_t readerWakeups() const;

    std::int64_t changeCount() const override { return count_.load(); }
    const std::atomic<std::int64_t>* sharedChangeCount() const override { return &count_; }
    // The data device tells of every new selection.
    bool announcesChanges() const override { return true; }
    QStringList types() const override { return contents_.types; }
    QList<QUrl> fileURLs() const override { return contents_.fileURLs; }
    std::optional<QString> string(const QString& type) const override;
    std::optional<QByteArray> data(const QString& type) const override;
    void clearContents() override;
    bool setString(const QString& text, const QString& type) override;
    bool setData(const QByteArray& data, const QString& type) override;
    bool writeFileURLs(const QList<QUrl>& urls) override;
    void setOnChange(std::function<void()> handler) override { onChange_ = std::move(handler); }

    // What was read of one change: the offered types and the first representation the program
    // can use (files, then text, then PNG, then TIFF). Nothing is read of a concealed copy.
    struct Contents {
        QStringList types;
        QList<QUrl> fileURLs;
        std::optional<QString> text;
        std::optional<QByteArray> png;
        std::optional<QByteArray> tiff;
    };
    // MIME type and bytes, in the order they are offered.
    using Offer = QList<QPair<QByteArray, QByteArray>>;

private:
    class Reader;
    void deliver(const Contents& contents);
    void add(const QByteArray& mime, const QByteArray& bytes);
    bool commit();

    std::unique_ptr<Reader> reader_;
    std::atomic<std::int64_t> count_{0};
    Contents contents_;
    Offer ours_;
    std::function<void()> onChange_;
};

} // namespace vt
