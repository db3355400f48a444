#include "Collation.h"

#include <QByteArray>
#include <algorithm>
#include <cstring>
#include <system_error>
#include <thread>

#include <sqlite3.h>
#include <unicode/ucol.h>
#include <unicode/uiter.h>
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

namespace {

quint64 prefixOf(const uint8_t* bytes, int32_t length)
{
    quint64 prefix = 0;
    for (int32_t k = 0; k < 8; ++k)
        prefix = prefix << 8 | (k < length ? bytes[k] : 0);
    return prefix;
}

// Without a collator (ICU data missing) the order is that of the UTF-8 bytes.
quint64 sortPrefix(const UCollator* collator, QStringView text)
{
    if (!collator) {
        const QByteArray utf8 = text.toUtf8();
        return prefixOf(reinterpret_cast<const uint8_t*>(utf8.constData()), int32_t(utf8.size()));
    }
    UCharIterator characters;
    uiter_setString(&characters, reinterpret_cast<const UChar*>(text.utf16()), int32_t(text.size()));
    uint32_t state[2] = {0, 0};
    uint8_t key[8];
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length = ucol_nextSortKeyPart(collator, &characters, state, key, 8, &status);
    // A failure leaves 0, which only makes the texts compare in full.
    return U_SUCCESS(status) ? prefixOf(key, length) : 0;
}

void fillPrefixes(const UCollator* collator, const QString* begin, const QString* end,
                  quint64* prefixes)
{
    for (const QString* text = begin; text != end; ++text)
        *prefixes++ = sortPrefix(collator, *text);
}

} // namespace

int compareChinese(QStringView a, QStringView b)
{
    if (UCollator* collator = chineseCollator()) {
        const UCollationResult order =
            ucol_strcoll(collator, reinterpret_cast<const UChar*>(a.utf16()), int32_t(a.size()),
                         reinterpret_cast<const UChar*>(b.utf16()), int32_t(b.size()));
        return order == UCOL_LESS ? -1 : order == UCOL_GREATER ? 1 : 0;
    }
    const QByteArray utf8A = a.toUtf8(), utf8B = b.toUtf8();
    return binaryOrder(utf8A.constData(), int(utf8A.size()), utf8B.constData(), int(utf8B.size()));
}

std::vector<quint64> chineseSortPrefixes(const std::vector<QString>& texts)
{
    constexpr size_t kSharedFrom = 16384;
    const UCollator* collator = chineseCollator();
    std::vector<quint64> prefixes(texts.size());
    UErrorCode status = U_ZERO_ERROR;
    UCollator* second = collator && texts.size() >= kSharedFrom && std::thread::hardware_concurrency() > 1
                            ? ucol_clone(collator, &status)
                            : nullptr;
    if (!second || U_FAILURE(status)) {
        if (second)
            ucol_close(second);
        fillPrefixes(collator, texts.data(), texts.data() + texts.size(), prefixes.data());
        return prefixes;
    }
    // The second half on a thread of its own, with a collator of its own.
    const size_t half = texts.size() / 2;
    std::thread worker;
    try {
        worker = std::thread([&] {
            fillPrefixes(second, texts.data() + half, texts.data() + texts.size(), prefixes.data() + half);
        });
    } catch (const std::system_error&) {  // no thread to be had: this one does it all
        ucol_close(second);
        fillPrefixes(collator, texts.data(), texts.data() + texts.size(), prefixes.data());
        return prefixes;
    }
    fillPrefixes(collator, texts.data(), texts.data() + half, prefixes.data());
    worker.join();
    ucol_close(second);
    return prefixes;
}

int registerChineseCollation(sqlite3* db)
{
    return sqlite3_create_collation(db, kChineseCollation, SQLITE_UTF8, nullptr, collate);
}

} // namespace store
