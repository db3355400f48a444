// Thin RAII layer over the SQLite C API: a connection, a prepared statement, and the error type
// that every store failure raises.
#pragma once

#include <QString>
#include <QVariant>
#include <stdexcept>

struct sqlite3;
struct sqlite3_stmt;

namespace store {

// A failure reported by the store engine; what() is the engine's own message.
class StoreError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class Connection {
public:
    enum class Mode { OpenExisting, CreateNew };

    // Opens the file at path. OpenExisting never creates a file; CreateNew refuses an existing one.
    explicit Connection(const QString& path, Mode mode = Mode::OpenExisting);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    sqlite3* handle() const { return db_; }
    const QString& path() const { return path_; }

    // Runs statements that take no parameters and return no rows.
    void exec(const QString& sql);
    [[noreturn]] void fail(const QString& context = {}) const;

private:
    void configure();

    sqlite3* db_ = nullptr;
    QString path_;
};

class SqliteStatement {
public:
    SqliteStatement(const Connection& connection, const QString& sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    // Binds value to the 1-based parameter index: null, whole number, real, bytes or text.
    void bind(int index, const QVariant& value);
    void bindAll(const QVariantList& values);
    // Steps once; true while a row is available.
    bool step();
    void reset();

    int columnCount() const;
    QString columnName(int column) const;
    QVariant column(int column) const;
    qint64 columnInt(int column) const;

private:
    const Connection& connection_;
    sqlite3_stmt* stmt_ = nullptr;
};

} // namespace store
