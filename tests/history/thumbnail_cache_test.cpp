#include "history/thumbnail_cache.h"
#include "history_test_items.h"
#include "tests/doubles/watcher_test_support.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <atomic>
#include <gtest/gtest.h>
#include <thread>

namespace vt {
namespace {

using test::sampleImage;

// A PNG of one colour.
QByteArray png(int width, int height, QColor color) {
    return test::encoded(sampleImage(width, height, color), "png");
}

TEST(ThumbnailCache, KeepsTheSixtyMostRecentlyUsed) {
    ThumbnailCache cache;
    for (int i = 0; i < 60; ++i)
        cache.setObject(QString::number(i), sampleImage(1, 1, Qt::red));
    EXPECT_EQ(cache.count(), 60);
    ASSERT_TRUE(cache.object("0").has_value()); // "0" is now the most recently used
    cache.setObject("new", sampleImage(1, 1, Qt::blue));
    EXPECT_EQ(cache.count(), ThumbnailCache::countLimit);
    EXPECT_TRUE(cache.contains("0"));
    EXPECT_FALSE(cache.contains("1"));
    EXPECT_TRUE(cache.contains("new"));
    EXPECT_EQ(cache.object("1"), std::nullopt);
    cache.setObject("new", sampleImage(2, 2, Qt::blue)); // replaced, not added
    EXPECT_EQ(cache.count(), ThumbnailCache::countLimit);
    EXPECT_EQ(cache.object("new")->size(), QSize(2, 2));
}

// Several threads fill and read one cache at once, as the warm-up does beside the pickers.
TEST(ThumbnailCache, ServesSeveralThreadsAtOnce) {
    ThumbnailCache cache;
    std::atomic<int> wrong{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 6; ++t) {
        threads.emplace_back([&cache, &wrong, t] {
            for (int i = 0; i < 2000; ++i) {
                const int k = (i * 7 + t * 13) % 100;
                const QString key = QString::number(k);
                if (i % 3 == 0) {
                    cache.setObject(key, sampleImage(1, 1, QColor(k, 0, 0)));
                } else if (const auto image = cache.object(key)) {
                    if (qRed(image->pixel(0, 0)) != k) ++wrong;
                }
                if (cache.count() > ThumbnailCache::countLimit) ++wrong;
                cache.contains(key);
            }
        });
    }
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(wrong.load(), 0);
    EXPECT_LE(cache.count(), ThumbnailCache::countLimit);
}

TEST(ClipThumbnail, DecodesOnceAndServesFromTheSharedCache) {
    const ClipItem item = ClipItem::makeImage(png(30, 20, Qt::green));
    EXPECT_FALSE(ThumbnailCache::shared().contains(item.idString()));
    const auto image = item.thumbnail();
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(image->size(), QSize(30, 20));
    EXPECT_EQ(image->pixelColor(5, 5), QColor(Qt::green));
    EXPECT_TRUE(ThumbnailCache::shared().contains(item.idString()));

    // Served from the cache: the record's bytes are no longer needed.
    ClipItem same = item;
    same.imageData = QByteArray("not an image");
    EXPECT_EQ(same.thumbnail()->size(), QSize(30, 20));

    // Large images are scaled to fit the largest picker cell.
    EXPECT_EQ(ClipItem::makeImage(png(2000, 500, Qt::blue)).thumbnail()->size(), QSize(512, 128));
    EXPECT_EQ(ClipItem::makeImage(png(100, 1024, Qt::blue)).thumbnail()->size(), QSize(50, 512));
    // Nothing for bad or missing data.
    const ClipItem broken = ClipItem::makeImage("not a png");
    EXPECT_EQ(broken.thumbnail(), std::nullopt);
    EXPECT_FALSE(ThumbnailCache::shared().contains(broken.idString()));
    ClipItem empty = ClipItem::makeImage({});
    empty.imageData.reset();
    EXPECT_EQ(empty.thumbnail(), std::nullopt);
    EXPECT_EQ(ClipItem::makeText("x").thumbnail(), std::nullopt);
}

// Asked on the application's thread, a decode runs in the background and observers hear of it.
TEST(ClipThumbnail, TheMainThreadNeverWaitsForADecode) {
    int argc = 1;
    char name[] = "test";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    int heard = 0;
    const int token = ThumbnailCache::shared().addObserver([&] { ++heard; });
    const ClipItem item = ClipItem::makeImage(png(40, 30, Qt::red));
    EXPECT_EQ(item.thumbnail(), std::nullopt);
    QDeadlineTimer deadline(10000);
    while (heard == 0 && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    ThumbnailCache::shared().removeObserver(token);
    ASSERT_TRUE(item.thumbnail().has_value());
    EXPECT_EQ(item.thumbnail()->size(), QSize(40, 30));
}

} // namespace
} // namespace vt
