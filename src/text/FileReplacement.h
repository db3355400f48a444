// Whole-file replacement for every file the program writes, text or binary: the bytes go to a
// temporary file in the target's folder, which is flushed to the disk (the flush checked) and
// then renamed over the target, and the folder is flushed too. Until the rename the old file is
// untouched; after it the new one is complete. The target is never written in place. A symbolic
// link is followed: the file it leads to is replaced and the link stays. A target that exists
// but is no regular file (a folder, a device, a FIFO, a socket) is refused and left alone.
#pragma once

#include "FileErrors.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QString>
#include <vector>

namespace textfile {

class FileReplacement {
public:
    // What an existing target means: it is replaced, or the file is only ever made new (a target
    // that exists, even as a dangling link, is refused, and commit() never replaces one).
    enum class Target { Replace, MakeNew };

    // Resolves the target and creates the temporary file. Throws FileError.
    explicit FileReplacement(const QString& path, Target target = Target::Replace);
    // Without commit(), removes the temporary file: the target stays as it was.
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    // Appends bytes to the temporary file. Throws FileError (the disk is full, …).
    void write(QByteArrayView bytes);
    // Starts writing the data to the disk without waiting for it, so that a later commit()
    // finds most of it written. Throws FileError when the disk reports an error.
    void startWriteBack();
    // Flushes, renames over the target and removes temporary files that earlier writes of the
    // same target left behind when their process was killed. Throws FileError.
    void commit();
    // The first half of commit(): flushes and renames over the target. A writer of many files
    // into one folder does this for each and then finishCommits() once for them all, so that
    // the folder is flushed and searched for leftovers once rather than once per file.
    void commitData();

    // The file that is replaced: the path with its symbolic links followed.
    const QString& target() const { return target_; }
    // The temporary file, for writers that fill it by its name (the store engine). It exists,
    // empty, until they do.
    QString temporaryPath() const { return QFile::decodeName(temporaryName_); }

private:
    [[noreturn]] void fail(int error);
    void flushAndRename();
    void resolveTarget();
    void moveIntoPlace();

    QString path_;    // as the caller named it, for messages
    Target mode_;
    QString target_;
    QByteArray targetName_;
    QByteArray temporaryName_;
    int descriptor_ = -1;
};

// The second half of commit() for files committed with commitData(), given by their targets:
// flushes each of their folders, which puts the renames on the disk, and removes the temporary
// files that killed writes of those targets left behind. Throws FileError naming the folder.
void finishCommits(const std::vector<QString>& targets);

// The messages of a file that exists where a new one is made.
inline const QString kAlreadyExists = QStringLiteral("文件已存在，不会被覆盖");

// Creates or replaces the file at path with exactly these bytes. Throws FileError.
void replaceFile(const QString& path, QByteArrayView bytes);

// The name that a temporary file of target takes in target's folder, for the process pid; the
// serial is unique within the process. Leftovers are recognised by this form, also with the
// engine's companion files ("-journal") after it.
QByteArray temporaryNameFor(const QByteArray& target, qint64 pid, quint64 serial);

// Tests replace the flush of the file data (fdatasync) to make it fail; returns the previous one.
using FlushCall = int (*)(int descriptor);
FlushCall setFlushCallForTesting(FlushCall flush);

} // namespace textfile
