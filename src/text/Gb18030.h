// GB18030 as users of code page 936 expect it: the euro sign is the single byte 0x80, as that
// page has it, and every other character is GB18030's (two bytes for the characters of code page
// 936, four bytes for the rest, so nothing turns into "?"). The two-byte part runs on tables
// built once from the system's converter; four-byte sequences go through the converter itself.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace textfile {

// Bytes that form no character become U+FFFD, one for each byte that cannot start a character;
// a line end is never taken into a broken character. A NUL byte is the NUL character. When
// wellFormed is given, it tells whether every byte was part of a character (the encoded U+FFFD
// counts as one), which is true of everything writeGb18030 writes.
QString decodeGb18030(QByteArrayView bytes, bool* wellFormed = nullptr);

// The most bytes that text can take.
inline qsizetype maxGb18030Size(QStringView text) { return 4 * text.size(); }

// Writes the encoded text at out, which has room for maxGb18030Size(text) bytes; returns the end.
char* writeGb18030(char* out, QStringView text);

// The same decoding written as UTF-8 at out, which has room for maxUtf8SizeOfGb18030(bytes)
// bytes; returns the end. Text that passes through UTF-8 on its way to the store is spared the
// detour through UTF-16.
inline qsizetype maxUtf8SizeOfGb18030(QByteArrayView bytes) { return 3 * bytes.size(); }
char* writeUtf8FromGb18030(char* out, QByteArrayView bytes);

// Encodes UTF-8 text as writeGb18030 encodes the same characters, at out, which has room for
// maxGb18030SizeOfUtf8(utf8) bytes; returns the end, or nullptr when the bytes are no
// well-formed UTF-8 (what was written up to there is then of no use).
inline qsizetype maxGb18030SizeOfUtf8(QByteArrayView utf8) { return 2 * utf8.size(); }
char* writeGb18030FromUtf8(char* out, QByteArrayView utf8);

} // namespace textfile
