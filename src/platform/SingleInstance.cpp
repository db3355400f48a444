#include "SingleInstance.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace platform {

namespace {

constexpr qsizetype kMessageSize = 12;  // the number and two empty parameters
constexpr int kRetryPauseMs = 50;
constexpr int kBacklog = 8;
// How long the listener rests when a caller cannot be taken (no file descriptor left).
constexpr int kListenerRestMs = 200;

QString userName()
{
    QString name = qEnvironmentVariable("USER");
    return name.isEmpty() ? QString::number(getuid()) : name;
}

// The longest path a local socket's address holds, its terminating NUL left out.
constexpr qsizetype kLongestSocketPath = sizeof(sockaddr_un::sun_path) - 1;

// The lock and the socket live in the user's runtime folder ($XDG_RUNTIME_DIR: the user's own,
// emptied at logout) when it names a folder, in the temporary folder otherwise, or when the
// socket's path would be too long for its address.
QString serverPathOf(const QString& key)
{
    const QByteArray digest = QCryptographicHash::hash((key + u'|' + userName()).toUtf8(),
                                                       QCryptographicHash::Sha1);
    const QString name = QStringLiteral("/mozhou-") + QString::fromLatin1(digest.toHex().left(16));
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (QDir::isAbsolutePath(runtime) && QFileInfo(runtime).isDir()
        && QFile::encodeName(runtime + name).size() + QByteArrayView(".lock").size() <= kLongestSocketPath)
        return runtime + name;
    return QDir::tempPath() + name;
}

// False when path does not fit an address.
bool addressOf(const QByteArray& path, sockaddr_un& address)
{
    address = {};
    address.sun_family = AF_UNIX;
    if (path.size() > kLongestSocketPath)
        return false;
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    return true;
}

int closeKeepingErrno(int fd)
{
    const int saved = errno;
    ::close(fd);
    errno = saved;
    return -1;
}

// A connected socket to path, or -1.
int connectTo(const QByteArray& path)
{
    sockaddr_un address;
    if (!addressOf(path, address))
        return -1;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        return closeKeepingErrno(fd);
    return fd;
}

// Writes all of bytes within timeoutMs; false when the peer goes away or time runs out.
bool writeAll(int fd, QByteArrayView bytes, const QElapsedTimer& waited, int timeoutMs)
{
    while (!bytes.isEmpty()) {
        const ssize_t written = ::send(fd, bytes.data(), size_t(bytes.size()), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (written > 0) {
            bytes = bytes.sliced(written);
            continue;
        }
        if (written < 0 && errno != EAGAIN && errno != EINTR)
            return false;
        pollfd wait{fd, POLLOUT, 0};
        const int left = timeoutMs - int(waited.elapsed());
        if (left <= 0 || ::poll(&wait, 1, left) < 0)
            return false;
    }
    return true;
}

// A socket listening on path that only this user may reach: it is bound inside a new private
// folder, given owner-only access and then moved to path, so no one else can connect even
// for a moment. A name left at path by a copy that died is replaced by the move.
int listenOn(const QByteArray& path)
{
    QByteArray folder = path.left(path.lastIndexOf('/') + 1) + ".mozhou-XXXXXX";
    if (!::mkdtemp(folder.data()))
        return -1;
    const QByteArray bound = folder + "/s";
    sockaddr_un address;
    int fd = -1;
    if (path.size() <= kLongestSocketPath && addressOf(bound, address)) {
        fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        if (fd >= 0
            && (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0
                || ::chmod(bound.constData(), S_IRUSR | S_IWUSR) != 0
                || ::listen(fd, kBacklog) != 0
                || ::rename(bound.constData(), path.constData()) != 0))
            fd = closeKeepingErrno(fd);
    }
    ::unlink(bound.constData());
    ::rmdir(folder.constData());
    return fd;
}

} // namespace

// One later start's connection, read until its message is whole or it goes away.
struct SingleInstance::Caller {
    explicit Caller(int socket) : fd(socket) {}
    ~Caller() { ::close(fd); }
    Caller(const Caller&) = delete;
    Caller& operator=(const Caller&) = delete;

