// The decoding thread (newest job wins, superseded jobs stopped, results delivered on the
// owner's thread) and the thumbnail cache (bounded bytes, least recently used dropped first).
#include "album/DecodeThread.h"
#include "album/ThumbnailCache.h"

#include <QCoreApplication>
#include <QStringList>
#include <QThread>
#include <gtest/gtest.h>
#include <memory>

using album::DecodeThread;
using album::ThumbnailCache;

namespace {

// Queues a job that runs until it is cancelled, then still offers a result (which must be
// dropped), and returns once it runs.
void startUntilCancelled(DecodeThread& thread, QStringList& delivered)
{
    auto started = std::make_shared<std::atomic<bool>>(false);
    thread.enqueue([&delivered, started](const std::atomic<bool>& cancelled) -> DecodeThread::Delivery {
        *started = true;
        while (!cancelled.load())
            QThread::yieldCurrentThread();
        return [&delivered] { delivered << "cancelled job"; };
    });
    while (!*started)
        QThread::yieldCurrentThread();
}

DecodeThread::Job named(QStringList& delivered, const QString& name, Qt::HANDLE* ranOn = nullptr)
{
    return [&delivered, name, ranOn](const std::atomic<bool>&) -> DecodeThread::Delivery {
        if (ranOn)
            *ranOn = QThread::currentThreadId();
        return [&delivered, name] { delivered << name; };
    };
}

TEST(DecodeThread, RunsJobsInTurnOffTheCallersThreadAndDeliversOnIt)
{
    DecodeThread thread;
    QStringList delivered;
    Qt::HANDLE ranOn = nullptr;
    thread.enqueue(named(delivered, "a", &ranOn));
    thread.enqueue(named(delivered, "b"));
    thread.waitUntilIdle();
    EXPECT_EQ(delivered, (QStringList{"a", "b"}));
    EXPECT_NE(ranOn, QThread::currentThreadId());
    EXPECT_FALSE(thread.busy());
}

TEST(DecodeThread, ResultsWaitForTheEventLoop)
{
    DecodeThread thread;
    QStringList delivered;
    thread.enqueue(named(delivered, "a"));
    while (thread.busy())
        QThread::yieldCurrentThread();
    EXPECT_TRUE(delivered.isEmpty());  // done, but not taken yet
    QCoreApplication::processEvents();
    EXPECT_EQ(delivered, QStringList{"a"});
}

TEST(DecodeThread, ReplaceCancelsTheRunningJobAndDropsTheQueuedOnes)
{
    DecodeThread thread;
    QStringList delivered;
    startUntilCancelled(thread, delivered);
    thread.enqueue(named(delivered, "queued"));
    thread.replace(named(delivered, "newest"));
    thread.waitUntilIdle();
    EXPECT_EQ(delivered, QStringList{"newest"});
}

TEST(DecodeThread, CancelAllAndDestructionStopARunningJob)
{
    QStringList delivered;
    {
        DecodeThread thread;
        startUntilCancelled(thread, delivered);
        thread.cancelAll();
        thread.waitUntilIdle();
        startUntilCancelled(thread, delivered);
    }  // returns only once the job has stopped
    QCoreApplication::processEvents();
    EXPECT_TRUE(delivered.isEmpty());
}

QImage sized(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::red);
    return image;
}

TEST(ThumbnailCache, KeepsByRowAndCellSizeAndDropsTheLeastRecentlyUsedBeyondItsBytes)
{
    const qint64 one = sized(10, 10).sizeInBytes();
    ThumbnailCache cache(3 * one + 3 * 128);
    const QSize cell(10, 10);
    cache.insert({1, cell}, sized(10, 10));
    cache.insert({2, cell}, sized(10, 10));
    cache.insert({3, cell}, sized(10, 10));
    EXPECT_FALSE(cache.find({1, QSize(20, 20)}));  // another size is another thumbnail
    ASSERT_TRUE(cache.find({1, cell}));             // 1 is now the most recently used
    cache.insert({4, cell}, sized(10, 10));
    EXPECT_EQ(cache.count(), 3);
    EXPECT_FALSE(cache.find({2, cell}));
    EXPECT_TRUE(cache.find({1, cell}));
    EXPECT_TRUE(cache.find({3, cell}));
    EXPECT_LE(cache.bytes(), 3 * one + 3 * 128);

    // Replacing keeps one entry; a failure (an empty image) is kept too, and costs little.
    cache.insert({3, cell}, QImage());
    EXPECT_EQ(cache.count(), 3);
    ASSERT_TRUE(cache.find({3, cell}));
    EXPECT_TRUE(cache.find({3, cell})->isNull());
    // One thumbnail larger than the whole limit stays alone: it is about to be drawn.
    cache.insert({5, cell}, sized(100, 100));
    EXPECT_EQ(cache.count(), 1);
    EXPECT_TRUE(cache.find({5, cell}));
    cache.clear();
    EXPECT_EQ(cache.bytes(), 0);
}

} // namespace
