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

} // namespace album
