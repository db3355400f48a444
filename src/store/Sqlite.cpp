#include "Sqlite.h"

#include "BlockReads.h"
#include "Collation.h"
#include "EngineErrors.h"
#include "HugePages.h"

#include <QFileInfo>
#include <algorithm>
#include <iterator>
#include <sqlite3.h>

namespace store {

namespace {
constexpr int kBusyTimeoutMs = 3000;
// Pauses between attempts to take a lock, the last one repeated.
constexpr int kLockRetryPausesMs[] = {1, 2, 5, 10, 15, 20, 25, 25, 25, 50, 50, 100};

// Before the engine's first use in the process: it keeps no count of the memory it takes, a count
// that no part of the program reads and that costs a lock around every allocation once the
// process has a second thread (the index worker of an import, the second reader of a search).
// When the engine was set up before, the count stays: slower, never wrong.
void configureEngine()
{
    static const bool configured = [] {
        (void)sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
        return true;
    }();
    Q_UNUSED(configured);
}

// The room for the engine's page cache: 4 MiB in huge pages, in slots of the largest page the
// program's stores have (the engine's default); larger pages come from the heap.
constexpr size_t kHugePageCacheBytes = size_t(4) << 20;
constexpr int kLargestPage = 4096;
} // namespace

bool givePageCacheRoomInHugePages()
{
    int header = 0;
    if (sqlite3_config(SQLITE_CONFIG_PCACHE_HDRSZ, &header) != SQLITE_OK)
        return false;
    const int slot = (kLargestPage + header + 7) & ~7;
    const HugePageMapping room = mapHugePages(kHugePageCacheBytes);
    if (!room.base)
        return false;
    // Kept for the process's whole life, as the engine requires; refused when the engine is in
    // use already, and then the heap serves as before.
    if (sqlite3_config(SQLITE_CONFIG_PAGECACHE, room.start, slot, int(kHugePageCacheBytes / size_t(slot)))
        != SQLITE_OK) {
        unmap(room);
        return false;
    }
    return true;
}

Connection::Connection(const QString& path, Mode mode, Reads reads) : path_(path), busyTime_(kBusyTimeoutMs)
{
    clock_.start();
    configureEngine();
    if (mode == Mode::CreateNew && QFileInfo(path).exists())
        throw StoreError(QStringLiteral("%1：文件已存在，新的数据文件不会写在已有的文件上")
                             .arg(path).toStdString());
    // Each connection is used by one thread only, so the engine's own locking is left out.
    const int access = mode == Mode::CreateNew  ? SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE
                       : mode == Mode::ReadOnly ? SQLITE_OPEN_READONLY
                                                : SQLITE_OPEN_READWRITE;
    const int flags = SQLITE_OPEN_NOMUTEX | access;
    const QByteArray file = path.toUtf8();
    // Without the layer (which only a failure to set it up would cause) pages are read one by one.
    const char* layer = reads == Reads::InBlocksWhenAsked && registerBlockReads() ? kBlockReadsLayer : nullptr;
    if (sqlite3_open_v2(file.constData(), &db_, flags, layer) != SQLITE_OK) {
        const QString message = db_ ? describeEngineError(sqlite3_extended_errcode(db_),
                                                          QString::fromUtf8(sqlite3_errmsg(db_)))
                                    : engineCause(SQLITE_NOMEM);
        sqlite3_close(db_);
        db_ = nullptr;
        throw StoreError(QStringLiteral("%1：%2").arg(path, message).toStdString());
    }
    try {
        configure();
        if (mode != Mode::CreateNew)
            refuseNewerStore();
    } catch (...) {
        sqlite3_close(db_);
        db_ = nullptr;
        throw;
    }
}

// Sorting a large title list stays in memory instead of spilling to temporary files, and reads
// map up to 64 MB of the file instead of copying its pages: enough for the book's hot pages,
// while an album's gigabytes of pictures never count towards the program's memory.
void Connection::configure()
{
    if (sqlite3_extended_result_codes(db_, 1) != SQLITE_OK
        || sqlite3_busy_handler(db_, &Connection::busyHandler, this) != SQLITE_OK)
        fail(path_);
    exec(QStringLiteral("pragma temp_store=memory"));
    setPageCache(kPageCacheKiB);
    setMemoryMap(kMemoryMapBytes);
    if (registerChineseCollation(db_) != SQLITE_OK)
        fail(path_);
}

void Connection::setMemoryMap(qint64 bytes)
{
    exec(QStringLiteral("pragma mmap_size=%1").arg(bytes));
}

void Connection::readInBlocks(bool on)
{
    int asked = on ? 1 : 0;
    // A connection made without the layer answers that it knows no such control: it goes on
    // reading page by page, which is never wrong.
    const int result = sqlite3_file_control(db_, "main", kBlockReadsControl, &asked);
    Q_ASSERT(result == SQLITE_OK || result == SQLITE_NOTFOUND);
    Q_UNUSED(result);
}

void Connection::setPageCache(int kib)
{
    Q_ASSERT(kib > 0);
    exec(QStringLiteral("pragma cache_size=-%1").arg(kib));
}

namespace {
constexpr int kOnePassPageCacheKiB = 2048;
}

Connection::OnePassReads::OnePassReads(Connection& connection) : connection_(connection)
{
    if (connection_.onePassDepth_++ > 0)
        return;
    try {
        savedPageCache_ = connection_.pragmaNumber("cache_size");
        savedMemoryMap_ = connection_.pragmaNumber("mmap_size");
        connection_.setMemoryMap(0);
        connection_.setPageCache(kOnePassPageCacheKiB);
    } catch (const StoreError&) {
        // The read then goes through the connection's own settings: slower, never wrong.
    }
}

Connection::OnePassReads::~OnePassReads()
{
    Q_ASSERT(connection_.onePassDepth_ > 0);
    if (--connection_.onePassDepth_ > 0)
        return;
    try {
        // cache_size keeps its sign: negative counts KiB, positive pages.
        connection_.exec(QStringLiteral("pragma cache_size=%1").arg(savedPageCache_));
        connection_.setMemoryMap(savedMemoryMap_);
    } catch (const StoreError&) {
        // Reads then go through the smaller cache, or without a map: slower, never wrong.
    }
}

qint64 Connection::pragmaNumber(const char* name)
{
    SqliteStatement read(*this, QStringLiteral("pragma %1").arg(QLatin1String(name)));
    if (!read.step())
        throw StoreError(QStringLiteral("数据文件没有给出设置 %1 的值").arg(QLatin1String(name)).toStdString());
    return read.columnInt(0);
}

Connection::Stamp Connection::stamp() const
{
    Stamp stamp;
    SqliteStatement application(*this, QStringLiteral("pragma application_id"));
    if (application.step())
        stamp.applicationId = int(application.columnInt(0));
    SqliteStatement version(*this, QStringLiteral("pragma user_version"));
    if (version.step())
        stamp.version = int(version.columnInt(0));
    return stamp;
}

// Only the header is read: a newer store is left exactly as it is. A file that is no store at all
// fails here with the engine's own words, as its first statement would.
void Connection::refuseNewerStore() const
{
    const Stamp found = stamp();
    if (found.applicationId == kStoreApplicationId && found.version > kStoreVersion)
        throw StoreError(QStringLiteral("数据文件 %1 是较新版本的墨舟札记建立的（数据格式第 %2 版），"
                                        "本程序只能打开第 %3 版及以前的数据文件；文件没有改动")
                             .arg(path_).arg(found.version).arg(kStoreVersion)
                             .toStdString());
}

Connection::~Connection()
{
    // Statements still open keep the engine's side alive until they are finalized.
    [[maybe_unused]] const int rc = sqlite3_close_v2(db_);
    Q_ASSERT(rc == SQLITE_OK);
}

void Connection::exec(const QString& sql)
{
    char* error = nullptr;
    if (sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, &error) != SQLITE_OK) {
        const QString message = QString::fromUtf8(error ? error : sqlite3_errmsg(db_));
        sqlite3_free(error);
        throw StoreError(describeEngineError(sqlite3_extended_errcode(db_), message).toStdString());
    }
}

