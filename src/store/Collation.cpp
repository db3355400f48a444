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

// Without a collator (ICU data missing) the order is that of the UTF-8 bytes.
quint64 sortPrefix(const UCollator* collator, QStringView text)
{
    if (!collator) {
        const QByteArray utf8 = text.toUtf8();
        return firstEightAsNumber(std::string_view(utf8.constData(), size_t(utf8.size())));
    }
    UCharIterator characters;
    uiter_setString(&characters, reinterpret_cast<const UChar*>(text.utf16()), int32_t(text.size()));
    uint32_t state[2] = {0, 0};
    char key[8];
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length = ucol_nextSortKeyPart(collator, &characters, state,
                                                reinterpret_cast<uint8_t*>(key), 8, &status);
    // A failure leaves 0, which only makes the texts compare in full.
    return U_SUCCESS(status) ? firstEightAsNumber(std::string_view(key, size_t(length))) : 0;
}

void appendKey(const UCollator* collator, QStringView text, QByteArray& keys)
{
    if (!collator) {
        keys += text.toUtf8();
        return;
    }
    const auto* units = reinterpret_cast<const UChar*>(text.utf16());
    const qsizetype start = keys.size();
    qsizetype room = text.size() * 4 + 16;
    for (;;) {
        keys.resize(start + room);
        const int32_t length = ucol_getSortKey(collator, units, int32_t(text.size()),
                                               reinterpret_cast<uint8_t*>(keys.data() + start),
                                               int32_t(room));
        if (length <= room) {
            keys.resize(start + std::max(0, length - 1));  // without the terminating zero byte
            return;
        }
        room = length;
    }
}

// Runs work(collator, half, begin, end) over [0, count): a large count is split in two halves,
// the second on a thread of its own with a collator of its own.
template <typename Work>
void inTwoHalves(size_t count, Work work)
{
    constexpr size_t kSharedFrom = 16384;
    const UCollator* collator = chineseCollator();
    UErrorCode status = U_ZERO_ERROR;
    UCollator* second = collator && count >= kSharedFrom && std::thread::hardware_concurrency() > 1
                            ? ucol_clone(collator, &status)
                            : nullptr;
    if (second && U_FAILURE(status)) {
        ucol_close(second);
        second = nullptr;
    }
    const size_t half = count / 2;
    std::thread worker;
    if (second) {
        try {
            worker = std::thread([&] { work(second, 1, half, count); });
        } catch (const std::system_error&) {  // no thread to be had: this one does it all
        }
    }
    if (!worker.joinable()) {
        if (second)
            ucol_close(second);
        work(collator, 0, size_t(0), count);
        return;
    }
    work(collator, 0, size_t(0), half);
    worker.join();
    ucol_close(second);
}

} // namespace

quint64 firstEightAsNumber(std::string_view bytes)
{
    quint64 number = 0;
    for (size_t k = 0; k < 8; ++k)
        number = number << 8 | (k < bytes.size() ? uchar(bytes[k]) : 0);
    return number;
}

std::vector<quint64> chineseSortPrefixes(const std::vector<QString>& texts)
{
    std::vector<quint64> prefixes(texts.size());
    inTwoHalves(texts.size(), [&](const UCollator* collator, int, size_t begin, size_t end) {
        for (size_t i = begin; i < end; ++i)
            prefixes[i] = sortPrefix(collator, texts[i]);
    });
    return prefixes;
}

void loadChineseCollation()
{
    chineseCollator();
}

std::vector<qsizetype> appendChineseSortKeys(const std::vector<QString>& texts, QByteArray& keys)
{
    if (texts.empty())  // the collator is not even loaded
        return {};
    QByteArray halfKeys[2];
    std::vector<qsizetype> halfEnds[2];
    inTwoHalves(texts.size(), [&](const UCollator* collator, int half, size_t begin, size_t end) {
        halfKeys[half].reserve(qsizetype(end - begin) * 32);
        halfEnds[half].reserve(end - begin);
        for (size_t i = begin; i < end; ++i) {
            appendKey(collator, texts[i], halfKeys[half]);
            halfEnds[half].push_back(halfKeys[half].size());
        }
    });
    std::vector<qsizetype> ends;
    ends.reserve(texts.size());
    for (int half = 0; half < 2; ++half) {
        const qsizetype offset = keys.size();
        keys += halfKeys[half];
        for (const qsizetype end : halfEnds[half])
            ends.push_back(offset + end);
    }
    return ends;
}

int registerChineseCollation(sqlite3* db)
{
    return sqlite3_create_collation(db, kChineseCollation, SQLITE_UTF8, nullptr, collate);
}

} // namespace store
