// The Chinese collation that "order by 标题" and the album's sorts use: pinyin order for Chinese,
// case-blind for Latin letters.
#pragma once

#include <QString>
#include <QStringView>
#include <vector>

struct sqlite3;

namespace store {

// Name under which the collation is registered on every connection.
inline constexpr const char* kChineseCollation = "ZH";

// Registers the collation on a connection; the engine's result code.
int registerChineseCollation(sqlite3* db);

// The collator's order of two texts: negative, zero or positive. Unlike the engine's collation,
// texts that differ in letter case only compare equal, so that a stable sort keeps their order.
int compareChinese(QStringView a, QStringView b);

// The first eight bytes of each text's sort key, read as one number: two texts whose prefixes
// differ are in the collation's order by them, and only texts with equal prefixes need
// compareChinese. A large batch is split between two threads.
std::vector<quint64> chineseSortPrefixes(const std::vector<QString>& texts);

} // namespace store