void Connection::begin(TransactionKind kind)
{
    busyDeadline_ = clock_.elapsed() + busyTime_;
    inTransaction_ = true;
    try {
        exec(kind == TransactionKind::Write ? QStringLiteral("begin immediate")
                                            : QStringLiteral("begin"));
    } catch (const StoreError&) {
        inTransaction_ = false;
        throw;
    }
}

// A commit that fails leaves the transaction open, for the caller to roll back.
void Connection::commit()
{
    exec(QStringLiteral("commit"));
    inTransaction_ = false;
}

void Connection::rollback()
{
    inTransaction_ = false;
    exec(QStringLiteral("rollback"));
}

int Connection::busyHandler(void* connection, int attempt)
{
    return static_cast<Connection*>(connection)->waitForLock(attempt) ? 1 : 0;
}

// Within a transaction the wait is measured from its beginning; a statement on its own starts
// its wait at its first attempt.
bool Connection::waitForLock(int attempt)
{
    const qint64 now = clock_.elapsed();
    if (!inTransaction_ && attempt == 0)
        busyDeadline_ = now + busyTime_;
    if (now >= busyDeadline_)
        return false;
    constexpr int kPauses = int(std::size(kLockRetryPausesMs));
    const qint64 pause = std::min<qint64>(kLockRetryPausesMs[std::min(attempt, kPauses - 1)],
                                          busyDeadline_ - now);
    sqlite3_sleep(int(pause));
    return true;
}

