#include "StoreCheck.h"

#include "Schema.h"
#include "Sqlite.h"

#include <QFile>

namespace store {

namespace {

// The first bytes of every file of the store engine.
const QByteArray kEngineHeader("SQLite format 3\0", 16);

QStringList columnsOf(const Connection& connection, const QString& table)
{
    SqliteStatement columns(connection, QStringLiteral("select name from pragma_table_info(?)"));
    columns.bind(1, table);
    QStringList names;
    while (columns.step())
        names.append(columns.column(0).toString());
    return names;
}

} // namespace

std::optional<QString> whyNotAStore(const QString& path)
{
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray start = file.read(kEngineHeader.size());
        if (start.isEmpty())
            return QStringLiteral("文件是空的");
        if (start != kEngineHeader)
            return QStringLiteral("这不是数据库文件");
    }
    const Connection connection(path);
    const Connection::Stamp stamp = connection.stamp();
    if (stamp.applicationId != 0 && stamp.applicationId != kStoreApplicationId)
        return QStringLiteral("这是别的程序的数据库（程序标记 0x%1）")
            .arg(quint32(stamp.applicationId), 8, 16, QLatin1Char('0'));
    if (columnsOf(connection, kTextTable).isEmpty() && columnsOf(connection, kPictureTable).isEmpty())
        return QStringLiteral("其中没有“%1”表，也没有“%2”表").arg(kTextTable, kPictureTable);
    return std::nullopt;
}

QString notAStoreMessage(const QString& path, const QString& why)
{
    return QStringLiteral("%1 不是本程序的数据文件：%2").arg(path, why);
}

// The reference is a new store made in memory by the code that makes every store.
QStringList missingColumns(const QString& path)
{
    Connection reference(QStringLiteral(":memory:"));
    createTables(reference);
    const Connection connection(path);
    QStringList problems;
    for (const QString& table : {kTextTable, kPictureTable}) {
        const QStringList wanted = columnsOf(reference, table);
        const QStringList found = columnsOf(connection, table);
        if (found.isEmpty()) {
            problems.append(QStringLiteral("缺少“%1”表").arg(table));
            continue;
        }
        for (qsizetype i = 0; i < wanted.size(); ++i) {
            if (i >= found.size())
                problems.append(QStringLiteral("“%1”表缺少第 %2 列“%3”").arg(table).arg(i + 1).arg(wanted[i]));
            else if (found[i].compare(wanted[i], Qt::CaseInsensitive) != 0)
                problems.append(QStringLiteral("“%1”表的第 %2 列应为“%3”，却是“%4”")
                                    .arg(table).arg(i + 1).arg(wanted[i], found[i]));
        }
    }
    return problems;
}

} // namespace store
