#include "MessageEcho.h"

#include <cstdio>

namespace skin {

namespace {
bool echoOn = false;

const char* kindName(MessageKind kind)
{
    switch (kind) {
    case MessageKind::Warning: return "warning";
    case MessageKind::Stop: return "stop";
    case MessageKind::Information: return "information";
    case MessageKind::Help: return "help";
    case MessageKind::ErrorReport: return "error";
    case MessageKind::None: break;
    }
    return "none";
}
} // namespace

void setMessageEcho(bool on)
{
    echoOn = on;
}

QString echoLine(const ShownMessage& message)
{
    QString text = message.text;
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" ")).replace(u'\r', u' ').replace(u'\n', u' ');
    return QStringLiteral("mozhou message: %1 [%2] %3")
        .arg(message.caption, QString::fromLatin1(kindName(message.kind)), text);
}

void echoMessage(const ShownMessage& message)
{
    if (!echoOn)
        return;
    const QByteArray line = echoLine(message).toUtf8() + '\n';
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
    std::fflush(stderr);
}

} // namespace skin