void Connection::fail(const QString& context) const
{
    QString message = describeEngineError(sqlite3_extended_errcode(db_),
                                          QString::fromUtf8(sqlite3_errmsg(db_)));
    if (!context.isEmpty())
        message = context + QStringLiteral("：") + message;
    throw StoreError(message.toStdString());
}

bool Connection::keepsTextAsUtf8() const
{
    if (!utf8Text_) {
        SqliteStatement encoding(*this, QStringLiteral("pragma encoding"));
        utf8Text_ = encoding.step() && encoding.column(0).toString() == QLatin1String("UTF-8");
    }
    return *utf8Text_;
}

std::optional<QByteArray> Connection::readStoredBytes(const QString& table, const QString& column,
                                                      qint64 rowid) const
{
    const std::unique_ptr<BlobReader> value = BlobReader::open(*this, table, column, rowid);
    if (!value)
        return std::nullopt;
    QByteArray bytes(value->size(), Qt::Uninitialized);
    value->read(0, bytes.data(), bytes.size());
    return bytes;
}

std::unique_ptr<BlobReader> BlobReader::open(const Connection& connection, const QString& table,
                                             const QString& column, qint64 rowid)
{
    if (!connection.keepsTextAsUtf8())
        return nullptr;
    sqlite3_blob* blob = nullptr;
    const int opened = sqlite3_blob_open(connection.handle(), "main", table.toUtf8().constData(),
                                         column.toUtf8().constData(), rowid, 0, &blob);
    if (opened == SQLITE_ERROR) {  // no BLOB or text in that place
        sqlite3_blob_close(blob);
        return nullptr;
    }
    if (opened != SQLITE_OK) {
        sqlite3_blob_close(blob);
        connection.fail(QStringLiteral("读取“%1”时出错").arg(column));
    }
    return std::unique_ptr<BlobReader>(new BlobReader(connection, blob, column));
}

BlobReader::BlobReader(const Connection& connection, sqlite3_blob* blob, const QString& column)
    : connection_(connection), blob_(blob), column_(column), size_(sqlite3_blob_bytes(blob))
{
}

// Closing only ends the read transaction; a read that failed has been reported already.
BlobReader::~BlobReader()
{
    sqlite3_blob_close(blob_);
}

void BlobReader::read(qint64 offset, char* into, qint64 length)
{
    Q_ASSERT(offset >= 0 && length >= 0 && offset + length <= size_);
    if (sqlite3_blob_read(blob_, into, int(length), int(offset)) != SQLITE_OK)
        connection_.fail(QStringLiteral("读取“%1”时出错").arg(column_));
}

