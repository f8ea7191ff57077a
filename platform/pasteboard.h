#pragma once
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>

namespace vt {

// Type identifiers the program reads and writes. Platforms map their own type names onto these;
// anything else is passed through under the platform's name.
namespace PasteboardType {
inline const QString plainText = QStringLiteral("public.utf8-plain-text");
inline const QString png = QStringLiteral("public.png");
inline const QString tiff = QStringLiteral("public.tiff");
inline const QString fileURL = QStringLiteral("public.file-url");
// Marks secrets (password managers); such copies are never recorded.
inline const QString concealed = QStringLiteral("org.nspasteboard.ConcealedType");
} // namespace PasteboardType

// The system clipboard as the clipboard watcher sees it: a change counter and typed contents.
// Reads never block on the application that owns the clipboard.
class Pasteboard {
public:
    virtual ~Pasteboard() = default;

    // Moves on every change of the clipboard's contents, ours included; cheap enough to poll.
    virtual std::int64_t changeCount() const = 0;
    // The counter behind changeCount() when any thread may read it. The watcher then looks at
    // it from a small thread of its own and wakes the main thread only when it moved, so an
    // idle program costs almost nothing. Null when changeCount() is for the main thread only.
    virtual const std::atomic<std::int64_t>* sharedChangeCount() const { return nullptr; }
    // True when the handler given to setOnChange() runs for every change another program makes,
    // so nobody needs to look at the counter on a timer: an idle program then never wakes.
    virtual bool announcesChanges() const { return false; }
    // Type identifiers offered by the current contents, in the owner's order.
    virtual QStringList types() const = 0;
    // The contents as file URLs; empty when they are not file references.
    virtual QList<QUrl> fileURLs() const = 0;
    // The contents as text for `type`, absent when not offered or unreadable.
    virtual std::optional<QString> string(const QString& type) const = 0;
    // The raw bytes for `type`, absent when not offered or unreadable.
    virtual std::optional<QByteArray> data(const QString& type) const = 0;

    // Starts new contents owned by this program; the following set/write calls fill them.
    virtual void clearContents() = 0;
    // Adds text under `type` to our contents; false when the platform refused.
    virtual bool setString(const QString& text, const QString& type) = 0;
    // Adds bytes under `type` to our contents; false when the platform refused.
    virtual bool setData(const QByteArray& data, const QString& type) = 0;
    // Adds file references that file managers paste as files and editors as paths.
    virtual bool writeFileURLs(const QList<QUrl>& urls) = 0;
    // Promises `type` in our contents: `make` runs only when another program asks for it (at
    // most once); absent bytes refuse the request. Platforms that cannot wait make it now.
    virtual bool setLazyData(const QString& type, std::function<std::optional<QByteArray>()> make) {
        const std::optional<QByteArray> bytes = make();
        return bytes && setData(*bytes, type);
    }

    // Called on the main thread right after changeCount() moved because another program
    // changed the clipboard; an empty function stops the calls.
    virtual void setOnChange(std::function<void()> handler) = 0;
    // Called on the main thread when the contents are about to be lost because the program
    // that owns them is leaving (it quit, or asked the desktop's clipboard manager to keep
    // them). The handler may write contents of its own and answers whether it did. Never
    // called when the contents were cleared on purpose or could not be read.
    virtual void setOnOwnerLeaving(std::function<bool()> handler) { (void)handler; }
};

} // namespace vt
