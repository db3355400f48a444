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

} // namespace textfile
