#include "SingleInstance.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <cstdio>
#include <sys/un.h>
#include <unistd.h>

namespace platform {

namespace {

constexpr qsizetype kMessageSize = 12;  // the number and two empty parameters
constexpr int kRetryPauseMs = 50;

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

} // namespace

SingleInstance::SingleInstance(const QString& key, QObject* parent)
    : QObject(parent), serverName_(serverPathOf(key)), lock_(serverName_ + QStringLiteral(".lock"))
{
    // Only a dead owner makes the lock stale, never its age: a copy may run for weeks.
    lock_.setStaleLockTime(0);
}

SingleInstance::~SingleInstance() = default;

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
    do {
        QLocalSocket socket;
        socket.connectToServer(serverName_);
        const int left = std::max<int>(1, timeoutMs - int(waited.elapsed()));
        if (socket.waitForConnected(left)) {
            const bool sent = socket.write(message) == message.size()
                              && socket.waitForBytesWritten(std::max<int>(1, timeoutMs - int(waited.elapsed())));
            socket.disconnectFromServer();
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
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    // This copy holds the lock, so a name already there was left by a copy that died.
    if (!server_->listen(serverName_)) {
        QLocalServer::removeServer(serverName_);
        if (!server_->listen(serverName_))
            return false;
    }
    connect(server_, &QLocalServer::newConnection, this, &SingleInstance::readWakeUp);
    return true;
}

void SingleInstance::readWakeUp()
{
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (socket->bytesAvailable() < kMessageSize)
                return;
            quint32 message = 0;
            QDataStream(socket->read(kMessageSize)) >> message;
            if (message == kWakeUpMessage)
                emit wakeUpReceived();
        });
    }
}

} // namespace platform
