#include "CommitQueue.h"

#include <algorithm>
#include <system_error>

namespace textfile {

CommitQueue::CommitQueue(size_t depth) : depth_(std::max<size_t>(depth, 1))
{
    try {
        committer_ = std::thread([this] { commitInOrder(); });
    } catch (const std::system_error&) {
        // No thread to be had: add() commits each file itself.
    }
}

CommitQueue::~CommitQueue()
{
    if (committer_.joinable()) {
        {
            const std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        changed_.notify_all();
        committer_.join();
    }
    try {
        finishFolders();
    } catch (const FileError&) {
        // Reported by finish(); a writer that did not call it has an error of its own to show.
    }
}

// Takes the files one by one; after a failure the rest are dropped, which removes their
// temporary files and leaves their targets as they were.
void CommitQueue::commitInOrder()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return !waiting_.empty() || stopping_; });
        if (waiting_.empty())
            return;
        if (failure_) {
            waiting_.clear();
            changed_.notify_all();
            continue;
        }
        std::unique_ptr<FileReplacement> file = std::move(waiting_.front());
        waiting_.pop_front();
        committing_ = true;
        lock.unlock();
        std::exception_ptr failure;
        try {
            file->commitData();
        } catch (...) {
            failure = std::current_exception();
        }
        const QString target = file->target();
        file.reset();
        lock.lock();
        committing_ = false;
        if (!failure)
            committed_.push_back(target);
        if (failure && !failure_)
            failure_ = failure;
        changed_.notify_all();
    }
}

void CommitQueue::rethrowFailure()
{
    if (failure_)
        std::rethrow_exception(failure_);
}

void CommitQueue::add(std::unique_ptr<FileReplacement> file)
{
    Q_ASSERT(file);
    file->startWriteBack();
    if (!committer_.joinable()) {
        file->commitData();
        committed_.push_back(file->target());
        return;
    }
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] {
        return failure_ || waiting_.size() + (committing_ ? 1 : 0) < depth_;
    });
    rethrowFailure();
    waiting_.push_back(std::move(file));
    changed_.notify_all();
}

void CommitQueue::finish()
{
    std::exception_ptr failure;
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return failure_ || (waiting_.empty() && !committing_); });
        failure = failure_;
    }
    if (!failure) {
        finishFolders();
        return;
    }
    try {
        finishFolders();
    } catch (const FileError&) {
        // The first failure is the one to report.
    }
    std::rethrow_exception(failure);
}

// Called while no commit runs (finish() waited for them, or the thread has ended) or, after a
// failure, while the thread only drops what waits.
void CommitQueue::finishFolders()
{
    std::vector<QString> committed;
    {
        const std::lock_guard lock(mutex_);
        committed.swap(committed_);
    }
    finishCommits(committed);
}

void queueReplacement(CommitQueue& queue, const QString& path, QByteArrayView bytes)
{
    auto file = std::make_unique<FileReplacement>(path);
    file->write(bytes);
    queue.add(std::move(file));
}

} // namespace textfile
