#include "Collation.h"

#include <QByteArray>
#include <algorithm>
#include <cstring>

#include <sqlite3.h>
#include <unicode/ucol.h>
#include <unicode/uscript.h>

namespace store {

namespace {

// Chinese in pinyin order, Latin letters without case. Digits and Latin letters come before
// Chinese characters, as in the Chinese sort order of the desktop's own stores and file lists.
UCollator* chineseCollator()
{
    static UCollator* collator = [] {
        UErrorCode status = U_ZERO_ERROR;
        UCollator* c = ucol_open("zh", &status);
        if (U_FAILURE(status))
            return static_cast<UCollator*>(nullptr);
        ucol_setStrength(c, UCOL_SECONDARY);
        const int32_t rootOrder[] = {UCOL_REORDER_CODE_NONE};
        ucol_setReorderCodes(c, rootOrder, 1, &status);
        if (U_FAILURE(status)) {
            ucol_close(c);
            return static_cast<UCollator*>(nullptr);
        }
        return c;
    }();
    return collator;
}

int binaryOrder(const char* a, int lengthA, const char* b, int lengthB)
{
    const int common = std::min(lengthA, lengthB);
    const int order = common > 0 ? memcmp(a, b, size_t(common)) : 0;
    return order != 0 ? order : lengthA - lengthB;
}

// Texts the collator finds equal (they differ in letter case only) get a fixed order.
int compareUtf8(const char* a, int lengthA, const char* b, int lengthB)
{
    if (UCollator* collator = chineseCollator()) {
        UErrorCode status = U_ZERO_ERROR;
        const UCollationResult order = ucol_strcollUTF8(collator, a, lengthA, b, lengthB, &status);
        if (U_SUCCESS(status) && order != UCOL_EQUAL)
            return order == UCOL_LESS ? -1 : 1;
    }
    return binaryOrder(a, lengthA, b, lengthB);
}

int collate(void*, int lengthA, const void* a, int lengthB, const void* b)
{
    return compareUtf8(static_cast<const char*>(a), lengthA, static_cast<const char*>(b), lengthB);
}

} // namespace

QByteArray chineseSortKey(const QString& text)
{
    UCollator* collator = chineseCollator();
    if (!collator)
        return text.toUtf8();
    const auto* units = reinterpret_cast<const UChar*>(text.utf16());
    QByteArray key(int(text.size()) * 4 + 16, Qt::Uninitialized);
    int32_t length = ucol_getSortKey(collator, units, int32_t(text.size()),
                                     reinterpret_cast<uint8_t*>(key.data()), int32_t(key.size()));
    if (length > key.size()) {
        key.resize(length);
        length = ucol_getSortKey(collator, units, int32_t(text.size()),
                                 reinterpret_cast<uint8_t*>(key.data()), int32_t(key.size()));
    }
    key.resize(std::max(0, length - 1));  // without the terminating zero byte
    return key;
}

int registerChineseCollation(sqlite3* db)
{
    return sqlite3_create_collation(db, kChineseCollation, SQLITE_UTF8, nullptr, collate);
}

} // namespace store
