// Thin RAII layer over the SQLite C API: a connection, a prepared statement, and the error type
// that every store failure raises.
#pragma once

#include <QByteArrayView>
#include <QElapsedTimer>
#include <QString>
#include <QStringView>
#include <QVariant>
#include <memory>
#include <optional>
#include <stdexcept>

struct sqlite3;
struct sqlite3_blob;
struct sqlite3_stmt;

namespace store {

// A failure reported by the store engine; what() is the engine's own message.
class StoreError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// This program's mark in the header of every store it makes, and the version of the store's
// tables that it reads and writes. A store made before the mark existed has neither (both 0) and
// opens as it always did; one marked with a higher version is refused when it is opened.
inline constexpr int kStoreApplicationId = 0x4D5A4A5A;  // "MZJZ"
inline constexpr int kStoreVersion = 1;

// How much of the store file a connection maps into memory for its reads, and how many KiB of
// pages it keeps in its page cache.
inline constexpr qint64 kMemoryMapBytes = qint64(64) << 20;
inline constexpr int kPageCacheKiB = 32768;

// For a process that reads each page once, such as a search from the command line: before the
// engine's first use, gives it 4 MiB offered for huge pages as its page cache, so that the pages
// read first cost no page fault each. Once that room is nearly full the engine recycles its pages
// instead of taking more from the heap, whatever cache size a connection asks for: a process
// that reads pages again must not call this. False when the room could not be given (the engine
// already in use, no memory); the heap then serves as before.
bool givePageCacheRoomInHugePages();

class Connection {
public:
    enum class Mode { OpenExisting, CreateNew, ReadOnly };
    // How the store file is read: always a page at a time, or so until blocks of several pages
    // are asked for (see readInBlocks).
    enum class Reads { ByPage, InBlocksWhenAsked };

    // Opens the file at path. OpenExisting never creates a file, and refuses (StoreError, the
    // file unchanged) a store that a later version of the program marked as newer than
    // kStoreVersion; ReadOnly does the same and then never writes; CreateNew refuses an
    // existing file.
    explicit Connection(const QString& path, Mode mode = Mode::OpenExisting, Reads reads = Reads::ByPage);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    sqlite3* handle() const { return db_; }
    const QString& path() const { return path_; }

    // Runs statements that take no parameters and return no rows.
    void exec(const QString& sql);

    // Maps at most bytes of the store file for reads from now on (0: none). A bulk write maps
    // none: its pages are written through the page cache anyway, and mapped ones would only add
    // to the memory it takes.
    void setMemoryMap(qint64 bytes);
    // From now on reads the store file in blocks of several pages (on) or a page at a time, on
    // a connection made with Reads::InBlocksWhenAsked; others read page by page anyway. For a
    // read that visits pages close together in the file's order, such as many rows by rowid,
    // most pages then cost no read of their own (see BlockReads.h).
    void readInBlocks(bool on);
    // Keeps at most kib KiB of pages in the page cache from now on.
    void setPageCache(int kib);

    // For the length of a read that visits each page about once (a whole result set, an
    // export): a small page cache and no memory map, as a plain reader uses, so that no page is
    // mapped or allocated for a single use. The settings it found come back afterwards; one
    // inside another changes nothing.
    class OnePassReads {
    public:
        explicit OnePassReads(Connection& connection);
        ~OnePassReads();
        OnePassReads(const OnePassReads&) = delete;
        OnePassReads& operator=(const OnePassReads&) = delete;

    private:
        Connection& connection_;
        qint64 savedPageCache_ = -kPageCacheKiB;
        qint64 savedMemoryMap_ = kMemoryMapBytes;
    };

    // A transaction that only reads takes no lock until its first read and never blocks another
    // reader; a writing one takes the write lock at once.
    enum class TransactionKind { Read, Write };
    void begin(TransactionKind kind);
    void commit();
    void rollback();
    // Runs work in a transaction of kind: committed when work returns, rolled back (a failing
    // rollback aside) when it throws, and the failure rethrown.
    template <typename Work>
    void inTransaction(TransactionKind kind, Work&& work)
    {
        begin(kind);
        try {
            work();
            commit();
        } catch (...) {
            try {
                rollback();
            } catch (const StoreError&) {
            }
            throw;
        }
    }

