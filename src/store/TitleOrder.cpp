#include "TitleOrder.h"

#include "Collation.h"
#include "Tables.h"
#include "Sqlite.h"

#include <algorithm>

// Three tables and three triggers:
//   标题次序(行, 键)      for each line-0 row of 文本 its rowid and sort key; the index 标题次序键 on
//                        键 (plain byte order) gives the list's order, ties by rowid.
//   标题待排(行)          rowids the triggers recorded since the last catch-up, perhaps repeated.
//   标题次序状态(记录, 探针) whether the triggers record (0 only inside a rewrite of the whole book),
//                        and the key of a fixed probe text when the keys were made: a collation
//                        that keys the probe otherwise keys every title otherwise.
// A key is 0x01 and the collation's sort key of the title, or the single byte 0x00 for an entry
// without a title, which comes first as it always did.

namespace store::titleorder {

namespace {

const QString kOrderTable = QStringLiteral("标题次序");
const QString kPendingTable = QStringLiteral("标题待排");
const QString kStateTable = QStringLiteral("标题次序状态");
const QString kOrderIndexSql = QStringLiteral("create index 标题次序键 on 标题次序(键)");
const QStringList kTriggers = {QStringLiteral("标题记增"), QStringLiteral("标题记删"), QStringLiteral("标题记改")};
// Text whose key changes whenever the collation orders Chinese, Latin letters, accents or signs
// differently.
const QString kProbeText = QStringLiteral("阿a啊B按é中文Zz重庆1%_·〇");
// Pending rows beyond this many make a catch-up build the whole order anew, which is faster.
constexpr qint64 kFoldLimit = 50000;
// Titles keyed at once while the order is built.
constexpr size_t kBatch = 16384;

// %1 the text table, %2 行数.
QString triggerSql()
{
    return QStringLiteral(
               "create trigger if not exists 标题记增 after insert on %1"
               " when new.%2=0 and (select 记录 from 标题次序状态) begin"
               " insert into 标题待排 values(new.rowid); end;"
               "create trigger if not exists 标题记删 after delete on %1"
               " when old.%2=0 and (select 记录 from 标题次序状态) begin"
               " insert into 标题待排 values(old.rowid); end;"
               "create trigger if not exists 标题记改 after update on %1"
               " when (old.%2=0 or new.%2=0) and (select 记录 from 标题次序状态) begin"
               " insert into 标题待排 values(old.rowid); insert into 标题待排 values(new.rowid); end;")
        .arg(kTextTable, columnName(kLineNumberColumn));
}

// The keys of titles, in their order; a null title has the key that sorts first.
std::vector<QByteArray> keysOf(const std::vector<QString>& titles)
{
    QByteArray all;
    const std::vector<qsizetype> ends = appendChineseSortKeys(titles, all);
    std::vector<QByteArray> keys;
    keys.reserve(titles.size());
    qsizetype start = 0;
    for (size_t i = 0; i < titles.size(); ++i) {
        keys.push_back(titles[i].isNull() ? QByteArray(1, '\0')
                                          : '\1' + all.mid(start, ends[i] - start));
        start = ends[i];
    }
    return keys;
}

QByteArray probeKey()
{
    return keysOf({kProbeText}).front();
}

bool hasObject(const Connection& connection, const char* type, const QString& name)
{
    SqliteStatement find(connection, QStringLiteral("select 1 from sqlite_master where type=? and name=?"));
    find.bind(1, QString::fromLatin1(type));
    find.bind(2, name);
    return find.step();
}

// One read of what a catch-up must do.
struct State {
    bool installed = false;  // the tables are there
    bool recording = false;  // every trigger is there
    bool pending = false;
    bool keysCurrent = false;
};

State stateOf(const Connection& connection)
{
    State state;
    state.installed = hasObject(connection, "table", kStateTable) && hasObject(connection, "table", kOrderTable)
                      && hasObject(connection, "table", kPendingTable);
    if (!state.installed)
        return state;
    state.recording = std::all_of(kTriggers.begin(), kTriggers.end(), [&](const QString& trigger) {
        return hasObject(connection, "trigger", trigger);
    });
    SqliteStatement pending(connection, QStringLiteral("select 1 from 标题待排 limit 1"));
    state.pending = pending.step();
    SqliteStatement anyKey(connection, QStringLiteral("select 1 from 标题次序 limit 1"));
    const bool keysKept = anyKey.step();
    SqliteStatement probe(connection, QStringLiteral("select 探针, 记录 from 标题次序状态"));
    // With no key kept, no change of the collation can have put one out of order, and the
    // collator is not loaded just to compare the probe.
    state.keysCurrent = probe.step() && (!keysKept || probe.columnBytes(0) == probeKey());
    state.recording = state.recording && state.keysCurrent && probe.columnInt(1) == 1;
    return state;
}

void insertKeys(Connection& connection, const std::vector<qint64>& rows, const std::vector<QString>& titles)
{
    const std::vector<QByteArray> keys = keysOf(titles);
    SqliteStatement insert(connection, QStringLiteral("insert or replace into 标题次序(行, 键) values(?, ?)"));
    for (size_t i = 0; i < rows.size(); ++i) {
        insert.bindInteger(1, rows[i]);
        insert.bind(2, keys[i]);
        insert.step();
        insert.reset();
    }
}

QString titleOf(const SqliteStatement& statement, int column)
{
    const QVariant value = statement.column(column);
    return value.isNull() ? QString() : value.toString();
}

// Makes every key anew from the line-0 rows, a batch at a time; the index is made at the end,
// from sorted keys, which is faster than keeping it up to date row by row.
void rebuild(Connection& connection)
{
    connection.exec(QStringLiteral("delete from 标题次序; delete from 标题待排; drop index if exists 标题次序键;"));
    SqliteStatement rows(connection, QStringLiteral("select rowid, %2 from %1 where %3=0")
                                         .arg(kTextTable, columnName(kTitleColumn), columnName(kLineNumberColumn)));
    std::vector<qint64> rowids;
    std::vector<QString> titles;
    const auto flush = [&] {
        insertKeys(connection, rowids, titles);
        rowids.clear();
        titles.clear();
    };
    while (rows.step()) {
        rowids.push_back(rows.columnInt(0));
        titles.push_back(titleOf(rows, 1));
        if (rowids.size() == kBatch)
            flush();
    }
    flush();
    rows.reset();
    connection.exec(kOrderIndexSql);
    connection.exec(QStringLiteral("delete from 标题次序状态"));
    SqliteStatement state(connection, QStringLiteral("insert into 标题次序状态 values(1, ?)"));
    state.bind(1, probeKey());
    state.step();
}

// A statement of its own, done before the caller drops or rewrites anything.
qint64 pendingCount(const Connection& connection)
{
    SqliteStatement count(connection, QStringLiteral("select count(*) from 标题待排"));
    return count.step() ? count.columnInt(0) : 0;
}

// Folds the rows the triggers recorded into the order.
void fold(Connection& connection)
{
    if (pendingCount(connection) > kFoldLimit) {
        rebuild(connection);
        return;
    }
    std::vector<qint64> changed;
    SqliteStatement pending(connection, QStringLiteral("select distinct 行 from 标题待排"));
    while (pending.step())
        changed.push_back(pending.columnInt(0));
    SqliteStatement remove(connection, QStringLiteral("delete from 标题次序 where 行=?"));
    SqliteStatement row(connection, QStringLiteral("select %2 from %1 where rowid=? and %3=0")
                                        .arg(kTextTable, columnName(kTitleColumn), columnName(kLineNumberColumn)));
    std::vector<qint64> rowids;
    std::vector<QString> titles;
    for (const qint64 rowid : changed) {
        remove.bindInteger(1, rowid);
        remove.step();
        remove.reset();
        row.bindInteger(1, rowid);
        if (row.step()) {
            rowids.push_back(rowid);
            titles.push_back(titleOf(row, 0));
        }
        row.reset();
    }
    insertKeys(connection, rowids, titles);
    connection.exec(QStringLiteral("delete from 标题待排"));
}

} // namespace

QString schemaSql()
{
    return QStringLiteral("create table 标题次序(行 INTEGER PRIMARY KEY, 键 BLOB);"
                          "create table 标题待排(行 INTEGER);"
                          "create table 标题次序状态(记录 INTEGER, 探针 BLOB);")
           + kOrderIndexSql + QStringLiteral(";insert into 标题次序状态 values(1, x'%1');")
                                  .arg(QString::fromLatin1(probeKey().toHex()))
           + triggerSql();
}

void catchUp(Connection& connection)
{
    if (!hasObject(connection, "table", kTextTable))
        throw StoreError(QStringLiteral("数据文件中没有“%1”表").arg(kTextTable).toStdString());
    const State state = stateOf(connection);
    if (state.installed && state.recording && state.keysCurrent && !state.pending)
        return;
    connection.inTransaction(Connection::TransactionKind::Write, [&] {
        if (!state.installed) {
            connection.exec(schemaSql());
            rebuild(connection);
        } else if (!state.recording || !state.keysCurrent) {
            // Without a trigger, changes may have gone unrecorded: nothing kept can be trusted.
            connection.exec(triggerSql());
            rebuild(connection);
        } else {
            fold(connection);
        }
    });
}

void catchUp(const QString& path)
{
    Connection connection(path);
    catchUp(connection);
}

BookRewrite::BookRewrite(Connection& connection) : connection_(connection)
{
    installed_ = hasObject(connection_, "table", kStateTable);
    if (installed_)
        connection_.exec(QStringLiteral("update 标题次序状态 set 记录=0"));
}

void BookRewrite::finish()
{
    if (installed_)
        rebuild(connection_);
}

TitleReader::TitleReader(const QString& path) : connection_(std::make_unique<Connection>(path))
{
    catchUp(*connection_);
}

TitleReader::~TitleReader() = default;

// The outer loop walks the order's index from the last key read; each step looks its row up by
// rowid. A row that is no line 0 any more (changed since the catch-up) is passed over.
std::vector<QString> TitleReader::next(int count)
{
    Q_ASSERT(count > 0);
    std::vector<QString> titles;
    if (atEnd_)
        return titles;
    if (!page_)
        page_ = std::make_unique<SqliteStatement>(
            *connection_,
            QStringLiteral("select k.键, k.行, t.%2 from 标题次序 k cross join %1 t on t.rowid=k.行"
                           " where k.键>=?1 and (k.键>?1 or k.行>?2) and t.%3=0 order by k.键, k.行 limit ?3")
                .arg(kTextTable, columnName(kTitleColumn), columnName(kLineNumberColumn)));
    SqliteStatement& page = *page_;
    page.bind(1, lastKey_.isNull() ? QByteArray(1, '\0') : lastKey_);
    page.bindInteger(2, lastRow_);
    page.bindInteger(3, count);
    titles.reserve(size_t(count));
    try {
        while (page.step()) {
            titles.push_back(titleOf(page, 2));
            lastKey_ = page.columnBytes(0).toByteArray();
            lastRow_ = page.columnInt(1);
        }
    } catch (const StoreError&) {
        page.reset();  // holds no read lock after a failure either
        throw;
    }
    page.reset();
    atEnd_ = int(titles.size()) < count;
    return titles;
}

} // namespace store::titleorder
