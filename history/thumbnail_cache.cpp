#include "history/thumbnail_cache.h"

namespace vt {

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
