#include "history/thumbnail_cache.h"

#include "platform/log.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QImageReader>
#include <QThreadPool>

namespace vt {

namespace {

QThreadPool& decodePool() {
    static QThreadPool* pool = [] {
        auto* p = new QThreadPool; // lives to the end: a decode may still run at exit
        p->setMaxThreadCount(1);
        p->setThreadPriority(QThread::LowPriority);
        return p;
    }();
    return *pool;
}

} // namespace

QImage ThumbnailCache::decode(const QByteArray& data) {
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    // Copied images are kept as PNG: saying so spares loading every image plugin to guess it.
    const bool png = data.startsWith("\x89PNG\r\n\x1a\n");
    QImageReader reader(&buffer, png ? QByteArrayLiteral("png") : QByteArray());
    reader.setAutoDetectImageFormat(!png);
    const QSize size = reader.size();
    if (size.isValid() && qint64(size.width()) * size.height() > pixelLimit) {
        qCInfo(vtLog, "thumbnail: a %dx%d picture is beyond %lld pixels; not decoded", size.width(),
               size.height(), static_cast<long long>(pixelLimit));
        return {};
    }
    // Decoders that can scale while they read (JPEG) never hold the full picture.
    if (size.isValid() && (size.width() > thumbnailSide || size.height() > thumbnailSide))
        reader.setScaledSize(size.scaled(thumbnailSide, thumbnailSide, Qt::KeepAspectRatio));
    reader.setAllocationLimit(int(pixelLimit * 4 / (1024 * 1024)) + 1);
    QImage image = reader.read();
    if (image.width() > thumbnailSide || image.height() > thumbnailSide)
        image = image.scaled(thumbnailSide, thumbnailSide, Qt::KeepAspectRatio,
                             Qt::SmoothTransformation);
    return image;
}

void ThumbnailCache::load(const QString& key, const QByteArray& data) {
    {
        const std::lock_guard lock(mutex);
        if (index.contains(key) || loading_.contains(key) || failed_.contains(key)) return;
        loading_.insert(key);
    }
    decodePool().start([this, key, data] {
        const QImage image = decode(data);
        if (!image.isNull()) setObject(key, image);
        {
            const std::lock_guard lock(mutex);
            loading_.remove(key);
            if (image.isNull()) failed_.insert(key);
        }
        if (QCoreApplication* app = QCoreApplication::instance())
            QMetaObject::invokeMethod(
                app, [this] { loaded(); }, Qt::QueuedConnection);
    });
}

int ThumbnailCache::addObserver(std::function<void()> fn) {
    observers_.emplace(++nextToken_, std::move(fn));
    return nextToken_;
}

void ThumbnailCache::removeObserver(int token) {
    observers_.erase(token);
}

void ThumbnailCache::loaded() {
    // An observer may come or go meanwhile; call the ones present now.
    std::vector<int> tokens;
    for (const auto& [token, fn] : observers_)
        tokens.push_back(token);
    for (int token : tokens)
        if (auto it = observers_.find(token); it != observers_.end()) it->second();
}

ThumbnailCache& ThumbnailCache::shared() {
    static ThumbnailCache cache;
    return cache;
}

std::optional<QImage> ThumbnailCache::object(const QString& key) const {
    const std::lock_guard lock(mutex);
    const auto found = index.constFind(key);
    if (found == index.cend()) return std::nullopt;
    order.splice(order.begin(), order, found.value());
    return found.value()->image;
}

void ThumbnailCache::setObject(const QString& key, const QImage& image) {
    const std::lock_guard lock(mutex);
    const auto found = index.constFind(key);
    if (found != index.cend()) {
        found.value()->image = image;
        order.splice(order.begin(), order, found.value());
        return;
    }
    order.push_front(Entry{key, image});
    index.insert(key, order.begin());
    while (order.size() > static_cast<std::size_t>(countLimit)) {
        index.remove(order.back().key);
        order.pop_back();
    }
}

bool ThumbnailCache::contains(const QString& key) const {
    const std::lock_guard lock(mutex);
    return index.contains(key);
}

int ThumbnailCache::count() const {
    const std::lock_guard lock(mutex);
    return static_cast<int>(index.size());
}

} // namespace vt
