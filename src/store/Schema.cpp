#include "Schema.h"

#include "FullText.h"
#include "Sqlite.h"
#include "TitleOrder.h"

#include <sqlite3.h>

namespace store {

namespace {
// The title list reads line 0 of every entry: this index holds exactly those rows' titles, so
// the list costs what the titles cost, however many lines the entries have.
const QString kTitleListIndex =
    QStringLiteral("create index if not exists 文本标题列表 on %1(%2, %3) where %2=0")
        .arg(kTextTable, columnName(kLineNumberColumn), columnName(kTitleColumn));

bool hasTable(Connection& connection, const QString& table)
{
    SqliteStatement find(connection,
                         QStringLiteral("select 1 from sqlite_master where type='table' and name=?"));
    find.bind(1, table);
    return find.step();
}

} // namespace

void createTables(Connection& connection)
{
    const auto text = [](TextTableColumn column) { return columnName(column); };
    const auto picture = [](PictureTableColumn column) { return columnName(column); };
    connection.exec(
        QStringLiteral("begin;create table %1(%2 TEXT COLLATE NOCASE, %3 INTEGER, %4 TEXT);")
            .arg(kTextTable, text(kTitleColumn), text(kLineNumberColumn), text(kContentColumn))
        + QStringLiteral("create table %1(%2 TEXT COLLATE NOCASE, %3 TEXT COLLATE NOCASE,"
                         " %4 INTEGER, %5 BLOB, %6 TEXT);")
              .arg(kPictureTable, picture(kPictureNameColumn), picture(kPictureDescriptionColumn),
                   picture(kPictureFlagColumn), picture(kPictureDataColumn),
                   picture(kPictureRemarkColumn))
        + QStringLiteral("create index 文本标题 on %1(%2, %3);")
              .arg(kTextTable, text(kTitleColumn), text(kLineNumberColumn))
        + kTitleListIndex + QStringLiteral(";") + fulltext::schemaSql() + titleorder::schemaSql()
        + QStringLiteral("pragma application_id=%1;pragma user_version=%2;commit;")
              .arg(kStoreApplicationId).arg(kStoreVersion));
}

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
        throw StoreError(QStringLiteral("%1 不是空文件").arg(path).toStdString());
    createTables(connection);
}

void addTitleListIndex(const QString& path)
{
    Connection connection(path);
    addTitleListIndex(connection);
}

void addTitleListIndex(Connection& connection)
{
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
