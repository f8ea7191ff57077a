#pragma once
#include <QByteArray>
#include <QDateTime>
#include <QImage>
#include <QString>
#include <QStringList>
#include <QUuid>
#include <optional>

namespace vt {

// One history entry: text, an image (PNG bytes) or file references.
struct ClipItem {
    enum class Kind { text, image, files };

    QUuid id;
    Kind kind = Kind::text;
    std::optional<QString> text;
    std::optional<QByteArray> imageData;
    std::optional<QStringList> filePaths;
    QDateTime date;
    std::optional<QString> sourceApp;

    bool operator==(const ClipItem&) const = default;

    // Identity used to keep duplicates out of the history.
    QString dedupeKey() const;
    // dedupeKey() == other.dedupeKey(), without building the keys (texts and images).
    bool hasSameDedupeKey(const ClipItem& other) const;
    // One-line title: a text on one line in at most maxLength user-perceived characters, "画像"
    // for images, the first file's name (with " ほかN件" for the others) for files.
    QString snippet(qsizetype maxLength) const;
    // The decoded image for image clips (scaled down to fit 512 x 512), through
    // ThumbnailCache::shared(). On the main thread a miss starts a background decode and
    // answers nothing; the cache's observers hear when the picture is there.
    std::optional<QImage> thumbnail() const;
    // The id in its canonical upper-case hyphenated form (the thumbnail cache key).
    QString idString() const;

    // Fresh clips: a new random id and the current time.
    static ClipItem makeText(const QString& text, std::optional<QString> sourceApp = std::nullopt);
    static ClipItem makeImage(const QByteArray& png,
                              std::optional<QString> sourceApp = std::nullopt);
    static ClipItem makeFiles(const QStringList& paths,
                              std::optional<QString> sourceApp = std::nullopt);
};

// "text", "image", "files".
QString kindName(ClipItem::Kind kind);
std::optional<ClipItem::Kind> kindFromName(const QString& name);

} // namespace vt
