// Text files as the program reads and writes them. Writing: the whole file at once, GB18030,
// CR LF after every line, replacing an existing file. Reading: the whole file at once; a file
// that starts with the UTF-8 byte-order mark or whose bytes are valid UTF-8 is read as UTF-8,
// any other as GB18030, and bytes that fit neither become U+FFFD. CR LF, a lone CR and a lone LF
// each end a line; after the last line end an empty remainder is no line, a non-empty one is.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <stdexcept>
#include <vector>

namespace textfile {

// A file that cannot be read or written; what() names the file and the system's reason.
class FileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The whole file. Throws FileError for a folder, a missing or an unreadable file.
QByteArray readBytes(const QString& path);

// The bytes without a leading UTF-8 byte-order mark.
QByteArrayView withoutByteOrderMark(QByteArrayView bytes);

enum class Encoding { Utf8, Gb18030 };

// The encoding a whole file is read in, by the rule above.
Encoding encodingOf(QByteArrayView bytes);

// A file's bytes as text by the rule above, a leading byte-order mark dropped.
QString decode(QByteArrayView bytes);
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
QStringList splitLines(QStringView text);

// readBytes, decode and splitLines in one.
QStringList readLines(const QString& path);

// GB18030: code page 936's bytes for every character it has, four-byte sequences for the rest.
QByteArray encode(QStringView text);

// Gathers lines as the bytes of a file: each encoded and followed by CR LF.
class LineEncoder {
public:
    void append(QStringView line);
    QByteArray take();

private:
    QByteArray bytes_;  // grows ahead of what is written
    qsizetype written_ = 0;
};

// Every line followed by CR LF, encoded.
QByteArray joinLines(const QStringList& lines);

// Creates or replaces the file with exactly these bytes. A failure leaves an existing file as it
// was. Throws FileError.
void writeBytes(const QString& path, const QByteArray& bytes);

// writeBytes(path, joinLines(lines)).
void writeLines(const QString& path, const QStringList& lines);

} // namespace textfile