    // How long, in all, a transaction (or a statement outside one) waits for the locks of other
    // connections before it fails as busy. The engine asks for locks again and again within one
    // transaction (each time it spills pages to the file), and the whole wait counts.
    void setBusyTime(int milliseconds) { busyTime_ = milliseconds; }
    int busyTime() const { return busyTime_; }
    [[noreturn]] void fail(const QString& context = {}) const;

    // One stored value read straight into the result, without the engine first assembling a
    // copy of its own: a BLOB's bytes, or a text's UTF-8. Nothing for a value of another kind
    // (null, a number), for a row that is not there, and for a store that keeps its text in
    // UTF-16; the caller then reads it as a value. Throws StoreError on a failed read.
    std::optional<QByteArray> readStoredBytes(const QString& table, const QString& column,
                                              qint64 rowid) const;

    // The application id and the version in the store's header (0 and 0 when never set).
    struct Stamp {
        int applicationId = 0;
        int version = 0;
    };
    Stamp stamp() const;

private:
    friend class BlobReader;
    void configure();
    void refuseNewerStore() const;
    bool keepsTextAsUtf8() const;
    static int busyHandler(void* connection, int attempt);
    bool waitForLock(int attempt);

    sqlite3* db_ = nullptr;
    QString path_;
    qint64 pragmaNumber(const char* name);
    int onePassDepth_ = 0;  // OnePassReads alive: only the outermost sets and restores
    int busyTime_;
    bool inTransaction_ = false;
    QElapsedTimer clock_;
    qint64 busyDeadline_ = 0;  // on clock_
    mutable std::optional<bool> utf8Text_;  // read when first needed
};

// One stored BLOB or UTF-8 text read piece by piece straight into the caller's memory, with no
// copy of the whole value on the way. While it is open its connection holds a read transaction.
class BlobReader {
public:
    // The value at table, column, rowid; nothing when that place holds no BLOB or text (a null,
    // a number, no such row) or the store keeps its text as UTF-16. Throws StoreError when the
    // store cannot be read.
    static std::unique_ptr<BlobReader> open(const Connection& connection, const QString& table,
                                            const QString& column, qint64 rowid);
    ~BlobReader();
    BlobReader(const BlobReader&) = delete;
    BlobReader& operator=(const BlobReader&) = delete;

    qint64 size() const { return size_; }
    // Copies length bytes from offset into `into`; the range must lie within size(). Throws
    // StoreError, also when the row was changed or deleted since the value was opened.
    void read(qint64 offset, char* into, qint64 length);

private:
    BlobReader(const Connection& connection, sqlite3_blob* blob, const QString& column);

    const Connection& connection_;
    sqlite3_blob* blob_;
    QString column_;
    qint64 size_;
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
    // Binds text that stays valid and unchanged until the statement is reset, without a copy.
    void bindText(int index, QStringView text);
    // The same for text given as UTF-8, which the store keeps as it is.
    void bindUtf8(int index, QByteArrayView text);
    void bindInteger(int index, qint64 value);
    // Steps once; true while a row is available.
    bool step();
    void reset();

    int columnCount() const;
    QString columnName(int column) const;
    QVariant column(int column) const;
    qint64 columnInt(int column) const;
    // A text column as the engine holds it, valid until the next step or reset.
    QStringView columnText(int column) const;
    // The same as UTF-8, the form the store keeps text in (no conversion).
    QByteArrayView columnUtf8(int column) const;
    // A BLOB column's bytes as the engine holds them, valid until the next step or reset.
    QByteArrayView columnBytes(int column) const;

private:
    const Connection& connection_;
    sqlite3_stmt* stmt_ = nullptr;
};

} // namespace store
