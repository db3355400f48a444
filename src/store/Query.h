// The data layer the windows use: a client-side, updatable result set over one table of the
// store, on a connection of its own. Opening fetches every row; moves, reads, inserts and
// deletes then work on that result and write each change to the store at once (or at the commit
// of a Transaction). Columns declared BLOB, and the columns stored after them, are fetched only
// when read, so an album's pictures never all sit in memory nor are read to list their names.
#pragma once

#include "Statements.h"

#include <QString>
#include <QStringView>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>
#include <deque>
#include <optional>
#include <vector>

namespace store {

class Connection;
class SqliteStatement;

// A value as bytes, as Query::bytesAt reads it: a BLOB's own bytes, any other value's text as
// UTF-8 (empty for none).
QByteArray bytesOf(const QVariant& value);

class Query {
public:
    Query();
    ~Query();
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;

    // The store file the query connects to (its connection string). Setting it closes the query.
    void setStorePath(const QString& path);
    const QString& storePath() const { return storePath_; }
    // Closes the query and drops the connection, so that the file is no longer held.
    void release();

    // The query's own connection to the store (made when first needed), for work that must run
    // inside the query's transaction.
    Connection& connection();

    // Replaces the statement; an open query is closed by it.
    void setStatement(const Statement& statement);
    // Sets statement and opens the query on it. When the store refuses (locked, damaged), the
    // query keeps the statement, result and current row it had, and the StoreError is rethrown.
    void reopenOn(const Statement& statement);
    const Statement& statement() const { return statement_; }

    // Runs the statement and fetches the result; the first row, if any, becomes current.
    void open();
    void close();
    bool isOpen() const { return open_; }

    int recordCount() const { return int(rows_.size()); }
    bool isEmpty() const { return rows_.empty(); }
    // 1-based position of the current row; -1 when there is none or a new row is being made.
    int recNo() const;
    // Index of the current row in the result, or -1.
    int currentIndex() const { return inserting() ? -1 : current_; }
    bool atStart() const { return atStart_; }
    bool atEnd() const { return atEnd_; }

    void first();
    void next();
    void prior();
    void last();
    // Makes row index (0-based) current, as a click on a grid row does.
    void moveTo(int index);

    QStringList fieldNames() const;
    int fieldIndex(const QString& name) const;  // -1 when the table has no such column
    // Reads a column of the current row (or of the row being made); no value reads as empty.
    QVariant field(int position) const;
    QVariant field(const QString& name) const;
    QString fieldText(int position) const;
    QString fieldText(const QString& name) const;
    QByteArray fieldBytes(int position) const;
    QByteArray fieldBytes(const QString& name) const;
    // Reads a column of any row of the result without moving (grids and lists use this).
    QVariant valueAt(int index, int position) const;
    // The same as bytes, as fieldBytes reads them: empty for no value.
    QByteArray bytesAt(int index, int position) const;
    // A number that stands for row index of the result while it is in the result, unchanged by
    // moves and sorts, and never given to another row in this process: a row fetched again, or
    // new, gets a new one. What is worked out from a row's values may be kept under it.
    quint64 rowKeyAt(int index) const;
    // The store's rowid of row index of the result, for a reader on another connection.
    qint64 rowidAt(int index) const;

    // Begins a new row before the current one (insert) or after the last (append).
    void insert();
    void append();
    bool inserting() const { return pending_.has_value(); }
    void setField(int position, const QVariant& value);
    void setField(const QString& name, const QVariant& value);
    // Writes the new row to the store; it becomes the current row.
    void post();
    void cancel();

    // Deletes the current row from the store; the next row becomes current, or the new last.
    void deleteCurrent();

    // Orders the open result by one column, ascending, without a new statement. The current
    // picture stays current, or (AfterSort::First) the first row of the new order becomes
    // current, as the album's sort needs it (the album export walks the album from there).
    enum class AfterSort { KeepCurrent, First };
    void sort(const QString& column, AfterSort afterSort = AfterSort::KeepCurrent);

    // Bulk work for loops that only pass rows on (the book's import and export): no row is kept
    // here, and text goes between the store and the caller without becoming a QVariant. Each
    // replaces the statement and leaves the query closed.
    //
    // Deletes every row that rows ("select ... from T [where ...]") selects, in one store
    // statement; returns how many there were.
    qint64 deleteRows(const Statement& rows);

