// Full-text search of the entry lines: an index of single characters and character pairs kept in
// the store beside 文本, and the search that answers from it.
//
// The index is plain tables. Triggers of plain SQL on 文本 only write the rowids of changed rows
// into a pending table, so any SQLite tool may still write the store; the program folds pending
// rows into the index at start and before it searches. Rows still pending are searched by
// reading them, so an answer is always complete.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

namespace store {

class Connection;

namespace fulltext {

// The tables and triggers of the index in an empty store; run inside the transaction that makes
// the store's tables.
QString schemaSql();

// True when the store has the index's tables.
bool isInstalled(const Connection& connection);

// Brings the index of the store at path up to date, in a transaction of its own: a store without
// the index gets it, built from every row; rows changed since are folded in. Throws StoreError
// when the store cannot be written.
void catchUp(const QString& path);

// The same on an open connection outside a transaction.
void catchUp(Connection& connection);

// Builds the whole index anew from every row; inside the caller's write transaction.
void rebuild(Connection& connection);

// What makes the index of the store at path disagree with its rows (a trigger missing, a key's
// rows wrong, a line placed under the wrong title), in words for the user; empty when the index
// agrees or the store has none (the next catch-up builds it). Only reads. Throws StoreError.
QStringList indexProblems(const QString& path);

// Drops the index with its triggers and builds it anew from every row, in one transaction.
// Throws StoreError.
void reinstall(const QString& path);

// Indexes the rows that a rewrite of the whole book inserts while they are inserted, inside the
// writer's transaction: the old index goes when it is made, and finish() writes the last of the
// new one. From its making to finish() the triggers record nothing, so the book's own deletes and
// inserts cost no pending rows. A failed rewrite rolls all of it back. A store without the index
// is left to the next catch-up.
class BookRewrite {
public:
    explicit BookRewrite(Connection& connection);
    ~BookRewrite();
    BookRewrite(const BookRewrite&) = delete;
    BookRewrite& operator=(const BookRewrite&) = delete;

    // The row the connection inserted last, with its values as written.
    void addInsertedRow(QByteArrayView title, qint64 lineNumber, QByteArrayView text);
    // Replaces the index by that of the rows added; the pending rows are cleared.
    void finish();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// One match: the entry's title, the line number and the line, with where the match stands in
// it (UTF-16 positions).
struct Hit {
    QString title;
    qint64 lineNumber = 0;
    QString line;
    qsizetype matchStart = 0;
    qsizetype matchLength = 0;
};

class Searcher;

// The lines a search found, in the title list's order, then by line number.
class Result {
public:
    Result();
    ~Result();
    Result(Result&&) noexcept;
    Result& operator=(Result&&) noexcept;

    qsizetype count() const;
    // Reads the line of match i from the store.
    Hit hit(qsizetype i) const;
    // Reads the lines of count matches from from on, at one time.
    std::vector<Hit> hits(qsizetype from, qsizetype count) const;
    // Reads the lines of count matches from from on, at one time, and hands each to visit in
    // order as the store holds it: title and line in UTF-8 (valid only during the call).
    using LineVisitor = std::function<void(QByteArrayView title, qint64 lineNumber, QByteArrayView line)>;
    void visitLines(qsizetype from, qsizetype count, const LineVisitor& visit) const;

private:
    friend class Searcher;
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// What makes a query unusable, or nothing.
enum class QueryProblem { None, Empty };
QueryProblem checkQuery(const QString& text);

// Searches the store at path on a connection of its own, which it keeps.
class Searcher {
public:
    explicit Searcher(const QString& path);
    ~Searcher();
    Searcher(const Searcher&) = delete;
    Searcher& operator=(const Searcher&) = delete;

    // Folds the rows changed since the last catch-up into the index when they are many enough
    // to slow a search down. A store that cannot be written is searched as it is.
    void catchUpIfBehind();

    // Every line that contains text: ASCII letters match without case, every other character
    // exactly. Throws std::invalid_argument for a query checkQuery refuses, StoreError on a
    // store failure.
    Result search(const QString& text);

    // Every line that search finds, handed to visit in the same order: for a reader of all the
    // matches. Each matching row is read once, in the store's order, and the lines are kept until
    // all are read; a result of more than some tens of megabytes is read again in pieces instead.
    // Returns the number of matches. Throws as search does.
    qsizetype visitAll(const QString& text, const Result::LineVisitor& visit);

    struct Impl;

private:
    std::shared_ptr<Impl> impl_;
};

} // namespace fulltext
} // namespace store
