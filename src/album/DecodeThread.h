// A thread of its own for decoding pictures, so that the window keeps answering while a large
// or slow picture decodes. Jobs run one after another; each returns what its owner does with the
// result, and that runs later on the owner's thread (the thread this object lives in), through
// its event loop. A job superseded before it ends sees its cancel flag set and can stop early.
#pragma once

#include <QObject>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace album {

class DecodeThread : public QObject {
    Q_OBJECT
public:
    // Runs on the owner's thread with the job's result.
    using Delivery = std::function<void()>;
    // Runs on the decoding thread; the flag is set when the job is no longer wanted.
    using Job = std::function<Delivery(const std::atomic<bool>& cancelled)>;

    explicit DecodeThread(QObject* parent = nullptr);
    // Cancels what is queued or running and waits for the running job to stop; no delivery
    // runs after this.
    ~DecodeThread() override;

    // The job after those queued.
    void enqueue(Job job);
    // The job instead of all others: the queued ones are dropped and the running one cancelled.
    // Its delivery may still come; owners that want only the newest result check for that.
    void replace(Job job);
    // Drops the queued jobs and cancels the running one.
    void cancelAll();
    // Whether a job is queued or running.
    bool busy() const;
    // Blocks until no job is queued or running, then runs the deliveries that are waiting, so
    // that their results are in place on return. For tests and for work that needs the result
    // before it goes on (the album export's walk).
    void waitUntilIdle();

private:
    void run();
    void cancelRunning();

    mutable std::mutex mutex_;
    std::condition_variable wake_;   // a job was queued, or the thread is to stop
    std::condition_variable idle_;   // the queue ran empty and no job runs
    std::deque<Job> queue_;
    std::shared_ptr<std::atomic<bool>> runningCancel_;  // the running job's flag, or null
    bool stopping_ = false;
    std::thread thread_;
};

} // namespace album
