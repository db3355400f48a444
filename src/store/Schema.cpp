#include "Schema.h"

#include "FullText.h"
#include "Sqlite.h"

#include <sqlite3.h>

namespace store {

namespace {
// The title list reads line 0 of every entry: this index holds exactly those rows' titles, so
// the list costs what the titles cost, however many lines the entries have.
const QString kTitleListIndex = QStringLiteral(
    "create index if not exists 文本标题列表 on 文本(行数, 标题) where 行数=0");

bool hasTable(Connection& connection, const QString& table)
{
    SqliteStatement find(connection,
                         QStringLiteral("select 1 from sqlite_master where type='table' and name=?"));
    find.bind(1, table);
    return find.step();
}

void createTables(Connection& connection)
{
    connection.exec(QStringLiteral(
        "begin;"
        "create table 文本(标题 TEXT COLLATE NOCASE, 行数 INTEGER, 内容 TEXT);"
        "create table 图片(图片名称 TEXT COLLATE NOCASE, 图片描述 TEXT COLLATE NOCASE,"
        " Isbmp INTEGER, Myimage BLOB, 备注 TEXT);"
        "create index 文本标题 on 文本(标题, 行数);")
        + kTitleListIndex + QStringLiteral(";") + fulltext::schemaSql() + QStringLiteral("commit;"));
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

void addTitleListIndex(const QString& path)
{
    Connection connection(path);
    if (!hasTable(connection, kTextTable))
        return;
    connection.exec(QStringLiteral("begin;") + kTitleListIndex + QStringLiteral(";commit;"));
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
