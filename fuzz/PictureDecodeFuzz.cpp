// Feeds arbitrary bytes to the decoding of a picture record: the first byte chooses
// the flag (0 BMP, 1 JPEG, anything else a Fail record), the rest is Myimage. Decoding must
// either give a picture within the size limit, give none for a Fail record, or fail with
// DecodeError; never crash, read outside the bytes, leak, or end the process from libjpeg. A JPEG
// record also goes through the reduced decode of the thumbnails.
#include "album/PictureCodec.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

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
        try {  // the thumbnails' reduced decode
            const QImage small = album::decodeJpegAtLeast(bytes, QSize(96, 68));
            volatile uchar last = small.constScanLine(small.height() - 1)[small.bytesPerLine() - 1];
            (void)last;
        } catch (const album::DecodeError&) {
        }
    }
    return 0;
}
