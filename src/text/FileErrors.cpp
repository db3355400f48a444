#include "FileErrors.h"

#include <cstring>

namespace textfile {

namespace {
const QString kCannotRead = QStringLiteral("无法读取文件");
const QString kCannotWrite = QStringLiteral("无法写入文件");

// A NUL (possible in a name taken from the store) would end the message where it stands, the
// reason unread: it is shown as the two characters \0.
QString withVisibleNul(QString text)
{
    return text.replace(QChar(u'\0'), QStringLiteral("\\0"));
}

FileError failure(const QString& what, const QString& path, const QString& reason)
{
    return FileError(QStringLiteral("%1 %2：%3").arg(what, withVisibleNul(path), withVisibleNul(reason))
                         .toStdString());
}
} // namespace

QString reason::ofErrno(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

FileError readFailure(const QString& path, const QString& reason)
{
    return failure(kCannotRead, path, reason);
}

FileError writeFailure(const QString& path, const QString& reason)
{
    return failure(kCannotWrite, path, reason);
}

} // namespace textfile
