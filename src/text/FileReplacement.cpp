#include "FileReplacement.h"

#include <QFile>
#include <atomic>
#include <map>
#include <set>
#include <cerrno>
#include <climits>
#include <dirent.h>
#include <fcntl.h>
#include <cstdio>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace textfile {

namespace {

constexpr int kMostLinksFollowed = 40;
// Room left in a file name for the temporary file's own part.
constexpr qsizetype kLongestNamePart = NAME_MAX - 48;
constexpr QByteArrayView kTemporaryEnding(".tmp");

std::atomic<FlushCall> flushCall{&::fdatasync};
std::atomic<quint64> nextSerial{0};

QByteArray folderOf(const QByteArray& path)
{
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return ".";
    return slash == 0 ? QByteArray("/") : path.left(slash);
}

QByteArray nameOf(const QByteArray& path)
{
    return path.mid(path.lastIndexOf('/') + 1);
}

QByteArray temporaryPrefix(const QByteArray& target)
{
    return '.' + nameOf(target).left(kLongestNamePart) + '.';
}

// The process id in a leftover's name, or 0 when the name is not one of target's leftovers.
qint64 leftoverOwner(QByteArrayView name, const QByteArray& prefix)
{
    if (!name.startsWith(prefix))
        return 0;
    const qsizetype ending = name.lastIndexOf(kTemporaryEnding);
    if (ending <= prefix.size()
        || (ending + kTemporaryEnding.size() < name.size()
            && name[ending + kTemporaryEnding.size()] != '-'))
        return 0;
    const QByteArrayView middle = name.sliced(prefix.size(), ending - prefix.size());
    const qsizetype dot = middle.indexOf('.');
    if (dot <= 0)
        return 0;
    bool isNumber = false;
    const qint64 pid = middle.first(dot).toLongLong(&isNumber);
    bool serialIsNumber = false;
    (void)middle.sliced(dot + 1).toULongLong(&serialIsNumber);
    return isNumber && serialIsNumber ? pid : 0;
}

bool processIsGone(qint64 pid)
{
    return pid > 0 && pid <= INT_MAX && ::kill(pid_t(pid), 0) != 0 && errno == ESRCH;
}

// The prefix of the target that a leftover's name would begin with: the name without its
// ending, serial and process id (".name.pid.serial.tmp[-…]"); empty when it has no such form.
QByteArray candidatePrefix(QByteArrayView name)
{
    const qsizetype ending = name.lastIndexOf(kTemporaryEnding);
    if (!name.startsWith('.') || ending < 0)
        return {};
    const QByteArrayView beforeEnding = name.first(ending);
    const qsizetype serialDot = beforeEnding.lastIndexOf('.');
    if (serialDot <= 0)
        return {};
    const qsizetype pidDot = beforeEnding.first(serialDot).lastIndexOf('.');
    return pidDot <= 0 ? QByteArray() : name.first(pidDot + 1).toByteArray();
}

// Temporary files of the given targets of one folder whose process no longer runs: what a kill
// left behind. One pass over the folder, however many targets.
void removeLeftovers(const QByteArray& folderName, const std::set<QByteArray>& prefixes)
{
    DIR* folder = ::opendir(folderName.constData());
    if (!folder)
        return;
    while (const dirent* entry = ::readdir(folder)) {
        const QByteArrayView name(entry->d_name);
        const QByteArray prefix = candidatePrefix(name);
        if (prefix.isEmpty() || !prefixes.contains(prefix))
            continue;
        // Tidying only: a leftover that cannot go now is tried again by the next replacement.
        if (processIsGone(leftoverOwner(name, prefix)))
            (void)::unlinkat(::dirfd(folder), entry->d_name, 0);
    }
    (void)::closedir(folder);  // fails only for a stream that is not open
}

// Flushes a folder so that the renames into it reach the disk. Some file systems cannot flush
// a folder (EINVAL), and a folder we may write but not read cannot be opened to flush it; the
// files in it are complete there all the same. Returns 0 or the error.
int flushFolder(const QByteArray& folderName)
{
    const int folder = ::open(folderName.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0)
        return 0;
    const int flushed = ::fsync(folder);
    const int error = errno;
    (void)::close(folder);  // only read, so closing it cannot lose anything
    return flushed != 0 && error != EINVAL ? error : 0;
}

} // namespace

QByteArray temporaryNameFor(const QByteArray& target, qint64 pid, quint64 serial)
{
    return folderOf(target) + '/' + temporaryPrefix(target) + QByteArray::number(pid) + '.'
           + QByteArray::number(serial) + kTemporaryEnding.toByteArray();
}

FlushCall setFlushCallForTesting(FlushCall flush)
{
    return flushCall.exchange(flush);
}