SqliteStatement::SqliteStatement(const Connection& connection, const QString& sql)
    : connection_(connection)
{
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v2(connection.handle(), text.constData(), int(text.size()), &stmt_, nullptr)
        != SQLITE_OK)
        connection.fail();
}

SqliteStatement::~SqliteStatement()
{
    sqlite3_finalize(stmt_);
}

void SqliteStatement::bind(int index, const QVariant& value)
{
    int rc = SQLITE_OK;
    switch (value.typeId()) {
    case QMetaType::UnknownType:
        rc = sqlite3_bind_null(stmt_, index);
        break;
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::Bool:
        rc = sqlite3_bind_int64(stmt_, index, value.toLongLong());
        break;
    case QMetaType::Double:
        rc = sqlite3_bind_double(stmt_, index, value.toDouble());
        break;
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        rc = sqlite3_bind_blob64(stmt_, index, bytes.constData(), sqlite3_uint64(bytes.size()),
                                 SQLITE_TRANSIENT);
        break;
    }
    default: {
        const QByteArray text = value.toString().toUtf8();
        rc = sqlite3_bind_text64(stmt_, index, text.constData(), sqlite3_uint64(text.size()),
                                 SQLITE_TRANSIENT, SQLITE_UTF8);
        break;
    }
    }
    if (rc != SQLITE_OK)
        connection_.fail();
}

void SqliteStatement::bindAll(const QVariantList& values)
{
    for (int i = 0; i < values.size(); ++i)
        bind(i + 1, values[i]);
}

void SqliteStatement::bindText(int index, QStringView text)
{
    if (sqlite3_bind_text16(stmt_, index, text.utf16(), int(text.size() * 2), SQLITE_STATIC)
        != SQLITE_OK)
        connection_.fail();
}

void SqliteStatement::bindUtf8(int index, QByteArrayView text)
{
    if (sqlite3_bind_text64(stmt_, index, text.data() ? text.data() : "", sqlite3_uint64(text.size()),
                            SQLITE_STATIC, SQLITE_UTF8)
        != SQLITE_OK)
        connection_.fail();
}

void SqliteStatement::bindInteger(int index, qint64 value)
{
    if (sqlite3_bind_int64(stmt_, index, value) != SQLITE_OK)
        connection_.fail();
}

bool SqliteStatement::step()
{
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    connection_.fail();
}

void SqliteStatement::reset()
{
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

int SqliteStatement::columnCount() const
{
    return sqlite3_column_count(stmt_);
}

QString SqliteStatement::columnName(int column) const
{
    return QString::fromUtf8(sqlite3_column_name(stmt_, column));
}

QVariant SqliteStatement::column(int column) const
{
    switch (sqlite3_column_type(stmt_, column)) {
    case SQLITE_NULL:
        return {};
    case SQLITE_INTEGER:
        return QVariant(qlonglong(sqlite3_column_int64(stmt_, column)));
    case SQLITE_FLOAT:
        return sqlite3_column_double(stmt_, column);
    case SQLITE_BLOB: {
        const void* data = sqlite3_column_blob(stmt_, column);
        return QByteArray(static_cast<const char*>(data), sqlite3_column_bytes(stmt_, column));
    }
    default: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
        return QString::fromUtf8(text, sqlite3_column_bytes(stmt_, column));
    }
    }
}

qint64 SqliteStatement::columnInt(int column) const
{
    return sqlite3_column_int64(stmt_, column);
}

QStringView SqliteStatement::columnText(int column) const
{
    const void* text = sqlite3_column_text16(stmt_, column);
    return QStringView(static_cast<const char16_t*>(text),
                       qsizetype(sqlite3_column_bytes16(stmt_, column) / 2));
}

QByteArrayView SqliteStatement::columnUtf8(int column) const
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    return QByteArrayView(text, qsizetype(sqlite3_column_bytes(stmt_, column)));
}

QByteArrayView SqliteStatement::columnBytes(int column) const
{
    const auto* bytes = static_cast<const char*>(sqlite3_column_blob(stmt_, column));
    return QByteArrayView(bytes, qsizetype(sqlite3_column_bytes(stmt_, column)));
}

} // namespace store