    // One row of a statement's result as the store hands it over, in the statement's column
    // order; valid only while the visitor that receives it runs.
    class RowView {
    public:
        QStringView text(int column) const;
        // The text as UTF-8, as the store keeps it; reading it costs no conversion.
        QByteArrayView utf8(int column) const;
        qint64 integer(int column) const;

    private:
        friend class Query;
        explicit RowView(SqliteStatement& statement) : statement_(statement) {}
        SqliteStatement& statement_;
    };
    // Runs the statement as written and hands each row to visit. A statement run again keeps
    // its prepared form.
    void forEachRow(const Statement& statement, const std::function<void(const RowView&)>& visit);

    // New rows written through one prepared insert naming every column of the table, in the
    // table's order; none of them is kept here. Use it inside a Transaction.
    class RowWriter {
    public:
        RowWriter(Query& query, const QString& table);
        // Text is handed to the store as it stands and must stay valid until write().
        void setText(int position, QStringView text);
        void setUtf8(int position, QByteArrayView text);
        void setInteger(int position, qint64 value);
        // Stores the row; a column not set since the last write is empty (null).
        void write();

    private:
        Query& query_;
        SqliteStatement& insert_;
    };

    // Called after every move of the current row (see the .cpp for exactly when).
    void setAfterScroll(std::function<void()> handler) { afterScroll_ = std::move(handler); }

    // Groups the writes made through this query until commit(); a Transaction destroyed without
    // commit() rolls them back and refetches the result, so the store and the query are as before.
    // A Read transaction writes nothing: its reads all see one state of the store, and it takes
    // no write lock, so readers elsewhere do not stop it.
    class Transaction {
    public:
        enum class Kind { Write, Read };
        explicit Transaction(Query& query, Kind kind = Kind::Write);
        ~Transaction();
        Transaction(const Transaction&) = delete;
        Transaction& operator=(const Transaction&) = delete;
        void commit();

    private:
        Query& query_;
        bool done_ = false;
    };

private:
    struct Column {
        QString name;
        bool lazy = false;  // a BLOB or after one: read from the store when asked for
    };
    // A row of the result: its rowid, and where its kept values begin in values_.
    struct Row {
        qint64 rowid = 0;
        size_t values = 0;
        quint64 key = 0;  // see rowKeyAt
    };
    struct Pending {
        std::vector<QVariant> values;  // every column's
        size_t position = 0;   // where the row goes in the result when posted
        int previous = -1;     // current row before the insert began
    };

    void loadColumns();
    QString selectSql();
    bool markFetchedColumns(const QString& selectList);
    void fetch();
    void placeKeptValues();
    const QVariant* keptValue(const Row& row, int position) const;
    void requireOpen() const;
    const Row& rowAt(int index) const;  // throws StoreError for an index outside the result
    void requireColumn(int position) const;
    void clearMarkers();
    void orderRowsBy(int position);
    void scrolled();
    void beginNew(size_t position);
    SqliteStatement& insertStatement();
    SqliteStatement& deleteStatement();
    SqliteStatement& prepareInsert(const QString& table);

    QString storePath_;
    std::unique_ptr<Connection> connection_;
    std::unique_ptr<SqliteStatement> insertStatement_;
    std::unique_ptr<SqliteStatement> deleteStatement_;
    std::unique_ptr<SqliteStatement> selectStatement_;  // kept while the same SQL runs again
    QString selectText_;
    std::unique_ptr<SqliteStatement> rowStatement_;  // forEachRow's, kept in the same way
    QString rowText_;
    Statement statement_;
    QString table_;
    int fetchOrder_ = -1;  // column the result is ordered by on this side, or -1
    std::vector<Column> columns_;
    std::vector<bool> fetched_;  // by column: the current statement's rows carry its values
    // By column: its place among the values kept for each row, or -1 when it is read from the
    // store when asked for. The kept values of all rows lie in values_, row after row, so that a
    // result of many rows is one allocation, not one per row; a deleted row's values stay
    // (emptied) until the next fetch.
    std::vector<int> keptPlace_;
    size_t keptPerRow_ = 0;
    std::vector<QVariant> values_;
    std::deque<Row> rows_;  // deque: deleting row after row from the front stays cheap
    std::optional<Pending> pending_;
    int current_ = -1;
    bool open_ = false;
    bool atStart_ = true;
    bool atEnd_ = true;
    bool inTransaction_ = false;
    std::function<void()> afterScroll_;
};

} // namespace store
