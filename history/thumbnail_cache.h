#pragma once
#include <QByteArray>
#include <QHash>
#include <QImage>
#include <QSet>
#include <QString>
#include <functional>
#include <list>
#include <map>
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

    // Decodes `data` for `key` on a background thread, once at a time per key and never again
    // after a failure; observers hear of every image that lands (on the main thread).
    void load(const QString& key, const QByteArray& data);
    // Runs `fn` on the main thread after each background decode; returns a token for
    // removeObserver. Main thread only.
    int addObserver(std::function<void()> fn);
    void removeObserver(int token);

    // An image clip's bytes decoded at most 512 x 512 (the pickers draw a clip at most
    // 216 x 140 points at twice the density); nothing for bytes that do not decode or pictures
    // beyond pixelLimit.
    static QImage decode(const QByteArray& data);

    static constexpr int countLimit = 60;
    static constexpr int thumbnailSide = 512;
    static constexpr qint64 pixelLimit = 64'000'000;

private:
    struct Entry {
        QString key;
        QImage image;
    };
    using Order = std::list<Entry>; // most recently used first

    void loaded();

    mutable std::mutex mutex;
    mutable Order order;
    QHash<QString, Order::iterator> index;
    QSet<QString> loading_;
    QSet<QString> failed_;
    std::map<int, std::function<void()>> observers_;
    int nextToken_ = 0;
};

} // namespace vt
