// Whole-file replacements committed one after another on a thread of their own, in the order
// they were handed over, so that a writer of many files goes on with its next file while the
// disk takes the last ones: their flushes and renames overlap the writer's work. Each file's
// data is on the disk before its rename; the folders, whose flush puts the renames there too,
// are flushed once at the end, by finish() (or the destructor). A file counts as written only
// once finish() has returned.
#pragma once

#include "FileReplacement.h"

#include <condition_variable>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace textfile {

class CommitQueue {
public:
    // At most depth files wait for their commit; add() waits while that many do.
    explicit CommitQueue(size_t depth = 8);
    // Commits the files still waiting, as far as they go (a writer that fails keeps what it
    // wrote before its failure), flushes their folders and ends the thread. Errors are not
    // reported here.
    ~CommitQueue();
    CommitQueue(const CommitQueue&) = delete;
    CommitQueue& operator=(const CommitQueue&) = delete;

    // Starts writing the file's data to the disk and queues its commit. Throws the FileError of
    // an earlier commit that failed; after a failure nothing more is committed.
    void add(std::unique_ptr<FileReplacement> file);
    // Waits until every file handed over is committed, then flushes their folders. Throws the
    // first commit's FileError (the files committed before it are flushed all the same).
    void finish();

private:
    void commitInOrder();
    void rethrowFailure();
    void finishFolders();

    const size_t depth_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::unique_ptr<FileReplacement>> waiting_;
    bool committing_ = false;  // the thread holds a file it took from waiting_
    bool stopping_ = false;
    std::exception_ptr failure_;
    std::vector<QString> committed_;  // targets renamed into place whose folder is not flushed
    std::thread committer_;  // not running: add() commits at once
};

// Writes bytes as a new version of the file at path through queue. Throws FileError.
void queueReplacement(CommitQueue& queue, const QString& path, QByteArrayView bytes);

} // namespace textfile
