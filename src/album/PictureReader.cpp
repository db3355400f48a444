#include "PictureReader.h"

#include "store/Query.h"
#include "store/Sqlite.h"
#include "store/Tables.h"

#include <QFile>
#include <cstring>

#include <sys/stat.h>

namespace album {

namespace {

// A stored BLOB or text, read where it lies.
class StoredBytes : public PictureBytes {
public:
    explicit StoredBytes(std::unique_ptr<store::BlobReader> blob) : blob_(std::move(blob)) {}
    qint64 size() const override { return blob_->size(); }
    void read(qint64 offset, char* into, qint64 length) override { blob_->read(offset, into, length); }

private:
    std::unique_ptr<store::BlobReader> blob_;
};

// A value of another kind (a null, a number), read as the picture query reads it: small.
class ValueBytes : public PictureBytes {
public:
    explicit ValueBytes(QByteArray bytes) : bytes_(std::move(bytes)) {}
    qint64 size() const override { return bytes_.size(); }
    void read(qint64 offset, char* into, qint64 length) override
    {
        Q_ASSERT(offset >= 0 && offset + length <= bytes_.size());
        std::memcpy(into, bytes_.constData() + offset, size_t(length));
    }

private:
    QByteArray bytes_;
};

} // namespace

namespace {
constexpr int kCacheKiB = 256;
}

PictureReader::PictureReader(const QString& storePath) : storePath_(storePath) {}

PictureReader::~PictureReader() = default;

// The file under the store's name is checked on every use: one that took the name since the
// connection was made (a compacted copy, whose rows may have other rowids) is connected to
// afresh, so no picture is ever read from a file that is no longer the store.
store::Connection& PictureReader::connection()
{
    struct stat file {};
    if (::stat(QFile::encodeName(storePath_).constData(), &file) != 0)
        connection_.reset();  // the connection below fails with the engine's own words
    else if (connection_ && (file.st_dev != device_ || file.st_ino != inode_))
        connection_.reset();
    if (!connection_) {
        device_ = file.st_dev;
        inode_ = file.st_ino;
        connection_ = std::make_unique<store::Connection>(storePath_, store::Connection::Mode::ReadOnly);
        // A picture's pages are read once, in order: keeping them in a cache or mapping the
        // file would only add memory, and a page fault or an allocation to each page read.
        connection_->setMemoryMap(0);
        connection_->setPageCache(kCacheKiB);
    }
    return *connection_;
}

std::unique_ptr<PictureBytes> PictureReader::open(qint64 rowid)
{
    const QString& table = store::kPictureTable;
    const QString& column = store::columnName(store::kPictureDataColumn);
    if (std::unique_ptr<store::BlobReader> blob = store::BlobReader::open(connection(), table, column, rowid))
        return std::make_unique<StoredBytes>(std::move(blob));
    store::SqliteStatement value(connection(), QStringLiteral("select \"%1\" from \"%2\" where rowid=?")
                                                   .arg(column, table));
    value.bindInteger(1, rowid);
    if (!value.step())
        return nullptr;
    return std::make_unique<ValueBytes>(store::bytesOf(value.column(0)));
}

} // namespace album
