// Compaction of the store: a compacted copy is written beside the store and then takes the
// store's name. The store file is never missing: the copy replaces it in one atomic rename, and
// when that cannot happen the data stays under one of the two names and the result says which.
#pragma once

#include <QString>
#include <functional>

namespace store {

struct CompactionResult {
    enum class Outcome {
        Compacted,          // the store is now the compacted copy
        Failed,             // nothing was replaced; the store is as it was
        LeftUnderCopyName,  // the store file vanished and the copy could not take its name
    };
    Outcome outcome = Outcome::Failed;
    QString dataPath;  // the file that holds the store's data now
    QString reason;    // what went wrong, in the engine's or the system's words; empty on success

    bool succeeded() const { return outcome == Outcome::Compacted; }
};

// Moves the file at from to to, replacing to; returns false with a reason when it cannot.
using FileRenamer = std::function<bool(const QString& from, const QString& to, QString& reason)>;
bool renameReplacing(const QString& from, const QString& to, QString& reason);

// Compacts the store at storePath through copyPath. Fails, leaving everything as it was, when
// copyPath exists already, when the store cannot be opened or another connection is writing to
// it, or when the copy cannot be written; a partly written copy is removed (a copy that cannot
// be removed is named in the reason, as it stops the next compaction). No connection of the
// caller may be open on the store meanwhile (release the queries first).
CompactionResult compactStore(const QString& storePath, const QString& copyPath,
                              const FileRenamer& rename = renameReplacing);

} // namespace store
