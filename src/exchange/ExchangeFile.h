// The exchange file: the whole materials book as text lines. Line 1 is the 19-character time
// stamp of writing; then every entry as a title marker line ("~0~1~" and the title) followed by
// its content lines in line order. No count, no end marker, no escaping.
#pragma once

#include "text/TextFile.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QTime>
#include <functional>
#include <stdexcept>
#include <vector>

namespace exchange {

inline const QString kTitleMarker = QStringLiteral("~0~1~");
inline constexpr QByteArrayView kTitleMarkerBytes("~0~1~");
inline constexpr int kStampLength = 19;
inline const QString kExtension = QStringLiteral(".mz");
inline const QString kFileFilter = QStringLiteral("MZ文件 (*.mz)");

// "yyyy-mm-dd hh:nn:ss", 24-hour clock, leading zeros, these separators whatever the locale.
QString formatStamp(const QDate& date, const QTime& time);
// The local clock, the date read before the time.
QString currentStamp();

QString titleMarkerLine(const QString& title);
bool isTitleMarkerLine(QByteArrayView line);

// The name a chosen export file gets: kept when its extension is ".mz" in any letter case,
// otherwise with ".mz" appended (notes → notes.mz, notes.txt → notes.txt.mz).
QString withExchangeExtension(const QString& chosen);

// A file as read: its bytes (without a byte-order mark), how many lines they hold, the encoding
// they are read in, and whether the file passes the acceptance test. Lines are found and decoded
// as they are walked, and no table of its lines is kept. A streamed file is not held at all:
// bytes are its first two lines, and the walk reads the file again, piece by piece.
struct ExchangeFile {
    QByteArray bytes;
    QString path;  // where the lines after the first two are read from, or empty
    qsizetype lines = 0;
    textfile::Encoding encoding = textfile::Encoding::Gb18030;
    bool accepted = false;

    qsizetype lineCount() const { return lines; }
    // Line i (0-based) as bytes and as text; found by walking from the start, so meant for the
    // first lines and for checks, not for loops over the file.
    QByteArrayView rawLine(qsizetype i) const;
    QString line(qsizetype i) const { return textfile::decode(rawLine(i), encoding); }
    // Line 1 of an accepted file, shown to the user unchanged.
    QString stamp() const { return lines == 0 ? QString() : line(0); }
};

// Accepted when line 1 is exactly 19 bytes (content not looked at) and line 2 begins with the
// marker. Lines of any length are kept whole.
ExchangeFile parseExchangeFile(QByteArray bytes);
// Reads the whole file, which is then imported as it was when read; throws textfile::FileError
// when it cannot be read.
ExchangeFile readExchangeFile(const QString& path);
// Reads the file through once, keeping its first two lines and its line count: an import then
// reads it again piece by piece, so that memory does not grow with the file. Throws
// textfile::FileError when it cannot be read.
ExchangeFile streamExchangeFile(const QString& path);

// A file whose entries cannot be imported as they are; what() names the line.
class ImportRefused : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Turns lines 2 to last of an accepted file into entry rows: a marker line sets the current
// title and restarts the line numbers at 0 and makes no row; every other line is a row. Title
// and text come decoded as UTF-8 (the store's own form), valid only while visit runs.
// Two marker lines whose titles differ in their bytes but read as the same text (bytes that are
// no text in the file's encoding all read as U+FFFD) would make one entry of two, its rows
// numbered twice from 0: the walk throws ImportRefused at the second of them. A title repeated
// byte for byte is taken as it stands, as a second run of rows of that title.
// A streamed file is read again as it is walked; when it no longer begins with the lines
// it was accepted by, or no longer has as many lines, the walk throws ImportRefused.
using RowVisitor = std::function<void(QByteArrayView title, int lineNumber, QByteArrayView text)>;
void walkEntryRows(const ExchangeFile& file, const RowVisitor& visit);

} // namespace exchange
