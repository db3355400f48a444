// Decoding a picture record (read side): the format flag decides the reader, "0"
// Qt's BMP reader, "1" libjpeg called directly with its default settings (at full size, or at a
// reduced DCT scale for thumbnails), anything else no picture. No widgets here: the preview, the
// thumbnails and the fuzz target all call it.
//
// Bad data never ends the process and never takes memory its header merely claims: sizes are
// read from the header and checked (at most kMaxPixels, not zero, and for an uncompressed BMP the
// pixel rows must really be there) before any pixel memory is taken. Nor does it take time
// without bound: a JPEG stream is decoded only as far as its kMaxJpegScans-th scan. Every failure
// is a DecodeError with a Chinese message, shown by the caller in the generic error report.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QVariant>
#include <atomic>
#include <optional>
#include <stdexcept>

namespace album {

// The largest picture the album decodes: 100 megapixels.
inline constexpr qint64 kMaxPixels = 100'000'000;
// The most scans a JPEG stream may have. Each scan costs up to one pass over the whole picture,
// so this bounds the work per picture. Encoders write one scan (baseline), one per component, or
// about ten (progressive: 10 for colour, 18 for CMYK in the usual script); a stream with more
// than this is broken or built to stall its reader.
inline constexpr int kMaxJpegScans = 100;

class DecodeError : public std::runtime_error {
public:
    explicit DecodeError(const QString& message) : std::runtime_error(message.toStdString()) {}
};

// Thrown instead of a picture when the caller's cancel flag was set during the decoding: the
// result is no longer wanted, so it is no error either and is never shown.
class DecodeCancelled : public std::exception {
public:
    const char* what() const noexcept override { return "decoding cancelled"; }
};

// Set by another thread to stop a decoding early; checked once per row of blocks. A null
// pointer means the decoding runs to its end.
using CancelFlag = const std::atomic<bool>*;

enum class PictureFormat { None, Bmp, Jpeg };

// A picture's bytes read piece by piece where they lie (in the store), so that decoding needs no
// copy of the whole. Its failures are thrown as any std::exception and reach the caller as they
// are (not as DecodeError: the data was not read, it did not fail to decode).
class PictureBytes {
public:
    virtual ~PictureBytes() = default;
    virtual qint64 size() const = 0;
    // Copies length bytes from offset, a range within size(), into `into`.
    virtual void read(qint64 offset, char* into, qint64 length) = 0;
    // Everything in one array, for readers that need the whole file at once.
    QByteArray readAll();
    // The same into bytes, whose memory is used again when it holds enough: a reader of many
    // pictures in turn then writes into pages it has touched before.
    void readAll(QByteArray& bytes);
};

// The size a picture of the natural size is shown at in the area: reduced to fit, never
// enlarged, the aspect kept with the products taken before the division (which truncates).
QSize fitPicture(QSize natural, QSize area);

// The format a record's flag stands for: its text "0" BMP, "1" JPEG, anything else (an empty
// flag included) none.
PictureFormat formatOfFlag(const QVariant& flag);

// The width and height a JPEG stream's header claims; throws DecodeError when there is no
// readable header.
QSize jpegSize(const QByteArray& data);

// Decodes a whole JPEG stream at full size (Format_RGB32); throws DecodeError.
QImage decodeJpeg(const QByteArray& data);
// Decodes a JPEG stream for a picture that is shown stretched to a small size: at the smallest
// of libjpeg's DCT scales (1/8 to 8/8) whose output is at least `least`, at full size when the
// picture is smaller than that. The same checks and errors as decodeJpeg; the size limit applies
// to the picture's full size.
QImage decodeJpegAtLeast(const QByteArray& data, QSize least, CancelFlag cancelled = nullptr);
// The same, reading the stream piece by piece as the decoder goes.
QImage decodeJpegAtLeast(PictureBytes& data, QSize least, CancelFlag cancelled = nullptr);
// A JPEG stream decoded for the area it is shown in: at the smallest DCT scale whose output
// covers the picture's size fitted to the area (fitPicture), with the picture's own size, from
// one reading of the stream. The picture is not yet scaled to the fitted size.
struct JpegForArea {
    QSize natural;
    QImage decoded;
};
JpegForArea decodeJpegForArea(const QByteArray& data, QSize area, CancelFlag cancelled = nullptr);
JpegForArea decodeJpegForArea(PictureBytes& data, QSize area, CancelFlag cancelled = nullptr);
// Whether a JPEG stream decodes, at a fraction of a full decode's cost: every scan is read and
// entropy-decoded as for the picture, but at the smallest DCT scale (1/8) into one reused row,
// so a stream that is cut short, breaks off at a marker, is too large or has too many scans
// fails here exactly as decodeJpeg fails on it (the message may name rows at the reduced scale).
// Throws DecodeError; keeps no picture.
void checkJpeg(const QByteArray& data);
// Decodes a whole BMP file; throws DecodeError.
QImage decodeBmp(const QByteArray& data);

// Decodes one record: a picture for a BMP or JPEG record, nothing (and no error) for any other
// flag. Throws DecodeError when the data does not decode under its flag.
std::optional<QImage> decodeRecord(const QByteArray& data, const QVariant& flag);
// The same for a picture shown at about `least` in size: a JPEG record through
// decodeJpegAtLeast, a BMP record at full size.
// Throws DecodeCancelled when cancelled is set meanwhile (a BMP is read whole regardless).
std::optional<QImage> decodeRecordAtLeast(const QByteArray& data, const QVariant& flag, QSize least,
                                          CancelFlag cancelled = nullptr);
std::optional<QImage> decodeRecordAtLeast(PictureBytes& data, const QVariant& flag, QSize least,
                                          CancelFlag cancelled = nullptr);

} // namespace album
