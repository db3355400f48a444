// The title list's order kept in the store beside 文本: one sort key per entry (its line 0), in
// a plain table with a plain index, so that the list reads its titles in order a page at a time
// instead of sorting every title when it opens. Other SQLite tools may still write the store:
// triggers of plain SQL only record which rows changed, and the program folds those rows into the
// order before it reads it. The keys come from the Chinese collation; a store whose keys the
// collation would no longer make (another version of its data) has them made again.
#pragma once

#include <QByteArray>
#include <QString>
#include <memory>
#include <vector>

namespace store {

class Connection;
class SqliteStatement;

namespace titleorder {

// The tables and triggers of the order in an empty store (whose order is then complete); run
// inside the transaction that makes the store's tables.
QString schemaSql();

// Brings the order of the store up to date: a store without it gets it, built from every entry;
// rows changed since are folded in; nothing is written when nothing changed. Throws StoreError
// when the store has no text table or cannot be written where it must be.
void catchUp(Connection& connection);
void catchUp(const QString& path);

// Inside the transaction of a rewrite of the whole book: from its making to finish() the triggers
// record nothing, and finish() builds the order anew from the rows then in the store. A store
// without the order is left to the next catch-up.
class BookRewrite {
public:
    explicit BookRewrite(Connection& connection);
    void finish();

private:
    Connection& connection_;
    bool installed_ = false;
};

// The titles in the list's order, read a page at a time on a connection of its own, which holds
// no lock between pages. Construction catches the order up (see catchUp) and throws as it does.
class TitleReader {
public:
    explicit TitleReader(const QString& path);
    ~TitleReader();
    TitleReader(const TitleReader&) = delete;
    TitleReader& operator=(const TitleReader&) = delete;

    // Up to count titles that follow the last one read (the first ones at first); fewer only at
    // the end of the list.
    std::vector<QString> next(int count);
    bool atEnd() const { return atEnd_; }

private:
    std::unique_ptr<Connection> connection_;
    std::unique_ptr<SqliteStatement> page_;
    QByteArray lastKey_;
    qint64 lastRow_ = -1;
    bool atEnd_ = false;
};

} // namespace titleorder
} // namespace store
