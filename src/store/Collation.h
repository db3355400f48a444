// The Chinese collation that "order by 标题" and the album's sorts use: pinyin order for Chinese,
// case-blind for Latin letters.
#pragma once

#include <QString>

struct sqlite3;

namespace store {

// Name under which the collation is registered on every connection.
inline constexpr const char* kChineseCollation = "ZH";

void registerChineseCollation(sqlite3* db);

// Compares two texts in the same order as the registered collation: <0, 0 or >0.
int compareChinese(const QString& a, const QString& b);

} // namespace store
