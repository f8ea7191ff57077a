#pragma once
#include "platform/pasteboard.h"

#include <QHash>

namespace vt::test {

// A clipboard held in memory: tests put contents on it as another program would (offer) and
// read back what the program wrote.
class FakePasteboard final : public Pasteboard {
public:
    // How the watcher learns of changes: by looking at the counter on the main thread, by
    // looking at a counter shared with other threads, or from announcements alone (X11, Wayland).
    enum class Notice { mainThreadCounter, sharedCounter, announced };
    explicit FakePasteboard(Notice notice = Notice::mainThreadCounter) : notice_(notice) {}

    // Another program copies: new contents and a change.
    // `announce` false leaves the change for the watcher's timer to find.
    void offer(QStringList offeredTypes, QHash<QString, QByteArray> bytes = {},
               QList<QUrl> urls = {}, bool announce = true) {
        types_ = std::move(offeredTypes);
        bytes_ = std::move(bytes);
        urls_ = std::move(urls);
        ++count_;
        if (announce && onChange_) onChange_();
    }

    std::int64_t changeCount() const override { return count_.load(); }
    const std::atomic<std::int64_t>* sharedChangeCount() const override {
        return notice_ == Notice::sharedCounter ? &count_ : nullptr;
    }
    bool announcesChanges() const override { return notice_ == Notice::announced; }
    QStringList types() const override { return types_; }
    QList<QUrl> fileURLs() const override { return urls_; }
    std::optional<QString> string(const QString& type) const override {
        return bytes_.contains(type) ? std::optional(QString::fromUtf8(bytes_[type]))
                                     : std::nullopt;
    }
    std::optional<QByteArray> data(const QString& type) const override {
        return bytes_.contains(type) ? std::optional(bytes_[type]) : std::nullopt;
    }
    void clearContents() override {
        types_.clear();
        bytes_.clear();
        urls_.clear();
        ++count_;
    }
    bool setString(const QString& text, const QString& type) override {
        return setData(text.toUtf8(), type);
    }
    bool setData(const QByteArray& bytes, const QString& type) override {
        bytes_.insert(type, bytes);
        if (!types_.contains(type)) types_.append(type);
        ++count_;
        return true;
    }
    bool writeFileURLs(const QList<QUrl>& urls) override {
        urls_ = urls;
        if (!types_.contains(PasteboardType::fileURL)) types_.append(PasteboardType::fileURL);
        ++count_;
        return true;
    }
    void setOnChange(std::function<void()> handler) override { onChange_ = std::move(handler); }

private:
    Notice notice_;
    std::atomic<std::int64_t> count_{7};
    QStringList types_;
    QHash<QString, QByteArray> bytes_;
    QList<QUrl> urls_;
    std::function<void()> onChange_;
};

} // namespace vt::test
