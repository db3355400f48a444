// Text files as the program reads and writes them. Writing: the whole file at once, GB18030,
// CR LF after every line, replacing an existing file whole (FileReplacement). Reading: the whole
// file at once, regular files only. The program's own files (exchange file, settings file) are
// GB18030 unless they start with the UTF-8 byte-order mark. A text file the user chooses is
// UTF-8 when it starts with the byte-order mark, or when its bytes are valid UTF-8 and show that
// this program did not write them: bytes that are no GB18030 text, or a line feed without a
// carriage return before it. Any other file is GB18030, so every file this program wrote reads
// back as it was written. Bytes that fit the chosen encoding in no way become U+FFFD; a NUL byte
// is a NUL character. CR LF, a lone CR and a lone LF each end a line; after the last line end an
// empty remainder is no line, a non-empty one is.
#pragma once

#include "FileErrors.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <vector>

namespace textfile {

// The largest file that is read whole.
inline constexpr qint64 kLargestReadableFile = qint64(1) << 30;

// The whole file. Throws FileError for a folder, a device, a FIFO, a socket, a missing or an
// unreadable file, and a file larger than kLargestReadableFile or than memory allows.
QByteArray readBytes(const QString& path);

// The bytes without a leading UTF-8 byte-order mark.
QByteArrayView withoutByteOrderMark(QByteArrayView bytes);

enum class Encoding { Utf8, Gb18030 };

// The encoding a whole file is read in, by the rules above.
Encoding encodingOfOwnFile(QByteArrayView bytes);
Encoding encodingOfUserFile(QByteArrayView bytes);

// A file's bytes as text by the rules above, a leading byte-order mark dropped.
QString decodeOwnFile(QByteArrayView bytes);
QString decodeUserFile(QByteArrayView bytes);
// Part of a file (without its byte-order mark) in the file's encoding. The lines of a file
// decoded one by one give the same text as the whole file decoded at once.
QString decode(QByteArrayView bytes, Encoding encoding);

// Where a line lies in its text or bytes, its line end left out.
struct LineSpan {
    qsizetype start = 0;
    qsizetype length = 0;
};

// The lines between CR LF, lone CR and lone LF. Byte rules (lengths, prefixes) apply to the byte
// form; decoded text splits the same way, line for line, since neither encoding ever hides a CR
// or an LF inside a character.
std::vector<LineSpan> findLines(QByteArrayView bytes);
std::vector<LineSpan> findLines(QStringView text);

// The lines of bytes one at a time, by the rule of findLines, keeping none of them: a large file
// is walked without a table of its lines.
class LineReader {
public:
    explicit LineReader(QByteArrayView bytes) : bytes_(bytes) {}
    // The next line into line; false after the last one.
    bool next(QByteArrayView& line);

private:
    QByteArrayView bytes_;
    qsizetype position_ = 0;
};
// The lines of a file one at a time, by the rule of findLines, read in pieces: memory holds one
// piece and the longest line, not the file. Opening refuses what readBytes refuses (a folder, a
// device, a FIFO, a missing or unreadable file) with the same FileError.
class LineStream {
public:
    explicit LineStream(const QString& path);
    ~LineStream();
    LineStream(const LineStream&) = delete;
    LineStream& operator=(const LineStream&) = delete;

    // The next line into line, valid until the next call; false after the last one. Throws
    // FileError when the file cannot be read on.
    bool next(QByteArrayView& line);

private:
    bool readMore();

    QString path_;
    int descriptor_ = -1;
    QByteArray buffer_;
    qsizetype start_ = 0;    // where the next line starts in buffer_
    qsizetype scanned_ = 0;  // bytes from start_ on known to hold no line end
    qsizetype filled_ = 0;
    bool ended_ = false;
};

// How many lines findLines would find.
qsizetype countLines(QByteArrayView bytes);
QStringList splitLines(QStringView text);

// readBytes, decodeOwnFile and splitLines in one.
QStringList readOwnFileLines(const QString& path);

// GB18030: code page 936's bytes for every character it has, four-byte sequences for the rest.
QByteArray encode(QStringView text);

// Gathers lines as the bytes of a file: each encoded and followed by CR LF.
class LineEncoder {
public:
    void append(QStringView line);
    // The line given as UTF-8; false, and nothing gathered, when it is no well-formed UTF-8.
    bool appendUtf8(QByteArrayView line);
    QByteArray take();
    // What is gathered so far; clear() starts again in the same buffer.
    QByteArrayView gathered() const { return QByteArrayView(bytes_.constData(), written_); }
    void clear() { written_ = 0; }

private:
    char* reserve(qsizetype lineBytes);
    void endLine(char* end);

    QByteArray bytes_;  // grows ahead of what is written
    qsizetype written_ = 0;
};

// Decodes parts of a file to UTF-8 in a buffer of its own, reused from one part to the next, so
// text bound for the store needs no UTF-16 form. Gives the same characters as decode().
class Utf8Decoder {
public:
    // Valid until the next call.
    QByteArrayView decode(QByteArrayView bytes, Encoding encoding);

private:
    QByteArray buffer_;
};

// Every line followed by CR LF, encoded.
QByteArray joinLines(const QStringList& lines);

// Creates or replaces the file with exactly these bytes (replaceFile). A failure leaves an
// existing file as it was. Throws FileError.
void writeBytes(const QString& path, QByteArrayView bytes);

// writeBytes(path, joinLines(lines)).
void writeLines(const QString& path, const QStringList& lines);

} // namespace textfile
