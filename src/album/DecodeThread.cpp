#include "DecodeThread.h"

#include <QCoreApplication>
#include <QMetaObject>

namespace album {

DecodeThread::DecodeThread(QObject* parent) : QObject(parent), thread_([this] { run(); }) {}

DecodeThread::~DecodeThread()
{
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        queue_.clear();
        cancelRunning();
    }
    wake_.notify_all();
    thread_.join();
    // Deliveries posted meanwhile die with this object: Qt drops the calls queued for it.
}

void DecodeThread::enqueue(Job job)
{
    Q_ASSERT(job);
    {
        std::lock_guard lock(mutex_);
        queue_.push_back(std::move(job));
    }
    wake_.notify_one();
}

void DecodeThread::replace(Job job)
{
    Q_ASSERT(job);
    {
        std::lock_guard lock(mutex_);
        queue_.clear();
        cancelRunning();
        queue_.push_back(std::move(job));
    }
    wake_.notify_one();
}

void DecodeThread::cancelAll()
{
    std::lock_guard lock(mutex_);
    queue_.clear();
    cancelRunning();
}

// Called with the mutex held.
void DecodeThread::cancelRunning()
{
    if (runningCancel_)
        runningCancel_->store(true, std::memory_order_relaxed);
}

bool DecodeThread::busy() const
{
    std::lock_guard lock(mutex_);
    return runningCancel_ || !queue_.empty();
}

void DecodeThread::waitUntilIdle()
{
    {
        std::unique_lock lock(mutex_);
        idle_.wait(lock, [this] { return !runningCancel_ && queue_.empty(); });
    }
    // Every delivery was posted before its job counted as ended.
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}

void DecodeThread::run()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
        if (stopping_)
            return;
        Job job = std::move(queue_.front());
        queue_.pop_front();
        auto cancelled = std::make_shared<std::atomic<bool>>(false);
        runningCancel_ = cancelled;
        lock.unlock();
        Delivery delivery;
        try {
            delivery = job(*cancelled);
        } catch (...) {
            // A job reports its own failures through its delivery; anything else it lets
            // through has no one to go to and must not end the thread.
        }
        if (delivery && !cancelled->load())
            QMetaObject::invokeMethod(this, std::move(delivery), Qt::QueuedConnection);
        lock.lock();
        runningCancel_.reset();
        if (queue_.empty())
            idle_.notify_all();
    }
}

} // namespace album
