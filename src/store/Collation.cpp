#include "Collation.h"

#include <QByteArray>
#include <algorithm>
#include <cstring>
#include <system_error>
#include <thread>

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

namespace {

// Without a collator (ICU data missing) the key is the text's UTF-8 form.
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

void appendKeys(const UCollator* collator, const QString* begin, const QString* end,
                QByteArray& keys, std::vector<qsizetype>& ends)
{
    for (const QString* text = begin; text != end; ++text) {
        appendKey(collator, QStringView(text->constData(), text->size()), keys);
        ends.push_back(keys.size());
    }
}

} // namespace

std::vector<qsizetype> appendChineseSortKeys(const std::vector<QString>& texts, QByteArray& keys)
{
    constexpr size_t kSharedFrom = 16384;
    const UCollator* collator = chineseCollator();
    std::vector<qsizetype> ends;
    ends.reserve(texts.size());
    keys.reserve(keys.size() + qsizetype(texts.size()) * 32);
    UErrorCode status = U_ZERO_ERROR;
    UCollator* second = collator && texts.size() >= kSharedFrom && std::thread::hardware_concurrency() > 1
                            ? ucol_clone(collator, &status)
                            : nullptr;
    if (!second || U_FAILURE(status)) {
        if (second)
            ucol_close(second);
        appendKeys(collator, texts.data(), texts.data() + texts.size(), keys, ends);
        return ends;
    }
    // The second half on a thread of its own, with a collator of its own.
    const size_t half = texts.size() / 2;
    QByteArray secondKeys;
    std::vector<qsizetype> secondEnds;
    secondEnds.reserve(texts.size() - half);
    std::thread worker;
    try {
        worker = std::thread([&] {
            appendKeys(second, texts.data() + half, texts.data() + texts.size(), secondKeys, secondEnds);
        });
    } catch (const std::system_error&) {  // no thread to be had: this one does it all
        ucol_close(second);
        appendKeys(collator, texts.data(), texts.data() + texts.size(), keys, ends);
        return ends;
    }
    appendKeys(collator, texts.data(), texts.data() + half, keys, ends);
    worker.join();
    ucol_close(second);
    const qsizetype offset = keys.size();
    keys += secondKeys;
    for (const qsizetype end : secondEnds)
        ends.push_back(offset + end);
    return ends;
}

int registerChineseCollation(sqlite3* db)
{
    return sqlite3_create_collation(db, kChineseCollation, SQLITE_UTF8, nullptr, collate);
}

} // namespace store
