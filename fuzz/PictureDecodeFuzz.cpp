// Feeds arbitrary bytes to the decoding of a picture record: the first byte chooses
// the flag (0 BMP, 1 JPEG, anything else a Fail record), the rest is Myimage. Decoding must
// either give a picture within the size limit, give none for a Fail record, or fail with
// DecodeError; never crash, read outside the bytes, leak, or end the process from libjpeg. A JPEG
// record also goes through the reduced decode of the thumbnails, from memory and read piece by
// piece as from the store: both must give the same picture or the same message.
#include "album/PictureCodec.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

// The bytes served piece by piece, as the store serves a picture.
class Pieces : public album::PictureBytes {
public:
    explicit Pieces(const QByteArray& bytes) : bytes_(bytes) {}
    qint64 size() const override { return bytes_.size(); }
    void read(qint64 offset, char* into, qint64 length) override
    {
        if (offset < 0 || length < 0 || offset + length > bytes_.size())
            std::abort();
        std::memcpy(into, bytes_.constData() + offset, size_t(length));
    }

private:
    const QByteArray& bytes_;
};

// The reduced decode's picture, or its message.
template <typename Data>
std::pair<QImage, QString> reduced(Data& data)
{
    try {
        return {album::decodeJpegAtLeast(data, QSize(96, 68)), QString()};
    } catch (const album::DecodeError& error) {
        return {QImage(), QString::fromUtf8(error.what())};
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const QVariant flag = data[0] == 0 ? QVariant(0) : data[0] == 1 ? QVariant(1) : QVariant(int(data[0]));
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    try {
        const std::optional<QImage> picture = album::decodeRecord(bytes, flag);
        if (picture) {
            if (picture->isNull() || qint64(picture->width()) * picture->height() > album::kMaxPixels)
                std::abort();
            // Touch the last byte of the pixels: the picture really holds what it claims.
            volatile uchar last = picture->constScanLine(picture->height() - 1)[picture->bytesPerLine() - 1];
            (void)last;
        } else if (data[0] == 0 || data[0] == 1) {
            std::abort();  // a BMP or JPEG record gives a picture or an error
        }
    } catch (const album::DecodeError&) {
    }
    if (data[0] == 1) {
        try {
            (void)album::jpegSize(bytes);
        } catch (const album::DecodeError&) {
        }
        // the thumbnails' reduced decode
        const auto [small, message] = reduced(bytes);
        if (!small.isNull()) {
            volatile uchar last = small.constScanLine(small.height() - 1)[small.bytesPerLine() - 1];
            (void)last;
        }
        Pieces pieces(bytes);
        const auto [streamed, streamedMessage] = reduced(pieces);
        if (streamed != small || streamedMessage != message)
            std::abort();
    }
    return 0;
}