FileReplacement::FileReplacement(const QString& path, Target target) : path_(path), mode_(target)
{
    resolveTarget();
    struct stat status {};
    const bool exists = ::stat(targetName_.constData(), &status) == 0;
    for (;;) {
        temporaryName_ = temporaryNameFor(targetName_, ::getpid(), nextSerial++);
        descriptor_ = ::open(temporaryName_.constData(),
                             O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (descriptor_ >= 0)
            break;
        if (errno != EEXIST) {
            temporaryName_.clear();
            fail(errno);
        }
    }
    // A replaced file keeps its permissions and, where allowed, its owner. Our own new file
    // takes any mode we give it except on a file system without modes of its own (EPERM,
    // EOPNOTSUPP: the mount decides them for every file), so anything else is a real failure.
    // An owner other than ourselves is ours to give only with privileges (EPERM), and then the
    // data matters more than the owner.
    if (exists) {
        if (::fchmod(descriptor_, status.st_mode & 07777) != 0 && errno != EPERM
            && errno != EOPNOTSUPP)
            fail(errno);
        if (::fchown(descriptor_, status.st_uid, status.st_gid) != 0 && errno != EPERM)
            fail(errno);
    }
}

// Follows symbolic links to the file they lead to, which may not exist yet.
void FileReplacement::resolveTarget()
{
    QByteArray current = QFile::encodeName(path_);
    struct stat status {};
    bool exists = false;
    for (int links = 0;; ++links) {
        if (links == kMostLinksFollowed)
            throw writeFailure(path_, reason::kTooManyLinks);
        if (::lstat(current.constData(), &status) != 0) {
            if (errno != ENOENT)
                fail(errno);
            break;
        }
        if (mode_ == Target::MakeNew)
            throw writeFailure(path_, kAlreadyExists);
        if (!S_ISLNK(status.st_mode)) {
            exists = true;
            break;
        }
        QByteArray link(PATH_MAX, Qt::Uninitialized);
        const ssize_t length = ::readlink(current.constData(), link.data(), size_t(link.size()));
        if (length < 0)
            fail(errno);
        link.truncate(length);
        current = link.startsWith('/') ? link : folderOf(current) + '/' + link;
    }
    if (exists && S_ISDIR(status.st_mode))
        throw writeFailure(path_, reason::kIsAFolder);
    if (exists && !S_ISREG(status.st_mode))
        throw writeFailure(path_, reason::kNotARegularFile);
    targetName_ = current;
    target_ = QFile::decodeName(current);
}

// A new file takes a name that nothing holds, and fails when something took it meanwhile.
void FileReplacement::moveIntoPlace()
{
    if (mode_ == Target::Replace) {
        if (::rename(temporaryName_.constData(), targetName_.constData()) != 0)
            fail(errno);
        return;
    }
    if (::renameat2(AT_FDCWD, temporaryName_.constData(), AT_FDCWD, targetName_.constData(),
                    RENAME_NOREPLACE) == 0)
        return;
    if (errno == EEXIST)
        throw writeFailure(path_, kAlreadyExists);
    if (errno != EINVAL)
        fail(errno);
    // A file system without that rename: a second link, which never replaces, then the first goes.
    if (::link(temporaryName_.constData(), targetName_.constData()) != 0)
        fail(errno);
    // The file is in place under its name; a second name that stays behind is a leftover that
    // the next replacement of this target removes, so it does not make the write a failure.
    (void)::unlink(temporaryName_.constData());
}

// A replacement given up: its temporary file goes. Nothing here can report a failure (the
// destructor may run while a failure unwinds); a file that stays is removed as a leftover by the
// next replacement of this target once this process has ended.
FileReplacement::~FileReplacement()
{
    if (descriptor_ >= 0)
        (void)::close(descriptor_);  // nothing written through it is kept
    if (!temporaryName_.isEmpty())
        (void)::unlink(temporaryName_.constData());
}

void FileReplacement::fail(int error)
{
    throw writeFailure(path_, reason::ofErrno(error));
}

void FileReplacement::write(QByteArrayView bytes)
{
    Q_ASSERT(descriptor_ >= 0);
    const char* data = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(descriptor_, data, size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            fail(written < 0 ? errno : ENOSPC);
        data += written;
        left -= written;
    }
}

void FileReplacement::startWriteBack()
{
    Q_ASSERT(descriptor_ >= 0);
    // Only a head start: file systems that cannot do it leave the whole flush to commit().
    if (::sync_file_range(descriptor_, 0, 0, SYNC_FILE_RANGE_WRITE) != 0 && errno != EINVAL
        && errno != ENOSYS && errno != ESPIPE)
        fail(errno);
}

void FileReplacement::flushAndRename()
{
    Q_ASSERT(descriptor_ >= 0);
    if (flushCall.load()(descriptor_) != 0)
        fail(errno);
    const int descriptor = descriptor_;
    descriptor_ = -1;
    if (::close(descriptor) != 0)
        fail(errno);
    moveIntoPlace();
    temporaryName_.clear();
}

void FileReplacement::commit()
{
    flushAndRename();
    // The rename itself reaches the disk with the folder.
    if (const int error = flushFolder(folderOf(targetName_)))
        fail(error);
    removeLeftovers(folderOf(targetName_), {temporaryPrefix(targetName_)});
}

void FileReplacement::commitData()
{
    flushAndRename();
}

void finishCommits(const std::vector<QString>& targets)
{
    std::map<QByteArray, std::set<QByteArray>> prefixesByFolder;
    for (const QString& target : targets) {
        const QByteArray name = QFile::encodeName(target);
        prefixesByFolder[folderOf(name)].insert(temporaryPrefix(name));
    }
    for (const auto& [folder, prefixes] : prefixesByFolder) {
        if (const int error = flushFolder(folder))
            throw writeFailure(QFile::decodeName(folder), reason::ofErrno(error));
        removeLeftovers(folder, prefixes);
    }
}

void replaceFile(const QString& path, QByteArrayView bytes)
{
    FileReplacement file(path);
    file.write(bytes);
    file.commit();
}

} // namespace textfile
