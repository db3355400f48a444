// The Chinese collation that "order by 标题" and the album's sorts use: pinyin order for Chinese,
// case-blind for Latin letters.
#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

struct sqlite3;

namespace store {

// Name under which the collation is registered on every connection.
inline constexpr const char* kChineseCollation = "ZH";

// Registers the collation on a connection; the engine's result code.
int registerChineseCollation(sqlite3* db);

// Sort keys whose byte order (memcmp) is the collation's order, apart from texts the collation
// finds equal: sorting many texts by their keys is far faster than comparing them pairwise.
// The keys of every text are appended to keys, in order; returns where each key ends in keys. A
// large batch is split between two threads.
std::vector<qsizetype> appendChineseSortKeys(const std::vector<QString>& texts, QByteArray& keys);

} // namespace store
