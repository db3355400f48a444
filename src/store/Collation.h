// The Chinese collation that "order by 标题" and the album's sorts use: pinyin order for Chinese,
// case-blind for Latin letters.
#pragma once

#include <QByteArray>
#include <QString>
#include <string_view>
#include <vector>

struct sqlite3;

namespace store {

// Name under which the collation is registered on every connection.
inline constexpr const char* kChineseCollation = "ZH";

// Registers the collation on a connection; the engine's result code.
int registerChineseCollation(sqlite3* db);

// The first eight bytes, read as one big-endian number, missing ones as 0: numbers compare as
// the bytes would.
quint64 firstEightAsNumber(std::string_view bytes);

// The first eight bytes of each text's sort key, read as one number: two texts whose prefixes
// differ are in the collation's order by them; only texts with equal prefixes need their full
// keys. A large batch is split between two threads.
std::vector<quint64> chineseSortPrefixes(const std::vector<QString>& texts);

// Loads the collation's data now (about a millisecond and a half), so that a thread that makes
// sort keys later does not wait for it.
void loadChineseCollation();

// Full sort keys whose byte order (memcmp) is the collation's order, apart from texts the
// collation finds equal (they differ in letter case only). The keys of every text are appended
// to keys, in order; returns where each key ends in keys. A large batch is split between two
// threads.
std::vector<qsizetype> appendChineseSortKeys(const std::vector<QString>& texts, QByteArray& keys);

} // namespace store
