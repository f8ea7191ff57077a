#pragma once
#include <QHash>
#include <QImage>
#include <QString>
#include <list>
#include <mutex>
#include <optional>

namespace vt {

// The decoded images of image clips, shared by both pickers and filled from a background thread
// while thumbnails warm up. Thread-safe; beyond countLimit the least recently used image goes.
class ThumbnailCache {
public:
    static ThumbnailCache& shared();

    std::optional<QImage> object(const QString& key) const;
    void setObject(const QString& key, const QImage& image);
    bool contains(const QString& key) const;
    int count() const;

    static constexpr int countLimit = 60;

private:
    struct Entry {
        QString key;
        QImage image;
    };
    using Order = std::list<Entry>; // most recently used first

    mutable std::mutex mutex;
    mutable Order order;
    QHash<QString, Order::iterator> index;
};

} // namespace vt
