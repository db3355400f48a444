#include "Compaction.h"

#include "Sqlite.h"

#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <unistd.h>

namespace store {

namespace {

// Also true for a dangling symbolic link, which VACUUM INTO would follow.
bool pathTaken(const QString& path)
{
    std::error_code error;
    return std::filesystem::symlink_status(path.toStdString(), error).type()
           != std::filesystem::file_type::not_found;
}

// Flushes a file or folder to the disk, so that a rename that follows is not seen before the
// data it names. Returns false with the system's reason.
bool syncToDisk(const QString& path, QString& reason)
{
    const int descriptor = ::open(path.toLocal8Bit().constData(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0 || ::fsync(descriptor) != 0) {
        reason = QStringLiteral("%1：无法写入磁盘（%2）").arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        if (descriptor >= 0)
            ::close(descriptor);
        return false;
    }
    ::close(descriptor);
    return true;
}

// Writes the compacted copy while `writers` keeps every other writer away from the store.
void writeCompactedCopy(const QString& storePath, const QString& copyPath)
{
    Connection source(storePath);
    SqliteStatement vacuum(source, QStringLiteral("vacuum into ?"));
    vacuum.bind(1, copyPath);
    vacuum.step();
}

// Removes the copy of a compaction that failed; a copy that stays is added to the reason.
// Nothing there to remove (the engine failed before it made the file) is no failure.
CompactionResult failedRemovingCopy(const QString& copyPath, QString reason)
{
    std::error_code error;
    std::filesystem::remove(copyPath.toStdString(), error);
    if (error)
        reason += QStringLiteral("; %1 could not be removed: %2")
                      .arg(copyPath, QString::fromStdString(error.message()));
    return {CompactionResult::Outcome::Failed, QString(), reason};
}

} // namespace

bool renameReplacing(const QString& from, const QString& to, QString& reason)
{
    std::error_code error;
    std::filesystem::rename(from.toStdString(), to.toStdString(), error);
    if (error)
        reason = QString::fromStdString(error.message());
    return !error;
}

CompactionResult compactStore(const QString& storePath, const QString& copyPath,
                              const FileRenamer& rename)
{
    if (pathTaken(copyPath))
        return {CompactionResult::Outcome::Failed, QString(),
                QStringLiteral("%1 exists already").arg(copyPath)};

    // An immediate transaction on a connection of its own holds the store's write lock from
    // before the copy is read until the copy has replaced the store: a writer already at work
    // makes compaction fail here, and none can commit to the old file in between.
    std::unique_ptr<Connection> writers;
    try {
        writers = std::make_unique<Connection>(storePath);
        writers->begin(Connection::TransactionKind::Write);
        writeCompactedCopy(storePath, copyPath);
    } catch (const StoreError& error) {
        return failedRemovingCopy(copyPath, QString::fromUtf8(error.what()));
    }

    QString reason;
    if (!syncToDisk(copyPath, reason) || !rename(copyPath, storePath, reason)) {
        if (!QFileInfo::exists(storePath))
            return {CompactionResult::Outcome::LeftUnderCopyName, copyPath, reason};
        return failedRemovingCopy(copyPath, reason);
    }
    // The rename is done and both the old and the new file are whole stores, so a folder that
    // cannot be flushed puts at most the compaction itself at risk in a crash, never the data:
    // the result stays Compacted.
    [[maybe_unused]] const bool folderFlushed = syncToDisk(QFileInfo(storePath).absolutePath(), reason);
    return {CompactionResult::Outcome::Compacted, storePath, QString()};
}

} // namespace store
