#include "EngineErrors.h"

#include <sqlite3.h>

namespace store {

QString engineCause(int resultCode)
{
    switch (resultCode & 0xff) {
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return QStringLiteral("没有访问数据文件的权限");
    case SQLITE_ABORT:
    case SQLITE_INTERRUPT:
        return QStringLiteral("操作被中止");
    case SQLITE_BUSY:
        return QStringLiteral("数据文件正被另一个程序使用，请稍后再试");
    case SQLITE_LOCKED:
        return QStringLiteral("数据表正被另一项操作使用");
    case SQLITE_NOMEM:
        return QStringLiteral("内存不足");
    case SQLITE_READONLY:
        return QStringLiteral("数据文件是只读的，无法写入");
    case SQLITE_IOERR:
        return QStringLiteral("读写数据文件时磁盘出错");
    case SQLITE_CORRUPT:
        return QStringLiteral("数据文件已损坏");
    case SQLITE_FULL:
        return QStringLiteral("磁盘已满，数据无法写入");
    case SQLITE_CANTOPEN:
        return QStringLiteral("无法打开数据文件");
    case SQLITE_PROTOCOL:
        return QStringLiteral("数据文件的加锁出错");
    case SQLITE_SCHEMA:
        return QStringLiteral("数据文件的结构在操作中被改变");
    case SQLITE_TOOBIG:
        return QStringLiteral("数据太大");
    case SQLITE_CONSTRAINT:
        return QStringLiteral("数据不符合数据表的约束");
    case SQLITE_MISMATCH:
        return QStringLiteral("数据类型不符");
    case SQLITE_NOLFS:
        return QStringLiteral("系统不支持大文件");
    case SQLITE_RANGE:
    case SQLITE_MISUSE:
        return QStringLiteral("程序内部出错");
    case SQLITE_NOTADB:
        return QStringLiteral("文件不是数据库文件");
    default:
        return QStringLiteral("数据文件出错");
    }
}

QString describeEngineError(int resultCode, const QString& engineText)
{
    return QStringLiteral("%1（SQLite 错误 %2：%3）").arg(engineCause(resultCode)).arg(resultCode).arg(engineText);
}

} // namespace store