    const int fd;
    QByteArray received;
    std::unique_ptr<QSocketNotifier> notifier;
};

SingleInstance::SingleInstance(const QString& key, QObject* parent)
    : QObject(parent), serverName_(serverPathOf(key)), lock_(serverName_ + QStringLiteral(".lock"))
{
    // Only a dead owner makes the lock stale, never its age: a copy may run for weeks.
    lock_.setStaleLockTime(0);
}

SingleInstance::~SingleInstance()
{
    callers_.clear();
    listener_.reset();
    if (listenFd_ >= 0) {
        ::close(listenFd_);
        ::unlink(QFile::encodeName(serverName_).constData());
    }
}

bool SingleInstance::wakeRunningCopy(int timeoutMs)
{
    if (lock_.isLocked() || lock_.tryLock(0))
        return false;
    if (!sendWakeUp(timeoutMs))
        std::fputs("mozhou: another copy is running but did not answer the wake-up call.\n", stderr);
    return true;
}

// The running copy may have taken the lock but not yet be listening: try again until timeoutMs.
bool SingleInstance::sendWakeUp(int timeoutMs) const
{
    QElapsedTimer waited;
    waited.start();
    QByteArray message;
    QDataStream(&message, QIODevice::WriteOnly) << kWakeUpMessage << quint32(0) << quint32(0);
    Q_ASSERT(message.size() == kMessageSize);
    const QByteArray path = QFile::encodeName(serverName_);
    do {
        const int fd = connectTo(path);
        if (fd >= 0) {
            const bool sent = writeAll(fd, message, waited, std::max(1, timeoutMs));
            ::close(fd);
            return sent;
        }
        QThread::msleep(kRetryPauseMs);
    } while (waited.elapsed() < timeoutMs);
    return false;
}

bool SingleInstance::listen()
{
    if (!lock_.isLocked() && !lock_.tryLock(0))
        return false;
    if (listenFd_ >= 0)
        return true;
    listenFd_ = listenOn(QFile::encodeName(serverName_));
    if (listenFd_ < 0)
        return false;
    listener_ = std::make_unique<QSocketNotifier>(listenFd_, QSocketNotifier::Read);
    connect(listener_.get(), &QSocketNotifier::activated, this, &SingleInstance::acceptCallers);
    return true;
}

void SingleInstance::acceptCallers()
{
    for (;;) {
        const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0 && (errno == EINTR || errno == ECONNABORTED))
            continue;  // a caller that went away before it was taken: the next one
        if (fd < 0) {
            // None left; or the caller cannot be taken now (no file descriptor left), and it
            // keeps the socket readable: the listener rests instead of waking again at once.
            if (errno != EAGAIN && errno != EWOULDBLOCK)
                restListener();
            return;
        }
        auto caller = std::make_unique<Caller>(fd);
        caller->notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
        Caller* raw = caller.get();
        connect(raw->notifier.get(), &QSocketNotifier::activated, this, [this, raw] { readFrom(raw); });
        callers_.push_back(std::move(caller));
    }
}

void SingleInstance::restListener()
{
    listener_->setEnabled(false);
    QTimer::singleShot(kListenerRestMs, this, [this] { listener_->setEnabled(true); });
}

// Reads what the caller sent; at its whole message, or when it goes away, the connection ends.
void SingleInstance::readFrom(Caller* caller)
{
    char buffer[kMessageSize];
    const ssize_t count = ::read(caller->fd, buffer, size_t(kMessageSize - caller->received.size()));
    if (count < 0 && (errno == EAGAIN || errno == EINTR))
        return;
    if (count > 0)
        caller->received.append(buffer, count);
    if (count > 0 && caller->received.size() < kMessageSize)
        return;
    quint32 message = 0;
    if (caller->received.size() == kMessageSize)
        QDataStream(caller->received) >> message;
    dropCaller(caller);
    if (message == kWakeUpMessage)
        emit wakeUpReceived();
}

void SingleInstance::dropCaller(Caller* caller)
{
    auto found = std::find_if(callers_.begin(), callers_.end(),
                              [caller](const std::unique_ptr<Caller>& each) { return each.get() == caller; });
    Q_ASSERT(found != callers_.end());
    caller->notifier->setEnabled(false);
    caller->notifier.release()->deleteLater();  // its signal is being delivered right now
    callers_.erase(found);
}

} // namespace platform
