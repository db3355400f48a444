#include "FileErrors.h"

#include <cerrno>
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

namespace {
// The system errors a user meets reading and writing files, said in Chinese.
QString causeOfErrno(int error)
{
    switch (error) {
    case ENOENT:
        return QStringLiteral("文件或文件夹不存在");
    case EACCES:
    case EPERM:
        return QStringLiteral("没有访问权限");
    case ENOSPC:
        return QStringLiteral("磁盘已满");
    case EDQUOT:
        return QStringLiteral("超出了磁盘配额");
    case EROFS:
        return QStringLiteral("文件系统是只读的");
    case EEXIST:
        return QStringLiteral("文件已存在");
    case EISDIR:
        return reason::kIsAFolder;
    case ENOTDIR:
        return QStringLiteral("路径中有一项不是文件夹");
    case ENAMETOOLONG:
        return QStringLiteral("文件名太长");
    case EIO:
        return QStringLiteral("磁盘读写出错");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("打开的文件太多");
    case ENOMEM:
        return QStringLiteral("内存不足");
    case EBUSY:
    case ETXTBSY:
        return QStringLiteral("文件正被使用");
    case ELOOP:
        return reason::kTooManyLinks;
    case EFBIG:
        return QStringLiteral("文件太大");
    default:
        return QStringLiteral("系统错误 %1").arg(error);
    }
}
} // namespace

// The cause in Chinese, with the system's own words after it for whoever helps the user.
QString reason::ofErrno(int error)
{
    return QStringLiteral("%1（%2）").arg(causeOfErrno(error), QString::fromLocal8Bit(std::strerror(error)));
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
