#include "Schema.h"

#include "Sqlite.h"

#include <sqlite3.h>

namespace store {

namespace {
void createTables(Connection& connection)
{
    connection.exec(QStringLiteral(
        "begin;"
        "create table 文本(标题 TEXT COLLATE NOCASE, 行数 INTEGER, 内容 TEXT);"
        "create table 图片(图片名称 TEXT COLLATE NOCASE, 图片描述 TEXT COLLATE NOCASE,"
        " Isbmp INTEGER, Myimage BLOB, 备注 TEXT);"
        "create index 文本标题 on 文本(标题, 行数);"
        "commit;"));
}
} // namespace

void createStore(const QString& path)
{
    Connection connection(path, Connection::Mode::CreateNew);
    createTables(connection);
}

void fillEmptyFile(const QString& path)
{
    Connection connection(path);
    SqliteStatement pages(connection, QStringLiteral("pragma page_count"));
    if (pages.step() && pages.columnInt(0) != 0)
        throw StoreError(QStringLiteral("%1 is no empty file").arg(path).toStdString());
    createTables(connection);
}

QStringList integrityProblems(const QString& path)
{
    Connection connection(path);
    SqliteStatement check(connection, QStringLiteral("pragma integrity_check"));
    QStringList problems;
    while (check.step())
        problems.append(check.column(0).toString());
    if (problems == QStringList{QStringLiteral("ok")})
        problems.clear();
    return problems;
}

std::vector<TableCount> countRows(const QString& path)
{
    Connection connection(path);
    std::vector<TableCount> counts;
    for (const QString& table : {kTextTable, kPictureTable}) {
        SqliteStatement count(connection, QStringLiteral("select count(*) from \"%1\"").arg(table));
        count.step();
        counts.push_back({table, count.columnInt(0)});
    }
    return counts;
}

} // namespace store
