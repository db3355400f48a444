#include "Query.h"

#include "Collation.h"
#include "Sqlite.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <algorithm>
#include <atomic>
#include <system_error>
#include <string_view>
#include <sqlite3.h>

// When the after-scroll handler runs:
//   - open, when the result holds at least one row;
//   - first and last, always, even on an empty result;
//   - next and prior, unless the query is already at the end (next) or at the start (prior);
//     they run it whether or not a row was found to move to;
//   - moveTo a row other than the current one;
//   - delete of a row, and the beginning of a new row (insert or append).
// It does not run on post, cancel, sort or a rollback's refetch.
//
// The at-start and at-end markers: open and first set at-start (both are set on an empty
// result); last sets at-end; every step clears both before it moves, and a step that finds no
// further row sets the marker of its direction; sort, post and delete clear both while rows
// remain.

namespace store {

namespace {

StoreError notOpen()
{
    return StoreError("数据集没有打开");
}

QString tableOf(const QString& sql)
{
    static const QRegularExpression from(QStringLiteral(R"(\bfrom\s+("[^"]+"|\S+))"),
                                         QRegularExpression::CaseInsensitiveOption);
    const auto match = from.match(sql);
    if (!match.hasMatch())
        throw StoreError(QStringLiteral("语句中没有数据表：%1").arg(sql).toStdString());
    QString table = match.captured(1);
    if (table.startsWith(u'"'))
        table = table.mid(1, table.size() - 2);
    return table;
}

QString quoted(const QString& name)
{
    return u'"' + QString(name).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

bool isNumber(const QVariant& value)
{
    const int type = value.typeId();
    return type == QMetaType::LongLong || type == QMetaType::Int || type == QMetaType::Double;
}

} // namespace

Query::Query() = default;
Query::~Query() = default;

void Query::setStorePath(const QString& path)
{
    close();
    insertStatement_.reset();
    deleteStatement_.reset();
    selectStatement_.reset();
    rowStatement_.reset();
    connection_.reset();
    storePath_ = path;
}

void Query::release()
{
    setStorePath({});
}

Connection& Query::connection()
{
    if (!connection_) {
        if (storePath_.isEmpty())
            throw StoreError("数据集没有指定数据文件");
        connection_ = std::make_unique<Connection>(storePath_);
    }
    return *connection_;
}

void Query::setStatement(const Statement& statement)
{
    close();
    statement_ = statement;
}

void Query::loadColumns()
{
    const QString table = tableOf(statement_.sql);
    if (table == table_ && !columns_.empty())
        return;
    insertStatement_.reset();
    deleteStatement_.reset();
    selectStatement_.reset();
    table_ = table;
    columns_.clear();
    SqliteStatement info(connection(), QStringLiteral("pragma table_info(%1)").arg(quoted(table_)));
    // A column stored after a BLOB is read when asked for too: the engine reaches it only by
    // reading through the BLOB's pages, so fetching it would read every picture of the album.
    bool afterBlob = false;
    while (info.step()) {
        const QString type = info.column(2).toString().trimmed().toUpper();
        afterBlob = afterBlob || type == QStringLiteral("BLOB");
        columns_.push_back({info.column(1).toString(), afterBlob});
    }
}

// "select * from T ..." becomes "select rowid, c1, c2, NULL, ... from T ...": a column is fetched
// when the statement names it (or says *) and it is no BLOB; in place of any other stands NULL,
// and its values are read from the store when asked for. So a list that needs one column of a
// large table fetches that column only. A final "order by C collate ZH" on a fetched column is
// done here after fetching, by sort keys, which is several times faster than the engine calling
// the collation for every comparison. Without known columns the statement runs as written, so
// that the store reports its own error (a missing table, say).
QString Query::selectSql()
{
    static const QRegularExpression selectList(QStringLiteral(R"(^\s*select\s+(.+?)\s+(from\s.*)$)"),
                                               QRegularExpression::CaseInsensitiveOption
                                                   | QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression chineseOrder(
        QStringLiteral(R"(\s+order\s+by\s+(\S+)\s+collate\s+ZH\s*$)"),
        QRegularExpression::CaseInsensitiveOption);
    fetchOrder_ = -1;
    fetched_.assign(columns_.size(), false);
    const auto match = selectList.match(statement_.sql);
    if (columns_.empty() || !match.hasMatch() || !markFetchedColumns(match.captured(1))) {
        fetched_.assign(columns_.size(), true);
        return statement_.sql;
    }
    QString rest = match.captured(2);
    const auto order = chineseOrder.match(rest);
    const int orderColumn = order.hasMatch() ? fieldIndex(order.captured(1)) : -1;
    if (orderColumn >= 0 && fetched_[size_t(orderColumn)]) {
        fetchOrder_ = orderColumn;
        rest.truncate(order.capturedStart());
    }
    QStringList list{QStringLiteral("rowid")};
    for (size_t c = 0; c < columns_.size(); ++c)
        list << (fetched_[c] ? quoted(columns_[c].name) : QStringLiteral("NULL"));
    return QStringLiteral("select ") + list.join(u',') + u' ' + rest;
}

// Marks the columns a select list names ("*" names all) as fetched, BLOBs aside. False when the
// list names something that is no plain column of the table.
bool Query::markFetchedColumns(const QString& selectList)
{
    const QStringList names = selectList.trimmed() == u'*' ? fieldNames() : selectList.split(u',');
    for (const QString& name : names) {
        const int position = fieldIndex(name.trimmed());
        if (position < 0)
            return false;
        fetched_[size_t(position)] = !columns_[size_t(position)].lazy;
    }
    return true;
}

namespace {
// Row keys for every query of the process, so that no two rows ever share one.
quint64 newRowKey()
{
    static std::atomic<quint64> last{0};
    return ++last;
}
} // namespace

void Query::fetch()
{
    // A statement run again (the export opens one per title) keeps its prepared form.
    if (!selectStatement_ || statement_.sql != selectText_) {
        selectStatement_.reset();
        selectStatement_ = std::make_unique<SqliteStatement>(connection(), selectSql());
        selectText_ = statement_.sql;
    }
    SqliteStatement& select = *selectStatement_;
    select.reset();
    if (select.columnCount() != int(columns_.size()) + 1)
        throw StoreError(QStringLiteral("查询结果的列与预期不符：%1")
                             .arg(statement_.sql).toStdString());
    select.bindAll(statement_.params);
    placeKeptValues();
    std::deque<Row> rows;
    std::vector<QVariant> values;
    // The rows are read once, here; a record's own pages are read again when it is shown.
    const Connection::OnePassReads onePass(connection());
    try {
        while (select.step()) {
            rows.push_back({select.columnInt(0), values.size(), newRowKey()});
            for (int c = 0; c < int(columns_.size()); ++c)
                if (fetched_[size_t(c)])
                    values.push_back(select.column(c + 1));
        }
    } catch (const StoreError&) {
        select.reset();  // a kept statement must not hold the store's read lock
        throw;
    }
    select.reset();
    rows_ = std::move(rows);
    values_ = std::move(values);
    if (fetchOrder_ >= 0)
        orderRowsBy(fetchOrder_);
}

void Query::placeKeptValues()
{
    keptPlace_.assign(columns_.size(), -1);
    keptPerRow_ = 0;
    for (size_t c = 0; c < columns_.size(); ++c)
        if (fetched_[c])
            keptPlace_[c] = int(keptPerRow_++);
}

// The value of a fetched column, or nullptr for a column read when asked for.
const QVariant* Query::keptValue(const Row& row, int position) const
{
    const int place = keptPlace_[size_t(position)];
    if (place < 0)
        return nullptr;
    Q_ASSERT(row.values + size_t(place) < values_.size());
    return &values_[row.values + size_t(place)];
}

void Query::open()
{
    close();
    loadColumns();
    fetch();
    open_ = true;
    current_ = rows_.empty() ? -1 : 0;
    atStart_ = true;
    atEnd_ = rows_.empty();
    if (!rows_.empty())
        scrolled();
}

void Query::reopenOn(const Statement& statement)
{
    Q_ASSERT(!pending_);
    Statement keptStatement = statement_;
    QString keptTable = table_;
    std::vector<Column> keptColumns = columns_;
    std::vector<bool> keptFetched = fetched_;
    std::vector<int> keptPlaces = keptPlace_;
    const size_t keptPerRow = keptPerRow_;
    const int keptOrder = fetchOrder_;
    std::vector<QVariant> keptValues = std::move(values_);
    std::deque<Row> keptRows = std::move(rows_);
    const int keptCurrent = current_;
    const bool keptOpen = open_, keptAtStart = atStart_, keptAtEnd = atEnd_;
    try {
        setStatement(statement);
        open();
    } catch (const StoreError&) {
        insertStatement_.reset();
        deleteStatement_.reset();
        statement_ = std::move(keptStatement);
        table_ = std::move(keptTable);
        columns_ = std::move(keptColumns);
        fetched_ = std::move(keptFetched);
        keptPlace_ = std::move(keptPlaces);
        keptPerRow_ = keptPerRow;
        fetchOrder_ = keptOrder;
        values_ = std::move(keptValues);
        rows_ = std::move(keptRows);
        current_ = keptCurrent;
        open_ = keptOpen;
        atStart_ = keptAtStart;
        atEnd_ = keptAtEnd;
        throw;
    }
}

void Query::close()
{
    open_ = false;
    rows_.clear();
    values_.clear();
    pending_.reset();
    current_ = -1;
    atStart_ = atEnd_ = true;
}

int Query::recNo() const
{
    return inserting() || current_ < 0 ? -1 : current_ + 1;
}

void Query::requireOpen() const
{
    if (!open_)
        throw notOpen();
}

void Query::clearMarkers()
{
    atStart_ = atEnd_ = false;
}

void Query::scrolled()
{
    // The current row is a row of the result, or none only on an empty result or a new row.
    Q_ASSERT(current_ >= -1 && current_ < int(rows_.size()));
    Q_ASSERT(current_ >= 0 || rows_.empty() || inserting());
    if (afterScroll_)
        afterScroll_();
}

void Query::first()
{
    requireOpen();
    if (inserting())
        post();
    current_ = rows_.empty() ? -1 : 0;
    atStart_ = true;
    atEnd_ = rows_.empty();
    scrolled();
}

void Query::last()
{
    requireOpen();
    if (inserting())
        post();
    current_ = int(rows_.size()) - 1;
    atEnd_ = true;
    atStart_ = rows_.empty();
    scrolled();
}

void Query::next()
{
    requireOpen();
    if (inserting())
        post();
    if (atEnd_)
        return;
    clearMarkers();
    if (current_ + 1 < int(rows_.size()))
        ++current_;
    else
        atEnd_ = true;
    scrolled();
}

void Query::prior()
{
    requireOpen();
    if (inserting())
        post();
    if (atStart_)
        return;
    clearMarkers();
    if (current_ > 0)
        --current_;
    else
        atStart_ = true;
    scrolled();
}

void Query::moveTo(int index)
{
    requireOpen();
    if (index < 0 || index >= int(rows_.size()))
        throw StoreError(QStringLiteral("查询结果共 %2 行，没有第 %1 行")
                             .arg(index).arg(rows_.size()).toStdString());
    if (inserting())
        post();
    if (index == current_)
        return;
    clearMarkers();
    current_ = index;
    scrolled();
}

QStringList Query::fieldNames() const
{
    QStringList names;
    for (const Column& column : columns_)
        names << column.name;
    return names;
}

int Query::fieldIndex(const QString& name) const
{
    for (size_t i = 0; i < columns_.size(); ++i)
        if (columns_[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

void Query::requireColumn(int position) const
{
    if (position < 0 || position >= int(columns_.size()))
        throw StoreError(QStringLiteral("数据表 %2 中没有第 %1 列").arg(position).arg(table_)
                             .toStdString());
}

QVariant Query::valueAt(int index, int position) const
{
    requireColumn(position);
    if (index < 0 || index >= int(rows_.size()))
        return {};
    const Row& row = rows_[size_t(index)];
    if (const QVariant* value = keptValue(row, position))
        return *value;
    SqliteStatement read(*connection_, QStringLiteral("select %1 from %2 where rowid=?")
                                           .arg(quoted(columns_[size_t(position)].name), quoted(table_)));
    read.bind(1, row.rowid);
    return read.step() ? read.column(0) : QVariant();
}

QVariant Query::field(int position) const
{
    requireColumn(position);
    if (pending_)
        return pending_->values[size_t(position)];
    return valueAt(current_, position);
}

QVariant Query::field(const QString& name) const
{
    return field(fieldIndex(name));
}

QString Query::fieldText(int position) const
{
    const QVariant value = field(position);
    return value.isNull() ? QString() : value.toString();
}

QString Query::fieldText(const QString& name) const
{
    return fieldText(fieldIndex(name));
}

QByteArray bytesOf(const QVariant& value)
{
    return value.typeId() == QMetaType::QByteArray ? value.toByteArray() : value.toString().toUtf8();
}

QByteArray Query::fieldBytes(int position) const
{
    requireColumn(position);
    if (pending_)
        return bytesOf(pending_->values[size_t(position)]);
    return bytesAt(current_, position);
}

// A column read when asked for (a picture) comes straight from the store into the result: one
// buffer of its size, not a second copy besides the engine's.
QByteArray Query::bytesAt(int index, int position) const
{
    requireColumn(position);
    if (index >= 0 && index < int(rows_.size()) && !fetched_[size_t(position)]) {
        if (std::optional<QByteArray> bytes = connection_->readStoredBytes(
                table_, columns_[size_t(position)].name, rows_[size_t(index)].rowid))
            return *std::move(bytes);
    }
    return bytesOf(valueAt(index, position));
}

const Query::Row& Query::rowAt(int index) const
{
    if (index < 0 || index >= int(rows_.size()))
        throw StoreError(QStringLiteral("查询结果中没有第 %1 行").arg(index).toStdString());
    return rows_[size_t(index)];
}

quint64 Query::rowKeyAt(int index) const
{
    return rowAt(index).key;
}

qint64 Query::rowidAt(int index) const
{
    return rowAt(index).rowid;
}

QByteArray Query::fieldBytes(const QString& name) const
{
    return fieldBytes(fieldIndex(name));
}

void Query::beginNew(size_t position)
{
    requireOpen();
    if (inserting())
        post();
    pending_ = Pending{std::vector<QVariant>(columns_.size()), position, current_};
    scrolled();
}

void Query::insert()
{
    beginNew(current_ < 0 ? 0 : size_t(current_));
}

void Query::append()
{
    beginNew(rows_.size());
}

void Query::setField(int position, const QVariant& value)
{
    requireColumn(position);
    if (!pending_)
        throw StoreError("记录不能就地修改，请先插入或追加一条新记录");
    pending_->values[size_t(position)] = value;
}

void Query::setField(const QString& name, const QVariant& value)
{
    setField(fieldIndex(name), value);
}

SqliteStatement& Query::insertStatement()
{
    if (!insertStatement_) {
        QStringList names, marks;
        for (const Column& column : columns_) {
            names << quoted(column.name);
            marks << QStringLiteral("?");
        }
        insertStatement_ = std::make_unique<SqliteStatement>(
            connection(), QStringLiteral("insert into %1(%2) values(%3)")
                              .arg(quoted(table_), names.join(u','), marks.join(u',')));
    }
    return *insertStatement_;
}

SqliteStatement& Query::deleteStatement()
{
    if (!deleteStatement_)
        deleteStatement_ = std::make_unique<SqliteStatement>(
            connection(), QStringLiteral("delete from %1 where rowid=?").arg(quoted(table_)));
    return *deleteStatement_;
}

void Query::post()
{
    if (!pending_)
        throw StoreError("没有要保存的新记录");
    Q_ASSERT(pending_->values.size() == columns_.size());
    SqliteStatement& insert = insertStatement();
    insert.reset();
    for (size_t c = 0; c < columns_.size(); ++c)
        insert.bind(int(c) + 1, pending_->values[c]);
    insert.step();
    insert.reset();
    const Row row{sqlite3_last_insert_rowid(connection().handle()), values_.size(), newRowKey()};
    // Values of columns not fetched are read back from the store when asked for, not kept here.
    for (size_t c = 0; c < columns_.size(); ++c)
        if (fetched_[c])
            values_.push_back(std::move(pending_->values[c]));
    const size_t position = std::min(pending_->position, rows_.size());
    rows_.insert(rows_.begin() + std::ptrdiff_t(position), row);
    pending_.reset();
    current_ = int(position);
    clearMarkers();
}

void Query::cancel()
{
    if (!pending_)
        return;
    current_ = pending_->previous;
    pending_.reset();
}

void Query::deleteCurrent()
{
    requireOpen();
    if (inserting()) {
        cancel();
        return;
    }
    if (current_ < 0)
        throw StoreError("没有可删除的当前记录");
    Q_ASSERT(current_ < int(rows_.size()));
    SqliteStatement& remove = deleteStatement();
    remove.reset();
    remove.bind(1, rows_[size_t(current_)].rowid);
    remove.step();
    remove.reset();
    const size_t kept = rows_[size_t(current_)].values;
    std::fill(values_.begin() + std::ptrdiff_t(kept), values_.begin() + std::ptrdiff_t(kept + keptPerRow_), QVariant());
    rows_.erase(rows_.begin() + current_);
    if (current_ >= int(rows_.size()))
        current_ = int(rows_.size()) - 1;
    if (rows_.empty())
        atStart_ = atEnd_ = true;
    else
        clearMarkers();
    scrolled();
}

qint64 Query::deleteRows(const Statement& rows)
{
    static const QRegularExpression selectList(QStringLiteral(R"(^\s*select\s+.+?\s+(from\s.*)$)"),
                                               QRegularExpression::CaseInsensitiveOption
                                                   | QRegularExpression::DotMatchesEverythingOption);
    const auto match = selectList.match(rows.sql);
    if (!match.hasMatch())
        throw StoreError(QStringLiteral("语句中没有要删除的记录：%1").arg(rows.sql).toStdString());
    setStatement(rows);
    SqliteStatement remove(connection(), QStringLiteral("delete ") + match.captured(1));
    remove.bindAll(rows.params);
    remove.step();
    return sqlite3_changes64(connection().handle());
}

void Query::forEachRow(const Statement& statement,
                       const std::function<void(const RowView&)>& visit)
{
    setStatement(statement);
    if (!rowStatement_ || rowText_ != statement.sql) {
        rowStatement_.reset();
        rowStatement_ = std::make_unique<SqliteStatement>(connection(), statement.sql);
        rowText_ = statement.sql;
    }
    SqliteStatement& select = *rowStatement_;
    select.reset();
    select.bindAll(statement.params);
    const RowView row(select);
    try {
        while (select.step())
            visit(row);
    } catch (...) {
        select.reset();  // a kept statement must not hold the store's read lock
        throw;
    }
    select.reset();
}

QStringView Query::RowView::text(int column) const
{
    return statement_.columnText(column);
}

QByteArrayView Query::RowView::utf8(int column) const
{
    return statement_.columnUtf8(column);
}

qint64 Query::RowView::integer(int column) const
{
    return statement_.columnInt(column);
}

SqliteStatement& Query::prepareInsert(const QString& table)
{
    setStatement({QStringLiteral("select * from ") + quoted(table), {}});
    loadColumns();
    return insertStatement();
}

Query::RowWriter::RowWriter(Query& query, const QString& table)
    : query_(query), insert_(query.prepareInsert(table))
{
    insert_.reset();
}

void Query::RowWriter::setText(int position, QStringView text)
{
    query_.requireColumn(position);
    insert_.bindText(position + 1, text);
}

void Query::RowWriter::setUtf8(int position, QByteArrayView text)
{
    query_.requireColumn(position);
    insert_.bindUtf8(position + 1, text);
}

void Query::RowWriter::setInteger(int position, qint64 value)
{
    query_.requireColumn(position);
    insert_.bindInteger(position + 1, value);
}

void Query::RowWriter::write()
{
    try {
        insert_.step();
    } catch (const StoreError&) {
        insert_.reset();
        throw;
    }
    insert_.reset();
}

namespace {

// A row's place in a sort by one column.
struct SortEntry {
    int kind;  // 0 empty, 1 number, 2 text
    double number;
    quint64 prefix;  // of a text's sort key
    size_t text;     // its place among the texts
    size_t row;
};

// Orders each run of texts with equal prefixes by their full sort keys, made in one batch for
// all such texts, whose first shared bytes the run has in common; texts with equal keys keep
// their order.
void orderTiedTexts(std::vector<SortEntry>& entries, const std::vector<QString>& texts,
                    qsizetype shared)
{
    std::vector<std::pair<size_t, size_t>> runs;
    std::vector<QString> tied;
    for (size_t begin = 0, end = 0; begin < entries.size(); begin = end) {
        for (end = begin + 1; end < entries.size() && entries[end].kind == entries[begin].kind
                              && entries[end].prefix == entries[begin].prefix;
             ++end) {
        }
        if (entries[begin].kind != 2 || end - begin < 2)
            continue;
        runs.emplace_back(begin, end);
        for (size_t i = begin; i < end; ++i) {
            tied.push_back(texts[entries[i].text]);
            entries[i].text = tied.size() - 1;  // from here on: its place among the tied texts
        }
    }
    if (runs.empty())
        return;
    QByteArray keys;
    const std::vector<qsizetype> ends = appendChineseSortKeys(tied, keys);
    // Past the bytes the run shares: the next eight as a number, then the rest.
    const auto restOf = [&](const SortEntry& entry, qsizetype skipped) {
        const qsizetype end = ends[entry.text];
        const qsizetype start = std::min(end, (entry.text == 0 ? 0 : ends[entry.text - 1]) + skipped);
        return std::string_view(keys.constData() + start, size_t(end - start));
    };
    for (const auto& [begin, end] : runs) {
        for (size_t i = begin; i < end; ++i)
            entries[i].prefix = firstEightAsNumber(restOf(entries[i], shared));
        std::stable_sort(entries.begin() + std::ptrdiff_t(begin), entries.begin() + std::ptrdiff_t(end),
                         [&](const SortEntry& a, const SortEntry& b) {
                             if (a.prefix != b.prefix)
                                 return a.prefix < b.prefix;
                             return restOf(a, shared + 8) < restOf(b, shared + 8);
                         });
    }
}

// Whether most texts would share their sort-key prefix with another, judged by a sample: texts
// that begin alike ("标题1号", "标题2号", ...) share them, and then they are not worth making.
// Each equal pair in a sample of m texts out of n stands for about n / m² of the texts being
// tied. The sample is drawn at random (the same every time), each text at most once: the texts
// may come sorted, and evenly spaced ones would then never fall into the same run.
bool prefixesMostlyTie(const std::vector<QString>& texts)
{
    constexpr size_t kDraws = 2048;
    const size_t n = texts.size();
    if (n < 4 * kDraws)
        return false;
    QRandomGenerator random(kDraws);
    std::vector<size_t> drawn(kDraws);
    for (size_t& index : drawn)
        index = size_t(random.bounded(quint64(n)));
    std::sort(drawn.begin(), drawn.end());
    drawn.erase(std::unique(drawn.begin(), drawn.end()), drawn.end());
    std::vector<QString> sample;
    sample.reserve(drawn.size());
    for (const size_t index : drawn)
        sample.push_back(texts[index]);
    std::vector<quint64> prefixes = chineseSortPrefixes(sample);
    std::sort(prefixes.begin(), prefixes.end());
    const size_t m = prefixes.size();
    const size_t equalPairs = m - size_t(std::unique(prefixes.begin(), prefixes.end()) - prefixes.begin());
    return equalPairs * n > m * m / 2;
}

} // namespace

// Ascending by one column: empty values first, then numbers, then texts in Chinese order; rows
// that compare equal keep their order. The first eight bytes of each text's sort key, read as
// one number, settle most comparisons; texts whose prefixes are equal are ordered by full keys.
// Where most prefixes would be equal anyway, every text gets its full key at once.
void Query::orderRowsBy(int position)
{
    if (keptPlace_[size_t(position)] < 0)
        return;  // a column read when asked for: every row is empty here, and keeps its place
    std::vector<SortEntry> entries;
    entries.reserve(rows_.size());
    std::vector<QString> texts;
    for (size_t i = 0; i < rows_.size(); ++i) {
        const QVariant& value = *keptValue(rows_[i], position);
        if (value.isNull()) {
            entries.push_back({0, 0, 0, 0, i});
        } else if (isNumber(value)) {
            entries.push_back({1, value.toDouble(), 0, 0, i});
        } else {
            entries.push_back({2, 0, 0, texts.size(), i});
            texts.push_back(value.toString());
        }
    }
    const bool byPrefixes = !prefixesMostlyTie(texts);
    if (byPrefixes) {
        const std::vector<quint64> prefixes = chineseSortPrefixes(texts);
        for (SortEntry& entry : entries)
            if (entry.kind == 2)
                entry.prefix = prefixes[entry.text];
    }
    std::stable_sort(entries.begin(), entries.end(), [](const SortEntry& a, const SortEntry& b) {
        if (a.kind != b.kind)
            return a.kind < b.kind;
        return a.kind == 1 ? a.number < b.number : a.prefix < b.prefix;
    });
    orderTiedTexts(entries, texts, byPrefixes ? 8 : 0);
    std::deque<Row> ordered;
    for (const SortEntry& entry : entries)
        ordered.push_back(rows_[entry.row]);
    rows_ = std::move(ordered);
}

void Query::sort(const QString& column, AfterSort afterSort)
{
    requireOpen();
    const int position = fieldIndex(column);
    requireColumn(position);
    if (inserting())
        post();
    const qint64 currentRow = current_ >= 0 ? rows_[size_t(current_)].rowid : -1;
    orderRowsBy(position);
    const auto found = std::find_if(rows_.begin(), rows_.end(),
                                    [currentRow](const Row& row) { return row.rowid == currentRow; });
    current_ = found == rows_.end() ? -1 : int(found - rows_.begin());
    if (afterSort == AfterSort::First)
        current_ = rows_.empty() ? -1 : 0;
    if (!rows_.empty())
        clearMarkers();
}

Query::Transaction::Transaction(Query& query, Kind kind) : query_(query)
{
    if (query_.inTransaction_)
        throw StoreError("数据集上已有一个事务在进行");
    query_.connection().begin(kind == Kind::Write ? Connection::TransactionKind::Write
                                                  : Connection::TransactionKind::Read);
    query_.inTransaction_ = true;
}

void Query::Transaction::commit()
{
    query_.connection().commit();
    query_.inTransaction_ = false;
    done_ = true;
}

Query::Transaction::~Transaction()
{
    if (done_)
        return;
    query_.inTransaction_ = false;
    try {
        query_.connection().rollback();
    } catch (const StoreError&) {
        // The engine has already undone the transaction after its own failure.
    }
    if (!query_.open_)
        return;
    const int keep = query_.current_;
    try {
        query_.pending_.reset();
        query_.fetch();
        query_.current_ = query_.rows_.empty() ? -1 : std::min(keep, query_.recordCount() - 1);
    } catch (const StoreError&) {
        query_.close();
    }
}

} // namespace store
