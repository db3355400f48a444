#include "SingleInstance.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QLocalServer>
#include <QLocalSocket>
#include <unistd.h>

namespace platform {

namespace {

QString userName()
{
    QString name = qEnvironmentVariable("USER");
    return name.isEmpty() ? QString::number(getuid()) : name;
}

} // namespace

SingleInstance::SingleInstance(const QString& key, QObject* parent) : QObject(parent)
{
    const QByteArray digest = QCryptographicHash::hash((key + u'|' + userName()).toUtf8(),
                                                       QCryptographicHash::Sha1);
    serverName_ = QStringLiteral("mozhou-") + QString::fromLatin1(digest.toHex().left(16));
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::wakeRunningCopy(int timeoutMs) const
{
    QLocalSocket socket;
    socket.connectToServer(serverName_);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    QByteArray message;
    QDataStream(&message, QIODevice::WriteOnly) << kWakeUpMessage << quint32(0) << quint32(0);
    socket.write(message);
    socket.waitForBytesWritten(timeoutMs);
    socket.disconnectFromServer();
    return true;
}

bool SingleInstance::listen()
{
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(serverName_)) {
        // Nobody answered wakeRunningCopy, so the name is a leftover of a copy that died.
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
            if (socket->bytesAvailable() < 12)
                return;
            quint32 message = 0;
            QDataStream(socket->read(12)) >> message;
            if (message == kWakeUpMessage)
                emit wakeUpReceived();
        });
    }
}

} // namespace platform
