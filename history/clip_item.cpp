#include "history/clip_item.h"

#include "history/clip_text.h"
#include "history/thumbnail_cache.h"
#include <QCoreApplication>

#include <QCoreApplication>
#include <QThread>

namespace vt {

namespace {

// Bytes of an image clip's head and tail that identify it for duplicate detection.
constexpr qsizetype kKeyBytes = 64;

bool onMainThread() {
    const QCoreApplication* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

QString lastPathComponent(const QString& path) {
    qsizetype end = path.size();
    while (end > 1 && path.at(end - 1) == u'/')
        --end;
    const QStringView trimmed = QStringView(path).first(end);
    if (trimmed == u"/") return QStringLiteral("/");
    const qsizetype slash = trimmed.lastIndexOf(u'/');
    return trimmed.mid(slash + 1).toString();
}

} // namespace

QString kindName(ClipItem::Kind kind) {
    switch (kind) {
    case ClipItem::Kind::text:
        return QStringLiteral("text");
    case ClipItem::Kind::image:
        return QStringLiteral("image");
    case ClipItem::Kind::files:
        return QStringLiteral("files");
    }
    return QStringLiteral("text");
}

std::optional<ClipItem::Kind> kindFromName(const QString& name) {
    if (name == u"text") return ClipItem::Kind::text;
    if (name == u"image") return ClipItem::Kind::image;
    if (name == u"files") return ClipItem::Kind::files;
    return std::nullopt;
}

QString ClipItem::dedupeKey() const {
    switch (kind) {
    case Kind::text:
        return QStringLiteral("t:") + text.value_or(QString());
    case Kind::image: {
        if (!imageData) return QStringLiteral("i:");
        const QByteArray& data = *imageData;
        return QStringLiteral("i:%1:%2:%3")
            .arg(data.size())
            .arg(QString::fromLatin1(data.first(std::min(kKeyBytes, data.size())).toBase64()),
                 QString::fromLatin1(data.last(std::min(kKeyBytes, data.size())).toBase64()));
    }
    case Kind::files:
        return QStringLiteral("f:") + filePaths.value_or(QStringList()).join(u'\n');
    }
    return {};
}

bool ClipItem::hasSameDedupeKey(const ClipItem& other) const {
    if (kind != other.kind) return false; // the keys' prefixes differ
    switch (kind) {
    case Kind::text: {
        // Absent text counts as empty; compared in place, since add() runs this over the whole
        // history on every copy.
        const QStringView a = text ? QStringView(*text) : QStringView();
        const QStringView b = other.text ? QStringView(*other.text) : QStringView();
        return a == b;
    }
    case Kind::image: {
        if (!imageData || !other.imageData) return !imageData && !other.imageData;
        const QByteArray& a = *imageData;
        const QByteArray& b = *other.imageData;
        if (a.size() != b.size()) return false;
        const qsizetype n = std::min(kKeyBytes, a.size());
        return a.first(n) == b.first(n) && a.last(n) == b.last(n);
    }
    case Kind::files:
        return dedupeKey() == other.dedupeKey();
    }
    return false;
}

QString ClipItem::snippet(qsizetype maxLength) const {
    switch (kind) {
    case Kind::text:
        return ClipText::oneLine(text.value_or(QString()), maxLength);
    case Kind::image:
        return QCoreApplication::translate("Vantrel", "画像");
    case Kind::files: {
        if (!filePaths || filePaths->isEmpty()) return {};
        QString title = lastPathComponent(filePaths->first());
        if (filePaths->size() >= 2)
            title += QCoreApplication::translate("Vantrel", " ほか%1件").arg(filePaths->size() - 1);
        return title;
    }
    }
    return {};
}

std::optional<QImage> ClipItem::thumbnail() const {
    ThumbnailCache& cache = ThumbnailCache::shared();
    const QString key = idString();
    if (auto cached = cache.object(key)) return cached;
    if (!imageData) return std::nullopt;
    // The main thread never waits on a decoder: the picture comes when it is ready.
    if (onMainThread()) {
        cache.load(key, *imageData);
        return std::nullopt;
    }
    QImage image = ThumbnailCache::decode(*imageData);
    if (image.isNull()) return std::nullopt;
    cache.setObject(key, image);
    return image;
}

QString ClipItem::idString() const {
    return id.toString(QUuid::WithoutBraces).toUpper();
}

ClipItem ClipItem::makeText(const QString& text, std::optional<QString> sourceApp) {
    return ClipItem{QUuid::createUuid(), Kind::text,   text,
                    std::nullopt,        std::nullopt, QDateTime::currentDateTimeUtc(),
                    std::move(sourceApp)};
}

ClipItem ClipItem::makeImage(const QByteArray& png, std::optional<QString> sourceApp) {
    return ClipItem{QUuid::createUuid(), Kind::image,
                    std::nullopt,        png,
                    std::nullopt,        QDateTime::currentDateTimeUtc(),
                    std::move(sourceApp)};
}

ClipItem ClipItem::makeFiles(const QStringList& paths, std::optional<QString> sourceApp) {
    return ClipItem{QUuid::createUuid(), Kind::files, std::nullopt,
                    std::nullopt,        paths,       QDateTime::currentDateTimeUtc(),
                    std::move(sourceApp)};
}

} // namespace vt
