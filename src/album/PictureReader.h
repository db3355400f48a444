// Reading the album's picture data on a decoding thread: through a read-only connection of that
// thread's own, piece by piece as the decoder asks for it, so that the interface thread never
// reads or copies a picture and no whole copy of one is made.
#pragma once

#include "PictureCodec.h"

#include <QString>
#include <memory>

namespace store {
class Connection;
}

namespace album {

class PictureReader {
public:
    // Connects to the store file at storePath when first used, on the thread that uses it, and
    // again whenever another file has taken that name; used by one thread at a time.
    explicit PictureReader(const QString& storePath);
    ~PictureReader();
    PictureReader(const PictureReader&) = delete;
    PictureReader& operator=(const PictureReader&) = delete;

    const QString& storePath() const { return storePath_; }

    // The picture data of the album's row rowid as the store holds it now; nothing when there is
    // no such row (deleted, or not yet committed by the writer). While the result lives, the
    // connection holds a read transaction. Throws StoreError.
    std::unique_ptr<PictureBytes> open(qint64 rowid);

private:
    store::Connection& connection();

    QString storePath_;
    std::unique_ptr<store::Connection> connection_;
    // The file the connection was made to.
    quint64 device_ = 0;
    quint64 inode_ = 0;
};

} // namespace album
