#include "FullText.h"

#include "Collation.h"
#include "HugePages.h"
#include "Sqlite.h"

#include <QStringList>
#include <algorithm>
#include <array>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <exception>
#include <memory_resource>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>
#include <thread>
#include <tuple>
#include <unordered_map>

#include <sqlite3.h>

// The index, in five tables:
//   全文分段(键, 行)   the rowids of the lines holding each key (one character, or two characters
//                      that follow each other, ASCII letters in lower case), in segments: the
//                      lines are indexed a batch at a time, in rowid order, and each batch becomes
//                      one segment whose lists hold only its own lines. A key's whole list is
//                      therefore its lists of segment 0, 1, 2 ... one after another. A segment is
//                      written as pages, rows holding the lists of consecutive keys; a row's 键
//                      is the segment number above kSegmentShift and the first key of its page
//                      below. Segments from kFirstDeltaSegment on hold the rows changed since the
//                      base segments were built.
//   全文行段           runs of consecutive rowids of the base that share a title and whose line
//                      numbers count up with the rowid: a match needs no read for its title and line.
//   全文已改           rowids changed since the base was built (their base keys are stale); the
//                      delta segments index those of them that still exist.
//   全文待办           rowids the triggers recorded since the last catch-up, perhaps repeated.
//   全文状态           generation numbers of the base and of the delta, so that a searcher knows
//                      when what it keeps in memory is out of date.
// A line found through a key is stale when its rowid is changed (base) or pending (both parts):
// such rows are read and matched directly instead.
//
// A page's bytes: the first rowid of its segment (zig-zag), then for each key the difference from
// the key before it (from the row's own key for the first), the length of its list (doubled, plus
// one for a bitmap) and the list (see forEachRowOf).

namespace store::fulltext {

namespace {

const QString kIndexTable = QStringLiteral("全文分段");
const QString kStateTable = QStringLiteral("全文状态");

constexpr quint32 kInvalidByte = 0x200000;  // + the byte: a byte that starts no UTF-8 character
constexpr qint64 kPairFlag = qint64(1) << 44;
constexpr int kSegmentShift = 46;
constexpr qint64 kKeyMask = (qint64(1) << kSegmentShift) - 1;
constexpr qint64 kFirstDeltaSegment = qint64(1) << 15;
constexpr qint64 kSegmentLimit = qint64(1) << 16;
// A page of the index is kept within one page of the store, so that reading a key's list reads
// one store page with no overflow chain; bytes of a store page taken by its headers and by the
// row's own header (SQLite keeps at most the usable size less 35 bytes of a row in its page).
constexpr int kStorePageOverhead = 64;
// The room of an index page in a store whose page size cannot be read.
constexpr size_t kDefaultPageBytes = 4096 - kStorePageOverhead;
// Changed rows beyond this many (and beyond a sixteenth of the base) make a catch-up rebuild the
// whole index rather than the delta.
constexpr qint64 kDeltaLimit = 20000;
// Pending rows a searcher leaves unfolded: reading them costs each search about a millisecond.
constexpr qint64 kPendingLimit = 2000;
// A search of more characters intersects at most this many of its pairs' lists (the shortest),
// and only those with at most this many bytes per row found so far: the lines are read anyway.
constexpr size_t kListsIntersected = 4;
constexpr size_t kListBytesPerRowRead = 256;
constexpr qsizetype kFirstSorted = 100;
// The rows and the bytes of lines a reader of every match is given at once; a larger result is
// read in pieces of the result's order instead.
constexpr size_t kGatheredRows = size_t(1) << 18;
constexpr size_t kGatheredBytes = size_t(64) << 20;
constexpr size_t kRoomPerGatheredLine = 512;
// Address space (not memory) for what a reader keeps: the lines, and their matches and titles.
constexpr size_t kGatheredArenaBytes = kGatheredBytes + (size_t(64) << 20);
constexpr int kGatherPageCacheKiB = 256;
// A result of this many rows or more is read by two connections at once.
constexpr size_t kRowsReadByTwo = 2048;
// Lines whose rowids lie at most this far apart are read by one walk over the rows between them.
constexpr qint64 kRowsWalkedOver = 8;
inline qint64 rowKey(qint64 segment, qint64 key)
{
    Q_ASSERT(segment >= 0 && segment < kSegmentLimit && key >= 0 && key <= kKeyMask);
    return segment << kSegmentShift | key;
}

inline quint64 readVarint(const uchar*& p, const uchar* end)
{
    quint64 value = 0;
    for (int shift = 0; p < end && shift < 64; shift += 7) {
        const uchar byte = *p++;
        value |= quint64(byte & 0x7F) << shift;
        if (!(byte & 0x80))
            break;
    }
    return value;
}

inline qint64 pairKey(quint32 first, quint32 second)
{
    return kPairFlag | qint64(first) << 22 | qint64(second);
}

// One character of UTF-8 text, ASCII letters in lower case; a byte that starts no well-formed
// character stands for itself beyond Unicode, so that the characters after it are still read.
inline quint32 nextCharacter(const uchar*& p, const uchar* end)
{
    quint32 c = *p;
    if (c < 0x80) {
        ++p;
        return c - 'A' < 26u ? c + 32 : c;
    }
    int follow;
    quint32 least;
    if ((c & 0xE0) == 0xC0) {
        follow = 1, c &= 0x1F, least = 0x80;
    } else if ((c & 0xF0) == 0xE0) {
        follow = 2, c &= 0x0F, least = 0x800;
    } else if ((c & 0xF8) == 0xF0) {
        follow = 3, c &= 0x07, least = 0x10000;
    } else {
        return kInvalidByte + *p++;
    }
    if (end - p <= follow)
        return kInvalidByte + *p++;
    for (int i = 1; i <= follow; ++i) {
        if ((p[i] & 0xC0) != 0x80)
            return kInvalidByte + *p++;
        c = c << 6 | (p[i] & 0x3F);
    }
    if (c < least || c > 0x10FFFF)
        return kInvalidByte + *p++;
    p += follow + 1;
    return c;
}

QByteArray foldAscii(QByteArrayView utf8)
{
    QByteArray folded(utf8.data(), utf8.size());
    for (char& c : folded)
        if (c >= 'A' && c <= 'Z')
            c = char(c + 32);
    return folded;
}

QString foldAscii(const QString& text)
{
    QString folded = text;
    for (QChar& c : folded)
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + 32);
    return folded;
}

// Whether text holds needle (already folded), ASCII letters compared without case.
bool containsFolded(QByteArrayView text, QByteArrayView needle)
{
    thread_local std::string folded;
    folded.assign(text.data(), size_t(text.size()));
    for (char& c : folded)
        if (c >= 'A' && c <= 'Z')
            c = char(c + 32);
    return std::string_view(folded).find(std::string_view(needle.data(), size_t(needle.size())))
           != std::string_view::npos;
}

void appendVarint(std::string& bytes, quint64 value)
{
    if (value < 0x80) {  // the common case: a row close to the last one of its list
        bytes.push_back(char(value));
        return;
    }
    while (value >= 0x80) {
        bytes.push_back(char((value & 0x7F) | 0x80));
        value >>= 7;
    }
    bytes.push_back(char(value));
}


// Hands each rowid of a list to visit, ascending. A list is the differences of its rowids, the
// first from base; or, where that takes more room, a bitmap: its first rowid (from base), then one
// bit for each rowid from that one on, the lowest bit of each byte first. Arithmetic is unsigned,
// so that the bytes of a damaged page wrap instead of overflowing.
template<typename Visit>
void forEachRowOf(QByteArrayView bytes, qint64 base, bool bitmap, Visit&& visit)
{
    const auto* p = reinterpret_cast<const uchar*>(bytes.data());
    const uchar* end = p + bytes.size();
    quint64 last = quint64(base);
    if (!bitmap) {
        while (p < end)
            visit(qint64(last += readVarint(p, end)));
        return;
    }
    if (p == end)
        return;
    for (quint64 at = last + readVarint(p, end); p < end; ++p, at += 8)
        for (unsigned bits = *p; bits != 0; bits &= bits - 1)
            visit(qint64(at + unsigned(__builtin_ctz(bits))));
}

// Appends the rowids of a list to rowids.
void decodeList(QByteArrayView bytes, qint64 base, bool bitmap, std::vector<qint64>& rowids)
{
    forEachRowOf(bytes, base, bitmap, [&](qint64 rowid) { rowids.push_back(rowid); });
}

// The lists of one page of the index, in key order.
class PageReader {
public:
    PageReader(qint64 rowKey, QByteArrayView bytes)
        : key_(rowKey & kKeyMask),
          p_(reinterpret_cast<const uchar*>(bytes.data())),
          end_(p_ + bytes.size())
    {
        const quint64 base = readVarint(p_, end_);
        base_ = qint64(base >> 1) ^ -qint64(base & 1);
    }

    // The segment's first rowid, from which the first rowid of each list counts.
    qint64 base() const { return base_; }

    // The next key, its list and whether that is a bitmap; false after the last.
    bool next(qint64& key, QByteArrayView& list, bool& bitmap)
    {
        if (p_ >= end_)
            return false;
        key_ = qint64(quint64(key_) + readVarint(p_, end_));
        const quint64 size = readVarint(p_, end_);
        const qsizetype length = qsizetype(std::min<quint64>(size >> 1, quint64(end_ - p_)));
        key = key_;
        list = QByteArrayView(reinterpret_cast<const char*>(p_), length);
        bitmap = size & 1;
        p_ += length;
        return true;
    }

private:
    qint64 key_;
    const uchar* p_;
    const uchar* end_;
    qint64 base_ = 0;
};

// Lines handed to the index together: their rowids, ascending, and their texts one after another;
// they become segment number segment.
struct LineBatch {
    std::vector<qint64> rowids;
    std::vector<size_t> ends;
    std::string text;
    qint64 segment = 0;

    void clear()
    {
        rowids.clear();
        ends.clear();
        text.clear();
    }
};

// Sorts 64-bit values by keyBits bits from bit 16 up, keeping the order of values whose bits
// there are equal; scratch is used as room. Passes of eleven bits, a pass skipped where all values
// share its digit.
void radixSortAbove16(std::vector<quint64>& values, std::vector<quint64>& scratch, int keyBits)
{
    constexpr int kDigitBits = 11;
    constexpr size_t kDigits = size_t(1) << kDigitBits;
    const int passes = (keyBits + kDigitBits - 1) / kDigitBits;
    Q_ASSERT(16 + keyBits <= 64 && passes <= 5);
    std::array<std::array<quint32, kDigits>, 5> counts{};
    for (const quint64 value : values)
        for (int pass = 0; pass < passes; ++pass)
            ++counts[size_t(pass)][(value >> (16 + kDigitBits * pass)) & (kDigits - 1)];
    scratch.resize(values.size());
    for (int pass = 0; pass < passes; ++pass) {
        std::array<quint32, kDigits>& count = counts[size_t(pass)];
        const int shift = 16 + kDigitBits * pass;
        if (count[(values.front() >> shift) & (kDigits - 1)] == values.size())
            continue;
        quint32 at = 0;
        for (quint32& c : count)
            at += std::exchange(c, at);
        for (const quint64 value : values)
            scratch[count[(value >> shift) & (kDigits - 1)]++] = value;
        values.swap(scratch);
    }
}


// The keys of a batch of lines, sorted: one value per character and per pair of characters of
// each line (key above, the line's place in the batch in the low 16 bits), in key order and,
// within a key, in line order.
class BatchSorter {
public:
    static constexpr size_t kMaxBatchLines = 1 << 16;

    void sort(const LineBatch& batch)
    {
        Q_ASSERT(batch.rowids.size() <= kMaxBatchLines);
        // Characters of the Basic Multilingual Plane only (the common case): keys packed in 33
        // bits, a pair flag and two 16-bit characters, in the order of the stored keys.
        narrow_ = collectEntries(batch, true) || !collectEntries(batch, false);
        if (!entries_.empty())
            radixSortAbove16(entries_, scratch_, narrow_ ? 33 : 45);
    }

    const std::vector<quint64>& entries() const { return entries_; }

    // The stored key of the bits above 16 of a value.
    qint64 keyOf(quint64 packed) const
    {
        return !narrow_ || packed < (quint64(1) << 32)
                   ? qint64(packed)
                   : pairKey(quint32(packed >> 16) & 0xFFFF, quint32(packed) & 0xFFFF);
    }

private:
    // False when narrow and a character beyond 16 bits turns up.
    bool collectEntries(const LineBatch& batch, bool narrow)
    {
        entries_.clear();
        size_t begin = 0;
        for (size_t line = 0; line < batch.rowids.size(); ++line) {
            const auto* p = reinterpret_cast<const uchar*>(batch.text.data() + begin);
            const uchar* end = reinterpret_cast<const uchar*>(batch.text.data() + batch.ends[line]);
            begin = batch.ends[line];
            quint32 previous = 0;
            bool hasPrevious = false;
            while (p < end) {
                const quint32 c = nextCharacter(p, end);
                if (narrow && c > 0xFFFF)
                    return false;
                entries_.push_back(quint64(c) << 16 | line);
                if (hasPrevious)
                    entries_.push_back((narrow ? quint64(1) << 32 | previous << 16 | c
                                               : quint64(pairKey(previous, c)))
                                           << 16
                                       | line);
                previous = c;
                hasPrevious = true;
            }
        }
        return true;
    }

    std::vector<quint64> entries_;
    std::vector<quint64> scratch_;
    bool narrow_ = true;
};

// The pages of one segment: the key of each row, where its bytes end, and the bytes.
struct SegmentPages {
    std::vector<qint64> rowKeys;
    std::vector<size_t> ends;
    std::string bytes;

    void clear()
    {
        rowKeys.clear();
        ends.clear();
        bytes.clear();
    }
};

// Replaces list, the differences of the rowids of entries [begin, end) of batch, by their bitmap
// when that is shorter (a list of most of the batch's lines); true when it did.
bool packAsBitmap(const LineBatch& batch, const std::vector<quint64>& entries, size_t begin, size_t end,
                  std::string& list)
{
    const qint64 first = batch.rowids[entries[begin] & 0xFFFF];
    const qint64 span = batch.rowids[entries[end - 1] & 0xFFFF] - first;
    if (span / 8 + 2 >= qint64(list.size()))
        return false;
    list.clear();
    appendVarint(list, quint64(first - batch.rowids.front()));
    const size_t bits = list.size();
    list.resize(bits + size_t(span / 8) + 1, '\0');
    for (size_t i = begin; i < end; ++i) {
        const qint64 at = batch.rowids[entries[i] & 0xFFFF] - first;
        list[bits + size_t(at / 8)] = char(uchar(list[bits + size_t(at / 8)]) | 1u << (at % 8));
    }
    return true;
}

int varintSize(quint64 value)
{
    int size = 1;
    for (; value >= 0x80; value >>= 7)
        ++size;
    return size;
}

// The pages of the lines of batch as segment number batch.segment. A page takes lists while they
// fit in pageBytes; a list longer than that has a page of its own.
void encodeSegment(const LineBatch& batch, BatchSorter& sorter, SegmentPages& pages,
                   size_t pageBytes = kDefaultPageBytes)
{
    pages.clear();
    if (batch.rowids.empty())
        return;
    sorter.sort(batch);
    const std::vector<quint64>& entries = sorter.entries();
    const qint64 base = batch.rowids.front();
    std::string list;
    size_t pageBegin = 0;
    bool pageOpen = false;
    qint64 lastKey = 0;
    size_t i = 0;
    while (i < entries.size()) {
        const quint64 packed = entries[i] >> 16;
        const qint64 key = sorter.keyOf(packed);
        const size_t keyBegin = i;
        list.clear();
        qint64 last = base;
        bool first = true;
        for (; i < entries.size() && entries[i] >> 16 == packed; ++i) {
            const qint64 rowid = batch.rowids[entries[i] & 0xFFFF];
            if (rowid == last && !first)
                continue;
            Q_ASSERT(rowid > last || first);
            appendVarint(list, quint64(rowid - last));
            last = rowid;
            first = false;
        }
        const bool bitmap = packAsBitmap(batch, entries, keyBegin, i, list);
        const quint64 sizeField = quint64(list.size()) << 1 | (bitmap ? 1 : 0);
        if (pageOpen
            && pages.bytes.size() - pageBegin + size_t(varintSize(quint64(key - lastKey)))
                       + size_t(varintSize(sizeField)) + list.size()
                   > pageBytes) {
            pages.ends.push_back(pages.bytes.size());
            pageBegin = pages.bytes.size();
            pageOpen = false;
        }
        if (!pageOpen) {
            pages.rowKeys.push_back(rowKey(batch.segment, key));
            appendVarint(pages.bytes, quint64(base) << 1 ^ quint64(base >> 63));
            lastKey = key;
            pageOpen = true;
        }
        appendVarint(pages.bytes, quint64(key - lastKey));
        appendVarint(pages.bytes, sizeField);
        pages.bytes += list;
        lastKey = key;
    }
    if (pageOpen)
        pages.ends.push_back(pages.bytes.size());
}

// Inserts pages of the index. The bytes are bound where they lie, without the copy that binding
// a value through SqliteStatement makes.
class PageInsert {
public:
    explicit PageInsert(const Connection& connection) : connection_(connection)
    {
        const QByteArray sql = QStringLiteral("insert into %1(键, 行) values(?, ?)").arg(kIndexTable).toUtf8();
        if (sqlite3_prepare_v2(connection.handle(), sql.constData(), int(sql.size()), &statement_, nullptr)
            != SQLITE_OK)
            connection.fail();
    }
    ~PageInsert() { sqlite3_finalize(statement_); }
    PageInsert(const PageInsert&) = delete;
    PageInsert& operator=(const PageInsert&) = delete;

    void insert(qint64 key, const char* bytes, size_t size)
    {
        if (sqlite3_bind_int64(statement_, 1, key) != SQLITE_OK
            || sqlite3_bind_blob64(statement_, 2, bytes, sqlite3_uint64(size), SQLITE_STATIC) != SQLITE_OK
            || sqlite3_step(statement_) != SQLITE_DONE)
            connection_.fail();
        sqlite3_reset(statement_);
    }

private:
    const Connection& connection_;
    sqlite3_stmt* statement_ = nullptr;
};

// Indexes lines given in rowid order a batch at a time, each batch a segment numbered on from the
// first: the keys are sorted and the pages made on a thread of their own, while the caller goes
// on reading and writing rows; the caller's thread writes the pages made so far whenever it hands
// over a batch, so the index costs memory for a few batches only. Without a thread to be had, a
// batch is indexed at once.
class LineIndexer {
public:
    LineIndexer(const Connection& connection, qint64 firstSegment, qint64 segmentLimit)
        : insert_(connection),
          segment_(firstSegment),
          segmentLimit_(segmentLimit),
          pageBytes_(indexPageBytes(connection))
    {
        try {
            worker_ = std::thread([this] { work(); });
        } catch (const std::system_error&) {
        }
    }
    ~LineIndexer() { stop(); }
    LineIndexer(const LineIndexer&) = delete;
    LineIndexer& operator=(const LineIndexer&) = delete;

    void add(qint64 rowid, QByteArrayView text)
    {
        batch_.rowids.push_back(rowid);
        batch_.text.append(text.data(), size_t(text.size()));
        batch_.ends.push_back(batch_.text.size());
        if (batch_.rowids.size() >= BatchSorter::kMaxBatchLines || batch_.text.size() >= kBatchBytes)
            handOver();
    }

    // Writes the pages of every line added.
    void finish()
    {
        handOver();
        stop();
        writeFinished();
    }

private:
    // About a million characters of Chinese text: the sort of a batch stays within a few tens of
    // megabytes, and a segment's lists are long enough that their keys cost little beside them.
    static constexpr size_t kBatchBytes = size_t(2) << 20;
    static constexpr size_t kBatchesQueued = 1;

    void work()
    {
        BatchSorter sorter;
        for (;;) {
            LineBatch batch;
            SegmentPages pages;
            {
                std::unique_lock lock(mutex_);
                ready_.wait(lock, [this] { return done_ || !queue_.empty(); });
                if (queue_.empty())
                    return;
                batch = std::move(queue_.front());
                queue_.pop_front();
                if (!sparePages_.empty()) {
                    pages = std::move(sparePages_.back());
                    sparePages_.pop_back();
                }
            }
            room_.notify_one();
            try {
                encodeSegment(batch, sorter, pages, pageBytes_);
            } catch (...) {
                // Memory ran out: the caller's thread throws it at the next hand-over.
                {
                    std::lock_guard lock(mutex_);
                    failure_ = std::current_exception();
                }
                room_.notify_one();
                return;
            }
            batch.clear();
            std::lock_guard lock(mutex_);
            finished_.push_back(std::move(pages));
            spare_.push_back(std::move(batch));  // its memory serves again, without page faults
        }
    }

    void handOver()
    {
        if (batch_.rowids.empty())
            return;
        Q_ASSERT(segment_ < segmentLimit_);
        batch_.segment = segment_++;
        if (!worker_.joinable()) {
            SegmentPages pages;
            encodeSegment(batch_, sorter_, pages, pageBytes_);
            batch_.clear();
            write(pages);
            return;
        }
        {
            std::unique_lock lock(mutex_);
            room_.wait(lock, [&] { return queue_.size() < kBatchesQueued || failure_; });
            if (failure_)
                std::rethrow_exception(failure_);
            queue_.push_back(std::move(batch_));
            batch_ = {};
            if (!spare_.empty()) {
                batch_ = std::move(spare_.back());
                spare_.pop_back();
            }
        }
        ready_.notify_one();
        writeFinished();
    }

    // Writes the segments the worker has made, in their order, outside the lock.
    void writeFinished()
    {
        std::deque<SegmentPages> made;
        {
            std::lock_guard lock(mutex_);
            if (failure_)
                std::rethrow_exception(failure_);
            made.swap(finished_);
        }
        for (SegmentPages& pages : made) {
            write(pages);
            pages.clear();
        }
        std::lock_guard lock(mutex_);
        for (SegmentPages& pages : made)
            sparePages_.push_back(std::move(pages));
    }

    void write(const SegmentPages& pages)
    {
        size_t begin = 0;
        for (size_t page = 0; page < pages.rowKeys.size(); ++page) {
            insert_.insert(pages.rowKeys[page], pages.bytes.data() + begin, pages.ends[page] - begin);
            begin = pages.ends[page];
        }
    }

    void stop()
    {
        if (!worker_.joinable())
            return;
        {
            std::lock_guard lock(mutex_);
            done_ = true;
        }
        ready_.notify_one();
        worker_.join();
    }

    // The room of an index page in a page of this store.
    static size_t indexPageBytes(const Connection& connection)
    {
        SqliteStatement pageSize(connection, QStringLiteral("pragma page_size"));
        const qint64 bytes = pageSize.step() ? pageSize.columnInt(0) : 0;
        return bytes >= 512 ? size_t(bytes - kStorePageOverhead) : kDefaultPageBytes;
    }

    PageInsert insert_;
    qint64 segment_;
    const qint64 segmentLimit_;
    const size_t pageBytes_;
    LineBatch batch_;
    BatchSorter sorter_;  // for batches indexed without the worker
    std::deque<LineBatch> queue_;
    std::vector<LineBatch> spare_;
    std::deque<SegmentPages> finished_;
    std::vector<SegmentPages> sparePages_;
    std::mutex mutex_;
    std::condition_variable ready_;
    std::condition_variable room_;
    bool done_ = false;
    std::exception_ptr failure_;
    std::thread worker_;
};

// Runs of rows in rowid order that share a title and count their line numbers up.
class RunBuilder {
public:
    void add(qint64 rowid, QByteArrayView title, qint64 lineNumber)
    {
        if (!runs_.empty()) {
            Run& run = runs_.back();
            if (rowid == run.first + run.count && lineNumber == run.firstLine + run.count
                && title == run.title) {
                ++run.count;
                return;
            }
        }
        runs_.push_back({rowid, 1, lineNumber, QByteArray(title.data(), title.size())});
    }

    void write(const Connection& connection) const
    {
        SqliteStatement insert(connection,
                               QStringLiteral("insert into 全文行段(起, 数, 首行, 标题) values(?, ?, ?, ?)"));
        for (const Run& run : runs_) {
            insert.bindInteger(1, run.first);
            insert.bindInteger(2, run.count);
            insert.bindInteger(3, run.firstLine);
            insert.bindUtf8(4, run.title);
            insert.step();
            insert.reset();
        }
    }

private:
    struct Run {
        qint64 first;
        qint64 count;
        qint64 firstLine;
        QByteArray title;
    };
    std::vector<Run> runs_;
};

void clearIndex(Connection& connection)
{
    connection.exec(QStringLiteral("delete from 全文分段; delete from 全文行段; delete from 全文已改;"
                                   " delete from 全文待办;"));
}

void markRebuilt(Connection& connection)
{
    connection.exec(QStringLiteral("update 全文状态 set 基本代=基本代+1, 增补代=增补代+1"));
}

qint64 singleNumber(const Connection& connection, const QString& sql)
{
    SqliteStatement statement(connection, sql);
    return statement.step() ? statement.columnInt(0) : 0;
}


// Folds the pending rows into the delta, or rebuilds everything when the changed rows have grown
// too many; inside the caller's write transaction.
void fold(Connection& connection)
{
    const qint64 pending = singleNumber(connection, QStringLiteral("select count(*) from 全文待办"));
    if (pending == 0)
        return;
    connection.exec(QStringLiteral("insert or ignore into 全文已改(行) select 行 from 全文待办;"
                                   " delete from 全文待办;"));
    const qint64 changed = singleNumber(connection, QStringLiteral("select count(*) from 全文已改"));
    const qint64 base = singleNumber(connection, QStringLiteral("select total(数) from 全文行段"));
    if (changed > std::max(kDeltaLimit, base / 16)) {
        rebuild(connection);
        return;
    }
    SqliteStatement clear(connection, QStringLiteral("delete from %1 where 键>=?").arg(kIndexTable));
    clear.bindInteger(1, rowKey(kFirstDeltaSegment, 0));
    clear.step();
    {
        LineIndexer delta(connection, kFirstDeltaSegment, kSegmentLimit);
        SqliteStatement rows(connection, QStringLiteral("select t.rowid, t.内容 from 全文已改 c"
                                                        " join 文本 t on t.rowid=c.行 order by c.行"));
        while (rows.step())
            delta.add(rows.columnInt(0), rows.columnUtf8(1));
        delta.finish();
    }
    connection.exec(QStringLiteral("update 全文状态 set 增补代=增补代+1"));
}

const char* const kTriggers[] = {"全文记增", "全文记删", "全文记改"};
// The tables of the index, with the one an earlier layout kept its lists in.
const char* const kIndexTables[] = {"全文分段", "全文索引", "全文行段", "全文已改", "全文待办", "全文状态"};

// The triggers that record changed rows. No constraint on the pending table: a statement's own
// conflict rule (insert or rollback, say) then never reaches into the triggers. 记录 is 0 to
// make them record nothing (stores of earlier versions set it while rewriting the whole book).
QString triggerSql()
{
    return QStringLiteral(
        "create trigger 全文记增 after insert on 文本 when (select 记录 from 全文状态) begin"
        " insert into 全文待办 values(new.rowid); end;"
        "create trigger 全文记删 after delete on 文本 when (select 记录 from 全文状态) begin"
        " insert into 全文待办 values(old.rowid); end;"
        "create trigger 全文记改 after update on 文本 when (select 记录 from 全文状态) begin"
        " insert into 全文待办 values(old.rowid); insert into 全文待办 values(new.rowid); end;");
}

void dropTriggers(Connection& connection)
{
    for (const char* name : kTriggers)
        connection.exec(QStringLiteral("drop trigger if exists %1").arg(QString::fromUtf8(name)));
}

// Drops the index, in whichever layout, with its triggers, and makes it anew from every row.
void install(Connection& connection)
{
    dropTriggers(connection);
    for (const char* name : kIndexTables)
        connection.exec(QStringLiteral("drop table if exists %1").arg(QString::fromUtf8(name)));
    connection.exec(schemaSql());
    rebuild(connection);
}

} // namespace

QString schemaSql()
{
    return QStringLiteral(
               "create table 全文分段(键 INTEGER PRIMARY KEY, 行 BLOB);"
               "create table 全文行段(起 INTEGER PRIMARY KEY, 数 INTEGER, 首行 INTEGER, 标题 TEXT);"
               "create table 全文已改(行 INTEGER PRIMARY KEY);"
               "create table 全文待办(行 INTEGER);"
               "create table 全文状态(基本代 INTEGER, 增补代 INTEGER, 记录 INTEGER);"
               "insert into 全文状态 values(0, 0, 1);")
           + triggerSql();
}

bool isInstalled(const Connection& connection)
{
    SqliteStatement find(connection, QStringLiteral("select count(*) from sqlite_master where type='table'"
                                                    " and name in (?, ?)"));
    find.bind(1, kIndexTable);
    find.bind(2, kStateTable);
    return find.step() && find.columnInt(0) == 2;
}

void rebuild(Connection& connection)
{
    clearIndex(connection);
    RunBuilder runs;
    {
        LineIndexer lines(connection, 0, kFirstDeltaSegment);
        SqliteStatement rows(connection,
                             QStringLiteral("select rowid, 标题, 行数, 内容 from 文本 order by rowid"));
        while (rows.step()) {
            const qint64 rowid = rows.columnInt(0);
            runs.add(rowid, rows.columnUtf8(1), rows.columnInt(2));
            lines.add(rowid, rows.columnUtf8(3));
        }
        lines.finish();
    }
    runs.write(connection);
    markRebuilt(connection);
}

void catchUp(Connection& connection)
{
    connection.inTransaction(Connection::TransactionKind::Write, [&] {
        if (!isInstalled(connection))
            install(connection);
        else
            fold(connection);
    });
}

void catchUp(const QString& path)
{
    Connection connection(path);
    catchUp(connection);
}

namespace {

// a minus b, both ascending.
void subtract(std::vector<qint64>& a, const std::vector<qint64>& b)
{
    if (b.empty())
        return;
    auto out = a.begin();
    auto skip = b.begin();
    for (auto in = a.begin(); in != a.end(); ++in) {
        while (skip != b.end() && *skip < *in)
            ++skip;
        if (skip == b.end() || *skip != *in)
            *out++ = *in;
    }
    a.erase(out, a.end());
}

// The union of two ascending lists. a is taken over when b is empty, as it mostly is: a copy of a
// long list costs more in memory touched for the first time than in copying.
std::vector<qint64> unionOf(std::vector<qint64>&& a, const std::vector<qint64>& b)
{
    if (b.empty())
        return std::move(a);
    std::vector<qint64> both;
    both.reserve(a.size() + b.size());
    std::set_union(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(both));
    return both;
}

std::vector<qint64> rowidsOf(const Connection& connection, const QString& sql)
{
    std::vector<qint64> rows;
    SqliteStatement select(connection, sql);
    while (select.step())
        rows.push_back(select.columnInt(0));
    return rows;
}

bool contains(const std::vector<qint64>& sorted, qint64 rowid)
{
    return std::binary_search(sorted.begin(), sorted.end(), rowid);
}

// A key with its rows, ascending.
struct KeyRows {
    qint64 key;
    std::vector<qint64> rowids;
};

// Appends the lists of a page, without the rows of stale (ascending); lists left empty are dropped.
void appendLists(qint64 rowKey, QByteArrayView bytes, const std::vector<qint64>& stale,
                 std::vector<KeyRows>& lists)
{
    PageReader page(rowKey, bytes);
    qint64 key;
    QByteArrayView list;
    bool bitmap;
    while (page.next(key, list, bitmap)) {
        KeyRows rows{key, {}};
        decodeList(list, page.base(), bitmap, rows.rowids);
        subtract(rows.rowids, stale);
        if (!rows.rowids.empty())
            lists.push_back(std::move(rows));
    }
}

// The segments numbered from first on, up to the first number missing, each with its first rowid.
std::vector<std::pair<qint64, qint64>> segmentsFrom(const Connection& connection, qint64 first)
{
    std::vector<std::pair<qint64, qint64>> segments;
    SqliteStatement page(connection, QStringLiteral("select 键, 行 from %1 where 键>=? order by 键 limit 1")
                                         .arg(kIndexTable));
    for (qint64 segment = first; segment < kSegmentLimit; ++segment) {
        page.reset();
        page.bindInteger(1, rowKey(segment, 0));
        if (!page.step() || page.columnInt(0) >> kSegmentShift != segment)
            break;
        segments.emplace_back(segment, PageReader(page.columnInt(0), page.columnBytes(1)).base());
    }
    return segments;
}

// The lists of one stored segment, in key order, without the rows of stale.
std::vector<KeyRows> storedLists(const Connection& connection, qint64 segment,
                                 const std::vector<qint64>& stale)
{
    std::vector<KeyRows> lists;
    SqliteStatement pages(connection, QStringLiteral("select 键, 行 from %1 where 键>=? and 键<=? order by 键")
                                          .arg(kIndexTable));
    pages.bindInteger(1, rowKey(segment, 0));
    pages.bindInteger(2, rowKey(segment, kKeyMask));
    while (pages.step())
        appendLists(pages.columnInt(0), pages.columnBytes(1), stale, lists);
    return lists;
}

// The lists the lines of batch make, in key order.
std::vector<KeyRows> listsOf(const LineBatch& batch, BatchSorter& sorter)
{
    SegmentPages pages;
    encodeSegment(batch, sorter, pages);
    std::vector<KeyRows> lists;
    size_t begin = 0;
    for (size_t page = 0; page < pages.rowKeys.size(); ++page) {
        appendLists(pages.rowKeys[page],
                    QByteArrayView(pages.bytes.data() + begin, qsizetype(pages.ends[page] - begin)), {},
                    lists);
        begin = pages.ends[page];
    }
    return lists;
}

// How many keys have other rows in one list than in the other, both in key order.
qint64 differingKeys(const std::vector<KeyRows>& stored, const std::vector<KeyRows>& expected)
{
    qint64 differing = 0;
    size_t i = 0;
    size_t j = 0;
    while (i < stored.size() || j < expected.size()) {
        if (j == expected.size() || (i < stored.size() && stored[i].key < expected[j].key)) {
            ++differing, ++i;
        } else if (i == stored.size() || expected[j].key < stored[i].key) {
            ++differing, ++j;
        } else {
            differing += stored[i].rowids != expected[j].rowids;
            ++i, ++j;
        }
    }
    return differing;
}

// How many keys of the segments numbered from first on have lists other than those of the rows
// that rowsSql selects (rowid and line, ascending by rowid), leaving out the rows of stale: a
// search does not take them from the lists. Each segment answers for the rows from its first
// rowid up to the next segment's.
qint64 differingKeysOf(const Connection& connection, qint64 first, const QString& rowsSql,
                       const std::vector<qint64>& stale)
{
    const std::vector<std::pair<qint64, qint64>> segments = segmentsFrom(connection, first);
    SqliteStatement rows(connection, rowsSql);
    BatchSorter sorter;
    LineBatch batch;
    qint64 differing = 0;
    bool more = rows.step();
    for (size_t s = 0; s < std::max<size_t>(segments.size(), 1); ++s) {
        const bool last = s + 1 >= segments.size();
        batch.clear();
        bool tooMany = false;  // more rows than one segment ever holds: some are surely missing
        for (; more && (last || rows.columnInt(0) < segments[s + 1].second); more = rows.step()) {
            const qint64 rowid = rows.columnInt(0);
            if (contains(stale, rowid))
                continue;
            if (batch.rowids.size() == BatchSorter::kMaxBatchLines) {
                tooMany = true;
                continue;
            }
            const QByteArrayView text = rows.columnUtf8(1);
            batch.rowids.push_back(rowid);
            batch.text.append(text.data(), size_t(text.size()));
            batch.ends.push_back(batch.text.size());
        }
        const std::vector<KeyRows> stored =
            segments.empty() ? std::vector<KeyRows>{} : storedLists(connection, segments[s].first, stale);
        differing += differingKeys(stored, listsOf(batch, sorter)) + (tooMany ? 1 : 0);
    }
    return differing;
}

void checkTriggers(const Connection& connection, QStringList& problems)
{
    SqliteStatement find(connection, QStringLiteral("select 1 from sqlite_master where name=?"));
    for (const char* name : kTriggers) {
        find.reset();
        find.bind(1, QString::fromUtf8(name));
        if (!find.step())
            problems << QStringLiteral("全文索引的触发器 %1 不见了，此后写入的资料搜索不到")
                            .arg(QString::fromUtf8(name));
    }
}

// The base: the lists and the title runs of every row not changed since it was built.
void checkBase(const Connection& connection, const std::vector<qint64>& stale, QStringList& problems)
{
    struct StoredRun {
        qint64 first, count, firstLine;
        QByteArray title;
    };
    std::vector<StoredRun> runs;
    SqliteStatement runRows(connection, QStringLiteral("select 起, 数, 首行, 标题 from 全文行段 order by 起"));
    while (runRows.step()) {
        const QByteArrayView title = runRows.columnUtf8(3);
        runs.push_back({runRows.columnInt(0), runRows.columnInt(1), runRows.columnInt(2),
                        QByteArray(title.data(), title.size())});
    }
    size_t run = 0;
    qint64 misplaced = 0;
    SqliteStatement select(connection, QStringLiteral("select rowid, 标题, 行数 from 文本 order by rowid"));
    while (select.step()) {
        const qint64 rowid = select.columnInt(0);
        if (contains(stale, rowid))
            continue;
        while (run < runs.size() && runs[run].first + runs[run].count <= rowid)
            ++run;
        if (run < runs.size() && runs[run].first <= rowid
            && (runs[run].title != select.columnUtf8(1)
                || runs[run].firstLine + (rowid - runs[run].first) != select.columnInt(2)))
            ++misplaced;
    }
    if (misplaced > 0)
        problems << QStringLiteral("全文索引把 %1 行资料记在错误的标题或行号下").arg(misplaced);
    if (const qint64 differing = differingKeysOf(
            connection, 0, QStringLiteral("select rowid, 内容 from 文本 order by rowid"), stale))
        problems << QStringLiteral("全文索引有 %1 个字或词的行与资料不符").arg(differing);
}

// The delta: the rows changed since the base was built, as they are now.
void checkDelta(const Connection& connection, const std::vector<qint64>& pending, QStringList& problems)
{
    const QString rows = QStringLiteral("select t.rowid, t.内容 from 全文已改 c join 文本 t on t.rowid=c.行"
                                        " where c.行 not in (select 行 from 全文待办) order by c.行");
    if (const qint64 differing = differingKeysOf(connection, kFirstDeltaSegment, rows, pending))
        problems << QStringLiteral("全文索引的增补部分有 %1 个字或词的行与资料不符").arg(differing);
}

} // namespace

QStringList indexProblems(const QString& path)
{
    Connection connection(path);
    QStringList problems;
    connection.inTransaction(Connection::TransactionKind::Read, [&] {
        if (!isInstalled(connection))
            return;
        checkTriggers(connection, problems);
        const std::vector<qint64> changed =
            rowidsOf(connection, QStringLiteral("select 行 from 全文已改 order by 行"));
        const std::vector<qint64> pending =
            rowidsOf(connection, QStringLiteral("select distinct 行 from 全文待办 order by 行"));
        std::vector<qint64> stale;
        std::set_union(changed.begin(), changed.end(), pending.begin(), pending.end(),
                       std::back_inserter(stale));
        checkBase(connection, stale, problems);
        checkDelta(connection, pending, problems);
    });
    return problems;
}

void reinstall(const QString& path)
{
    Connection connection(path);
    connection.inTransaction(Connection::TransactionKind::Write, [&] { install(connection); });
}

// ---------------------------------------------------------------------------------------------

struct BookRewrite::Impl {
    Connection& connection;
    bool ordered = true;
    qint64 lastRowid = 0;
    bool any = false;
    std::optional<LineIndexer> lines;  // while the store has the index
    RunBuilder runs;

    explicit Impl(Connection& c) : connection(c) {}
};

// The old index goes at once, so that the segments of the new rows are written as they are made.
// The triggers go until finish(): the book's own deletes and inserts then cost no trigger at all.
BookRewrite::BookRewrite(Connection& connection) : impl_(std::make_unique<Impl>(connection))
{
    if (!isInstalled(connection))
        return;
    dropTriggers(connection);
    clearIndex(connection);
    impl_->lines.emplace(connection, 0, kFirstDeltaSegment);
}

BookRewrite::~BookRewrite() = default;

void BookRewrite::addInsertedRow(QByteArrayView title, qint64 lineNumber, QByteArrayView text)
{
    if (!impl_->lines || !impl_->ordered)
        return;
    const qint64 rowid = sqlite3_last_insert_rowid(impl_->connection.handle());
    if (impl_->any && rowid <= impl_->lastRowid) {
        impl_->ordered = false;  // rowids handed out out of order: finish() reads the rows back
        return;
    }
    impl_->any = true;
    impl_->lastRowid = rowid;
    impl_->runs.add(rowid, title, lineNumber);
    impl_->lines->add(rowid, text);
}

void BookRewrite::finish()
{
    if (!impl_->lines)
        return;
    if (impl_->ordered) {
        impl_->lines->finish();
        impl_->lines.reset();
        impl_->runs.write(impl_->connection);
        markRebuilt(impl_->connection);
    } else {
        impl_->lines.reset();
        rebuild(impl_->connection);
    }
    impl_->connection.exec(QStringLiteral("update 全文状态 set 记录=1"));
    impl_->connection.exec(triggerSql());
}

// ---------------------------------------------------------------------------------------------

QueryProblem checkQuery(const QString& text)
{
    return text.isEmpty() ? QueryProblem::Empty : QueryProblem::None;
}

namespace {

// A distinct title of the base; its text and sort key are made when a search first finds it,
// so that a search that finds a few titles sorts only those.
struct Title {
    QByteArray utf8;
    QString text;
    QByteArray key;
    bool ready = false;
};

// Byte order of keys, then of the texts themselves (std::string_view compares as memcmp does).
bool titleLess(std::string_view keyA, std::string_view utf8A, std::string_view keyB, std::string_view utf8B)
{
    const int order = keyA.compare(keyB);
    return order != 0 ? order < 0 : utf8A < utf8B;
}

std::string_view viewOf(const QByteArray& bytes)
{
    return std::string_view(bytes.constData(), size_t(bytes.size()));
}

struct Run {
    qint64 first;
    qint64 count;
    qint64 firstLine;
    quint32 title;
};

std::vector<QByteArray> sortKeysOf(const std::vector<QString>& texts)
{
    QByteArray keys;
    const std::vector<qsizetype> ends = appendChineseSortKeys(texts, keys);
    std::vector<QByteArray> result;
    result.reserve(texts.size());
    qsizetype begin = 0;
    for (const qsizetype end : ends) {
        result.push_back(keys.mid(begin, end - begin));
        begin = end;
    }
    return result;
}

} // namespace

namespace {

// A query as the index takes it: its UTF-8 with ASCII letters in lower case, the keys whose lists
// hold its lines, and whether a line found through them must still be read to be sure.
struct ParsedQuery {
    QByteArray needle;
    std::vector<qint64> keys;
    bool verify = false;
};

ParsedQuery parseQuery(const QString& text)
{
    ParsedQuery query;
    query.needle = foldAscii(QByteArrayView(text.toUtf8()));
    std::vector<quint32> characters;
    const auto* p = reinterpret_cast<const uchar*>(query.needle.constData());
    const uchar* end = p + query.needle.size();
    while (p < end)
        characters.push_back(nextCharacter(p, end));
    if (characters.size() == 1)
        query.keys.push_back(qint64(characters[0]));
    for (size_t i = 1; i < characters.size(); ++i)
        query.keys.push_back(pairKey(characters[i - 1], characters[i]));
    std::sort(query.keys.begin(), query.keys.end());
    query.keys.erase(std::unique(query.keys.begin(), query.keys.end()), query.keys.end());
    // One or two characters are exactly what a key stands for; more need their lines read.
    query.verify = characters.size() > 2;
    return query;
}

} // namespace

struct Searcher::Impl {
    explicit Impl(const QString& path)
        : connection(path, Connection::Mode::OpenExisting, Connection::Reads::InBlocksWhenAsked),
          rowOf(connection, QStringLiteral("select 标题, 行数, 内容 from 文本 where rowid=?")),
          lineOf(connection, QStringLiteral("select 内容 from 文本 where rowid=?")),
          linesBetween(connection, QStringLiteral("select rowid, 内容 from 文本 where rowid between ? and ?"))
    {
        // Pages read through the cache cost less than the page faults of a memory map here, and
        // the cache keeps the lists and lines of one search for the next.
        connection.exec(QStringLiteral("pragma mmap_size=0"));
    }

    Connection connection;
    SqliteStatement rowOf;
    SqliteStatement lineOf;
    SqliteStatement linesBetween;
    // Prepared once the store has the index.
    std::unique_ptr<SqliteStatement> pageOf;
    qint64 baseGeneration = -1;
    qint64 runsGeneration = -1;
    qint64 deltaGeneration = -1;
    qint64 baseSegments = 0;
    qint64 deltaSegments = 0;
    std::vector<Title> titles;
    std::unordered_map<std::string, quint32> titleIndex;  // by UTF-8
    std::vector<Run> runs;
    std::vector<qint64> changed;

    // Brings what it keeps in memory up to the store's state; the title runs only when asked.
    void refresh(bool withRuns);
    void loadRuns();
    std::vector<qint64> pending();
    qint64 segmentsFrom(qint64 first, qint64 limit);
    // A key's lists of some segments, one after another, with where each ends and its segment's
    // first rowid.
    struct KeyList {
        std::string bytes;
        struct Part {
            size_t end;
            qint64 base;
            bool bitmap;
        };
        std::vector<Part> parts;

        template<typename Visit>
        void forEachRow(Visit&& visit) const
        {
            size_t begin = 0;
            for (const Part& part : parts) {
                forEachRowOf(QByteArrayView(bytes.data() + begin, qsizetype(part.end - begin)), part.base,
                             part.bitmap, visit);
                begin = part.end;
            }
        }
    };
    void appendList(qint64 key, qint64 segment, KeyList& list);
    std::vector<qint64> candidates(const std::vector<qint64>& keys, qint64 firstSegment, qint64 segments);
};

void Searcher::Impl::refresh(bool withRuns)
{
    if (!pageOf) {
        pageOf = std::make_unique<SqliteStatement>(
            connection, QStringLiteral("select 键, 行 from %1 where 键>=? and 键<=? order by 键 desc limit 1")
                            .arg(kIndexTable));
    }
    SqliteStatement state(connection, QStringLiteral("select 基本代, 增补代 from 全文状态"));
    const bool found = state.step();
    const qint64 base = found ? state.columnInt(0) : 0;
    const qint64 delta = found ? state.columnInt(1) : 0;
    if (base != baseGeneration) {
        baseSegments = segmentsFrom(0, kFirstDeltaSegment);
        baseGeneration = base;
    }
    if (withRuns && base != runsGeneration) {
        loadRuns();
        runsGeneration = base;
    }
    if (delta != deltaGeneration) {
        changed.clear();
        SqliteStatement rows(connection, QStringLiteral("select 行 from 全文已改 order by 行"));
        while (rows.step())
            changed.push_back(rows.columnInt(0));
        deltaSegments = segmentsFrom(kFirstDeltaSegment, kSegmentLimit);
        deltaGeneration = delta;
    }
}

// How many segments are numbered from first on, below limit.
qint64 Searcher::Impl::segmentsFrom(qint64 first, qint64 limit)
{
    SqliteStatement last(connection, QStringLiteral("select ifnull(max(键), -1) from %1 where 键>=? and 键<?")
                                         .arg(kIndexTable));
    last.bindInteger(1, rowKey(first, 0));
    last.bindInteger(2, limit << kSegmentShift);
    const qint64 key = last.step() ? last.columnInt(0) : -1;
    return key < 0 ? 0 : (key >> kSegmentShift) - first + 1;
}

void Searcher::Impl::loadRuns()
{
    runs.clear();
    titles.clear();
    titleIndex.clear();
    const qint64 count = singleNumber(connection, QStringLiteral("select count(*) from 全文行段"));
    runs.reserve(size_t(count));
    titles.reserve(size_t(count));
    titleIndex.reserve(size_t(count));
    SqliteStatement rows(connection,
                         QStringLiteral("select 起, 数, 首行, 标题 from 全文行段 order by 起"));
    while (rows.step()) {
        const QByteArrayView title = rows.columnUtf8(3);
        const auto [place, added] = titleIndex.try_emplace(
            std::string(title.data(), size_t(title.size())), quint32(titles.size()));
        if (added)
            titles.push_back({QByteArray(title.data(), title.size()), {}, {}, false});
        runs.push_back({rows.columnInt(0), rows.columnInt(1), rows.columnInt(2), place->second});
    }
}

std::vector<qint64> Searcher::Impl::pending()
{
    std::vector<qint64> rows;
    SqliteStatement select(connection, QStringLiteral("select distinct 行 from 全文待办 order by 行"));
    while (select.step())
        rows.push_back(select.columnInt(0));
    return rows;
}

// Appends the list of key in a segment, from the page that starts at or before it, to list.
void Searcher::Impl::appendList(qint64 key, qint64 segment, KeyList& list)
{
    pageOf->reset();
    pageOf->bindInteger(1, rowKey(segment, 0));
    pageOf->bindInteger(2, rowKey(segment, key));
    if (pageOf->step()) {
        PageReader page(pageOf->columnInt(0), pageOf->columnBytes(1));
        qint64 listKey;
        QByteArrayView bytes;
        bool bitmap;
        while (page.next(listKey, bytes, bitmap) && listKey <= key) {
            if (listKey == key && !bytes.isEmpty()) {
                list.bytes.append(bytes.data(), size_t(bytes.size()));
                list.parts.push_back({list.bytes.size(), page.base(), bitmap});
            }
        }
    }
    pageOf->reset();
}

// The rows whose lines may hold every key, by the lists of some segments: the shortest list
// decoded, then as many others intersected with it as pay (see kListsIntersected), each read as
// it goes; exact for a single key. Empty when a key has no rows there.
std::vector<qint64> Searcher::Impl::candidates(const std::vector<qint64>& keys, qint64 firstSegment,
                                               qint64 segments)
{
    std::vector<KeyList> lists(keys.size());
    for (size_t i = 0; i < keys.size(); ++i) {
        for (qint64 segment = firstSegment; segment < firstSegment + segments; ++segment)
            appendList(keys[i], segment, lists[i]);
        if (lists[i].bytes.empty())
            return {};
    }
    std::sort(lists.begin(), lists.end(),
              [](const KeyList& a, const KeyList& b) { return a.bytes.size() < b.bytes.size(); });
    std::vector<qint64> result;
    result.reserve(size_t(std::count_if(lists.front().bytes.begin(), lists.front().bytes.end(),
                                        [](char byte) { return uchar(byte) < 0x80; })));
    lists.front().forEachRow([&](qint64 rowid) { result.push_back(rowid); });
    for (size_t i = 1; i < lists.size() && i < kListsIntersected && !result.empty(); ++i) {
        // A list much longer than the rows left costs more to read than reading those rows.
        if (lists[i].bytes.size() > kListBytesPerRowRead * result.size())
            break;
        size_t kept = 0;
        size_t next = 0;
        lists[i].forEachRow([&](qint64 rowid) {
            while (next < result.size() && result[next] < rowid)
                ++next;
            if (next < result.size() && result[next] == rowid)
                result[kept++] = result[next++];
        });
        result.resize(kept);
    }
    return result;
}

// ---------------------------------------------------------------------------------------------

struct Result::Impl {
    struct Entry {
        quint32 title;  // its place in the title list's order, among the titles found
        qint64 line;
        qint64 rowid;
        bool operator<(const Entry& other) const
        {
            if (title != other.title)
                return title < other.title;
            if (line != other.line)
                return line < other.line;
            return rowid < other.rowid;
        }
    };

    std::shared_ptr<Searcher::Impl> searcher;
    std::vector<QString> titles;  // of the lines found, in the title list's order
    std::vector<QByteArray> titlesUtf8;
    std::vector<Entry> entries;
    qsizetype sorted = 0;
    QString foldedQuery;

    void sortFirst()
    {
        sorted = std::min<qsizetype>(kFirstSorted, qsizetype(entries.size()));
        std::partial_sort(entries.begin(), entries.begin() + sorted, entries.end());
    }
    void sortUpTo(qsizetype i)
    {
        if (i < sorted)
            return;
        std::sort(entries.begin() + sorted, entries.end());
        sorted = qsizetype(entries.size());
    }
};

Result::Result() : impl_(std::make_unique<Impl>()) {}
Result::~Result() = default;
Result::Result(Result&&) noexcept = default;
Result& Result::operator=(Result&&) noexcept = default;

qsizetype Result::count() const
{
    return qsizetype(impl_->entries.size());
}

Hit Result::hit(qsizetype i) const
{
    return hits(i, 1).front();
}

// The lines are read in one read transaction: a read on its own would take the store's lock
// and look at the file each time.
std::vector<Hit> Result::hits(qsizetype from, qsizetype count) const
{
    Impl& d = *impl_;
    Q_ASSERT(from >= 0 && count >= 0 && from + count <= this->count());
    d.sortUpTo(from + count - 1);
    std::vector<Hit> found;
    Connection& connection = d.searcher->connection;
    SqliteStatement& read = d.searcher->lineOf;
    // Read in rowid order, which is the order of the file, and put in place.
    std::vector<qsizetype> byRow(static_cast<size_t>(count));
    for (qsizetype k = 0; k < count; ++k)
        byRow[size_t(k)] = from + k;
    std::sort(byRow.begin(), byRow.end(), [&](qsizetype a, qsizetype b) {
        return d.entries[size_t(a)].rowid < d.entries[size_t(b)].rowid;
    });
    found.resize(size_t(count));
    connection.inTransaction(Connection::TransactionKind::Read, [&] {
        for (const qsizetype i : byRow) {
            const Impl::Entry& entry = d.entries[size_t(i)];
            Hit& hit = found[size_t(i - from)];
            hit.title = d.titles[entry.title];
            hit.lineNumber = entry.line;
            read.reset();
            read.bindInteger(1, entry.rowid);
            if (read.step())
                hit.line = QString::fromUtf8(read.columnUtf8(0));
            read.reset();
            const qsizetype at = foldAscii(hit.line).indexOf(d.foldedQuery);
            hit.matchStart = std::max<qsizetype>(at, 0);
            hit.matchLength = at < 0 ? 0 : d.foldedQuery.size();
        }
    });
    return found;
}

void Result::visitLines(qsizetype from, qsizetype count, const LineVisitor& visit) const
{
    Impl& d = *impl_;
    Q_ASSERT(from >= 0 && count >= 0 && from + count <= this->count());
    d.sortUpTo(from + count - 1);
    std::vector<qsizetype> byRow(static_cast<size_t>(count));
    for (qsizetype k = 0; k < count; ++k)
        byRow[size_t(k)] = from + k;
    std::sort(byRow.begin(), byRow.end(), [&](qsizetype a, qsizetype b) {
        return d.entries[size_t(a)].rowid < d.entries[size_t(b)].rowid;
    });
    std::string lines;
    std::vector<std::pair<size_t, size_t>> spans(size_t(count), {0, 0});
    const auto take = [&](qsizetype i, QByteArrayView line) {
        spans[size_t(i - from)] = {lines.size(), size_t(line.size())};
        lines.append(line.data(), size_t(line.size()));
    };
    const auto rowidAt = [&](size_t k) { return d.entries[size_t(byRow[k])].rowid; };
    Searcher::Impl& searcher = *d.searcher;
    searcher.connection.inTransaction(Connection::TransactionKind::Read, [&] {
        // Rows close to each other (the lines of one entry, as a rule) are read by one walk from
        // the first to the last: a step to the next row costs less than a search for each.
        for (size_t k = 0; k < byRow.size();) {
            size_t last = k;
            while (last + 1 < byRow.size() && rowidAt(last + 1) - rowidAt(last) <= kRowsWalkedOver)
                ++last;
            if (last == k) {
                SqliteStatement& read = searcher.lineOf;
                read.reset();
                read.bindInteger(1, rowidAt(k));
                if (read.step())
                    take(byRow[k], read.columnUtf8(0));
                read.reset();
                ++k;
                continue;
            }
            SqliteStatement& walk = searcher.linesBetween;
            walk.reset();
            walk.bindInteger(1, rowidAt(k));
            walk.bindInteger(2, rowidAt(last));
            while (k <= last && walk.step()) {
                const qint64 rowid = walk.columnInt(0);
                while (k <= last && rowidAt(k) < rowid)
                    ++k;  // a row no longer there
                if (k <= last && rowidAt(k) == rowid)
                    take(byRow[k++], walk.columnUtf8(1));
            }
            walk.reset();
            k = last + 1;
        }
    });
    for (qsizetype k = 0; k < count; ++k) {
        const Impl::Entry& entry = d.entries[size_t(from + k)];
        const auto [at, length] = spans[size_t(k)];
        visit(d.titlesUtf8[entry.title], entry.line, QByteArrayView(lines.data() + at, qsizetype(length)));
    }
}

Searcher::Searcher(const QString& path) : impl_(std::make_shared<Impl>(path)) {}
Searcher::~Searcher() = default;

void Searcher::catchUpIfBehind()
{
    Connection& connection = impl_->connection;
    if (!isInstalled(connection)
        || singleNumber(connection, QStringLiteral("select count(*) from 全文待办")) > kPendingLimit) {
        try {
            catchUp(connection);
        } catch (const StoreError&) {
            // A store that cannot be written now: pending rows are read by each search instead.
        }
    }
}

Result Searcher::search(const QString& text)
{
    if (checkQuery(text) != QueryProblem::None)
        throw std::invalid_argument("empty full-text query");
    Impl& d = *impl_;
    Result result;
    Result::Impl& r = *result.impl_;
    r.searcher = impl_;
    r.foldedQuery = foldAscii(text);
    const ParsedQuery query = parseQuery(text);
    const QByteArray& needle = query.needle;
    const std::vector<qint64>& keys = query.keys;
    const bool verify = query.verify;

    struct Extra {
        QByteArray title;
        qint64 line;
        qint64 rowid;
    };
    std::vector<Extra> extras;
    const auto readRow = [&](qint64 rowid, bool check) {
        d.rowOf.reset();
        d.rowOf.bindInteger(1, rowid);
        if (d.rowOf.step() && (!check || containsFolded(d.rowOf.columnUtf8(2), needle))) {
            const QByteArrayView title = d.rowOf.columnUtf8(0);
            extras.push_back({QByteArray(title.data(), title.size()), d.rowOf.columnInt(1), rowid});
        }
        d.rowOf.reset();
    };

    d.connection.inTransaction(Connection::TransactionKind::Read, [&] {
        if (!isInstalled(d.connection)) {
            // A store whose index is not made yet: every line is read.
            SqliteStatement all(d.connection, QStringLiteral("select rowid from 文本"));
            while (all.step())
                readRow(all.columnInt(0), true);
        } else {
            d.refresh(true);
            const std::vector<qint64> pending = d.pending();
            std::vector<qint64> stale;
            std::set_union(d.changed.begin(), d.changed.end(), pending.begin(), pending.end(),
                           std::back_inserter(stale));
            std::vector<qint64> base = d.candidates(keys, 0, d.baseSegments);
            subtract(base, stale);
            r.entries.reserve(base.size());
            size_t run = 0;
            for (const qint64 rowid : base) {
                while (run < d.runs.size() && d.runs[run].first + d.runs[run].count <= rowid)
                    ++run;
                if (run == d.runs.size() || d.runs[run].first > rowid) {
                    readRow(rowid, verify);  // not in a run: an index out of step, read it
                    continue;
                }
                if (verify) {
                    d.lineOf.reset();
                    d.lineOf.bindInteger(1, rowid);
                    const bool holds = d.lineOf.step() && containsFolded(d.lineOf.columnUtf8(0), needle);
                    d.lineOf.reset();
                    if (!holds)
                        continue;
                }
                const Run& found = d.runs[run];
                r.entries.push_back({found.title, found.firstLine + (rowid - found.first), rowid});
            }
            std::vector<qint64> delta = d.candidates(keys, kFirstDeltaSegment, d.deltaSegments);
            subtract(delta, pending);
            for (const qint64 rowid : delta)
                readRow(rowid, verify);
            for (const qint64 rowid : pending)
                readRow(rowid, true);
        }
    });
    // The titles found take their places in the title list's order. A title of a row read
    // directly that equals a base title is that title; sort keys are made only for titles not
    // sorted before.
    constexpr quint32 kNone = ~quint32(0);
    std::vector<quint32> foundOfBase(d.titles.size(), kNone);
    std::vector<Title*> found;
    std::vector<Title> extraTitles;
    std::unordered_map<std::string, quint32> foundOfExtra;
    std::vector<quint32> foundOfEntry;
    foundOfEntry.reserve(r.entries.size() + extras.size());
    const auto foundBase = [&](quint32 base) {
        if (foundOfBase[base] == kNone) {
            foundOfBase[base] = quint32(found.size());
            found.push_back(&d.titles[base]);
        }
        return foundOfBase[base];
    };
    for (const Result::Impl::Entry& entry : r.entries)
        foundOfEntry.push_back(foundBase(entry.title));
    extraTitles.reserve(extras.size());
    for (const Extra& extra : extras) {
        const std::string utf8 = extra.title.toStdString();
        if (const auto base = d.titleIndex.find(utf8); base != d.titleIndex.end()) {
            foundOfEntry.push_back(foundBase(base->second));
            continue;
        }
        const auto [place, added] = foundOfExtra.try_emplace(utf8, quint32(found.size()));
        if (added) {
            extraTitles.push_back({extra.title, {}, {}, false});
            found.push_back(&extraTitles.back());
        }
        foundOfEntry.push_back(place->second);
    }
    std::vector<QString> unsorted;
    for (Title* title : found)
        if (!title->ready)
            unsorted.push_back(title->text = QString::fromUtf8(title->utf8));
    const std::vector<QByteArray> newKeys = sortKeysOf(unsorted);
    auto key = newKeys.begin();
    for (Title* title : found)
        if (!title->ready) {
            title->key = *key++;
            title->ready = true;
        }
    std::vector<quint32> order(found.size());
    for (quint32 i = 0; i < order.size(); ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(), [&](quint32 a, quint32 b) {
        return titleLess(viewOf(found[a]->key), viewOf(found[a]->utf8), viewOf(found[b]->key),
                         viewOf(found[b]->utf8));
    });
    std::vector<quint32> rank(found.size());
    r.titles.reserve(found.size());
    for (quint32 place = 0; place < order.size(); ++place) {
        rank[order[place]] = place;
        r.titles.push_back(found[order[place]]->text);
        r.titlesUtf8.push_back(found[order[place]]->utf8);
    }
    const size_t baseEntries = r.entries.size();
    for (size_t i = 0; i < baseEntries; ++i)
        r.entries[i].title = rank[foundOfEntry[i]];
    for (size_t i = 0; i < extras.size(); ++i)
        r.entries.push_back({rank[foundOfEntry[baseEntries + i]], extras[i].line, extras[i].rowid});
    r.sortFirst();
    return result;
}


namespace {

// Lines of matching rows read in rowid order, kept until all are read, with their titles. All of
// it lives in an arena of its own in huge pages (see HugePages.h): a result of a few megabytes
// would otherwise be written into a thousand pages touched for the first time, which costs more
// than reading its rows.
struct GatheredLines {
    struct Match {
        quint32 title;  // in titles
        qint64 line;
        qint64 rowid;
        size_t at;  // in lines
        size_t length;
    };

    GatheredLines() = default;
    GatheredLines(const GatheredLines&) = delete;
    GatheredLines& operator=(const GatheredLines&) = delete;

    HugePageArena arena{kGatheredArenaBytes};
    std::pmr::vector<Match> matches{&arena};
    std::pmr::string lines{&arena};
    // The title of each run of matches from one title, its bytes in the arena: a title whose
    // lines lie in several places stands here more than once.
    std::pmr::vector<std::string_view> titles{&arena};
    // The sort keys of the first titles one after another, and where each ends; see makeKeys.
    QByteArray keys;
    std::vector<qsizetype> keyEnds;
    bool tooLarge = false;  // more than byteLimit bytes of lines: the rest was not read

    // Reads rows [begin, end) (ascending) through rowOf (title, line number, line by rowid),
    // keeping those whose line holds the query; rows of unchecked, and every row when the query
    // must be verified, are matched here.
    void read(SqliteStatement& rowOf, const qint64* begin, const qint64* end,
              const std::vector<qint64>& unchecked, const ParsedQuery& query, size_t byteLimit)
    {
        matches.reserve(size_t(end - begin));
        // Room for the lines at once: growing the buffer as it fills would copy them again and
        // again. Room not written to costs no memory beyond its last page.
        lines.reserve(std::min(byteLimit, size_t(end - begin) * kRoomPerGatheredLine));
        for (const qint64* row = begin; row != end; ++row) {
            rowOf.reset();
            rowOf.bindInteger(1, *row);
            if (!rowOf.step())
                continue;
            const QByteArrayView line = rowOf.columnUtf8(2);
            if ((query.verify || contains(unchecked, *row)) && !containsFolded(line, query.needle))
                continue;
            if (lines.size() + size_t(line.size()) > byteLimit) {
                tooLarge = true;
                break;
            }
            // The lines of one entry follow each other: only a change of title is kept.
            const QByteArrayView column = rowOf.columnUtf8(0);
            const std::string_view title(column.data(), size_t(column.size()));
            if (titles.empty() || titles.back() != title)
                addTitle(title);
            matches.push_back({quint32(titles.size() - 1), rowOf.columnInt(1), *row, lines.size(),
                               size_t(line.size())});
            lines.append(line.data(), size_t(line.size()));
        }
        rowOf.reset();
    }

    std::string_view key(size_t title) const
    {
        const qsizetype begin = title == 0 ? 0 : keyEnds[title - 1];
        return std::string_view(keys.constData() + begin, size_t(keyEnds[title] - begin));
    }

    // Makes the sort keys of the titles that have none yet.
    void makeKeys()
    {
        if (keyEnds.size() == titles.size())
            return;
        std::vector<QString> texts;
        texts.reserve(titles.size() - keyEnds.size());
        for (size_t i = keyEnds.size(); i < titles.size(); ++i)
            texts.push_back(QString::fromUtf8(titles[i].data(), qsizetype(titles[i].size())));
        const std::vector<qsizetype> ends = appendChineseSortKeys(texts, keys);
        keyEnds.insert(keyEnds.end(), ends.begin(), ends.end());
    }

    void addTitle(std::string_view title)
    {
        char* bytes = static_cast<char*>(arena.allocate(title.size(), 1));
        std::copy(title.begin(), title.end(), bytes);
        titles.push_back(std::string_view(bytes, title.size()));
    }
};

// Rows that lie this close on average (rowids apart) share pages and blocks of pages: reading
// them in blocks saves most of the system's calls (one character's 19,629 rows of a million, 51
// apart: a quarter less time). Rows further apart would have a block read for one or two of its
// pages, which costs more than reading those pages (a Latin word's rows, 200 apart).
constexpr qint64 kCloseRowGap = 64;

bool rowsLieClose(const qint64* begin, const qint64* end)
{
    return end - begin >= 2 && end[-1] - begin[0] <= kCloseRowGap * (end - begin);
}

// Reads the store in blocks for its own length when asked to.
class BlockReadsWhile {
public:
    BlockReadsWhile(Connection& connection, bool on) : connection_(connection), on_(on)
    {
        if (on_)
            connection_.readInBlocks(true);
    }
    ~BlockReadsWhile()
    {
        if (on_)
            connection_.readInBlocks(false);
    }
    BlockReadsWhile(const BlockReadsWhile&) = delete;
    BlockReadsWhile& operator=(const BlockReadsWhile&) = delete;

private:
    Connection& connection_;
    const bool on_;
};

// Reads the rows of the second half of a result on a connection and a thread of their own while
// the caller reads the first half. The thread starts before the rows are known: it opens its
// connection and loads the collation while the caller finds them. The second connection must see
// what the first one sees: it starts its read while the first holds its read lock, which in a
// store with a rollback journal keeps every writer from committing in between. Neither reader
// ever waits for the other while a lock may be waited for: the second gives up at once when it
// would wait for a lock (a writer about to commit), and a caller done with its half before the
// second has begun takes the second half over; in both cases the caller reads it.
class SecondReader {
public:
    SecondReader(const QString& path, const std::vector<qint64>& unchecked, const ParsedQuery& query)
        : path_(path), unchecked_(unchecked), query_(query)
    {
        try {
            thread_ = std::thread([this] { work(); });
        } catch (const std::system_error&) {
            state_ = State::TakenOver;
        }
    }
    // Waits for the thread, which by then holds no lock that the caller's reads could need. Not
    // while the caller holds its read lock: the thread may be opening its connection, which
    // waits for a writer about to commit, which waits for the caller's lock.
    ~SecondReader()
    {
        cancel();
        if (thread_.joinable())
            thread_.join();
    }
    SecondReader(const SecondReader&) = delete;
    SecondReader& operator=(const SecondReader&) = delete;

    // Hands rows [begin, end) (ascending) over to be read; inside the caller's read transaction.
    void read(const qint64* begin, const qint64* end, size_t byteLimit)
    {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            begin_ = begin;
            end_ = end;
            byteLimit_ = byteLimit;
        }
        handedOver_.notify_one();
    }

    // Tells the thread that it gets no rows; it ends once its connection is open.
    void cancel()
    {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            cancelled_ = true;
        }
        handedOver_.notify_one();
    }

    // The lines read, or nothing when the caller must read the half itself.
    GatheredLines* finish()
    {
        State notBegun = State::NotBegun;
        if (state_.compare_exchange_strong(notBegun, State::TakenOver) || state_ == State::TakenOver)
            return nullptr;
        thread_.join();
        return failed_ ? nullptr : &lines_;
    }

private:
    enum class State { NotBegun, Reading, TakenOver };

    void work()
    {
        try {
            // Opening reads the store's header and its schema, which may wait for a writer's
            // lock: the caller is not waiting for this thread yet.
            Connection connection(path_, Connection::Mode::ReadOnly, Connection::Reads::InBlocksWhenAsked);
            connection.setBusyTime(0);
            const Connection::OnePassReads onePass(connection);
            connection.setPageCache(kGatherPageCacheKiB);
            SqliteStatement rowOf(connection, QStringLiteral("select 标题, 行数, 内容 from 文本 where rowid=?"));
            {
                std::unique_lock<std::mutex> lock(mutex_);
                // Loaded while the caller finds the rows, unless it has found them too few.
                if (!cancelled_) {
                    lock.unlock();
                    loadChineseCollation();
                    lock.lock();
                }
                handedOver_.wait(lock, [this] { return begin_ || cancelled_; });
                if (!begin_)
                    return;
            }
            State notBegun = State::NotBegun;
            if (!state_.compare_exchange_strong(notBegun, State::Reading))
                return;
            const BlockReadsWhile blocks(connection, rowsLieClose(begin_, end_));
            connection.inTransaction(Connection::TransactionKind::Read, [&] {
                lines_.read(rowOf, begin_, end_, unchecked_, query_, byteLimit_);
            });
            lines_.makeKeys();
        } catch (...) {
            failed_ = true;
        }
    }

    const QString path_;
    const std::vector<qint64>& unchecked_;
    const ParsedQuery& query_;
    std::mutex mutex_;
    std::condition_variable handedOver_;
    // Set under mutex_, by read() or cancel().
    const qint64* begin_ = nullptr;
    const qint64* end_ = nullptr;
    size_t byteLimit_ = 0;
    bool cancelled_ = false;
    GatheredLines lines_;
    std::atomic<State> state_{State::NotBegun};
    bool failed_ = false;  // read by the caller after the join
    std::thread thread_;
};

// Whether a second connection that starts reading now sees what connection sees: not so in a
// store with a write-ahead log, where a writer may commit while others read.
bool secondReaderSeesTheSame(const Connection& connection)
{
    SqliteStatement mode(connection, QStringLiteral("pragma journal_mode"));
    return mode.step() && mode.columnUtf8(0).compare("wal", Qt::CaseInsensitive) != 0;
}

} // namespace

qsizetype Searcher::visitAll(const QString& text, const Result::LineVisitor& visit)
{
    if (checkQuery(text) != QueryProblem::None)
        throw std::invalid_argument("empty full-text query");
    Impl& d = *impl_;
    const ParsedQuery query = parseQuery(text);
    // Declared before the second reader, which reads them until it ends.
    std::vector<qint64> rows, unchecked;
    std::optional<GatheredLines> gathered;
    GatheredLines& first = gathered.emplace();
    GatheredLines* second = nullptr;
    std::optional<SecondReader> secondReader(std::in_place, d.connection.path(), unchecked, query);
    bool tooLarge = false;
    const Connection::OnePassReads onePass(d.connection);
    // The rows are read in rowid order, so the cache needs to hold little beyond the path from
    // the table's root to the current row: each page taken into it is memory touched for the
    // first time, which costs more than the read.
    d.connection.setPageCache(kGatherPageCacheKiB);
    d.connection.inTransaction(Connection::TransactionKind::Read, [&] {
        // Rows the index gives (exact unless the query must be verified) and rows it cannot
        // vouch for, which are always matched; the two never share a row.
        std::vector<qint64> indexed;
        if (!isInstalled(d.connection)) {
            unchecked = rowidsOf(d.connection, QStringLiteral("select rowid from 文本 order by rowid"));
        } else {
            d.refresh(false);
            unchecked = d.pending();
            std::vector<qint64> stale;
            std::set_union(d.changed.begin(), d.changed.end(), unchecked.begin(), unchecked.end(),
                           std::back_inserter(stale));
            std::vector<qint64> base = d.candidates(query.keys, 0, d.baseSegments);
            subtract(base, stale);
            std::vector<qint64> delta = d.candidates(query.keys, kFirstDeltaSegment, d.deltaSegments);
            subtract(delta, unchecked);
            indexed = unionOf(std::move(base), delta);
        }
        rows = unionOf(std::move(indexed), unchecked);
        if (rows.size() > kGatheredRows) {
            tooLarge = true;
            return;
        }
        // Many rows are read by two connections at once, each half of them: most of the time
        // goes in waiting for the system to hand over each page.
        const qint64* const begin = rows.data();
        const qint64* const end = begin + rows.size();
        const qint64* middle = end;
        const bool byTwo = rows.size() >= kRowsReadByTwo && secondReaderSeesTheSame(d.connection);
        if (byTwo) {
            middle = begin + rows.size() / 2;
            secondReader->read(middle, end, kGatheredBytes / 2);
        } else {
            secondReader->cancel();
        }
        const BlockReadsWhile blocks(d.connection, rowsLieClose(begin, end));
        first.read(d.rowOf, begin, middle, unchecked, query, byTwo ? kGatheredBytes / 2 : kGatheredBytes);
        first.makeKeys();
        if (byTwo) {
            second = secondReader->finish();
            if (!second) {  // the second connection could not read: this one reads its half too
                first.read(d.rowOf, middle, end, unchecked, query, kGatheredBytes / 2);
                first.makeKeys();
            }
        }
        tooLarge = first.tooLarge || (second && second->tooLarge);
    });
    if (tooLarge) {
        // Too many lines to keep: the result's order first, then its lines a piece at a time.
        secondReader.reset();
        gathered.reset();
        const Result result = search(text);
        constexpr qsizetype kPiece = 4096;
        for (qsizetype from = 0; from < result.count(); from += kPiece)
            result.visitLines(from, std::min(kPiece, result.count() - from), visit);
        return result.count();
    }
    // The titles of both halves in the title list's order: the places of one title take one rank.
    struct TitleRef {
        std::string_view key;
        std::string_view text;
    };
    std::pmr::vector<TitleRef> titles(&first.arena);
    titles.reserve(first.titles.size() + (second ? second->titles.size() : 0));
    for (const GatheredLines* lines : {&first, second}) {
        if (!lines)
            continue;
        Q_ASSERT(lines->keyEnds.size() == lines->titles.size());
        for (size_t i = 0; i < lines->titles.size(); ++i)
            titles.push_back({lines->key(i), lines->titles[i]});
    }
    const size_t secondTitles = first.titles.size();  // where the second half's titles start
    std::pmr::vector<quint32> order(titles.size(), &first.arena);
    for (quint32 i = 0; i < order.size(); ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(), [&](quint32 a, quint32 b) {
        return titleLess(titles[a].key, titles[a].text, titles[b].key, titles[b].text);
    });
    std::pmr::vector<quint32> rank(titles.size(), &first.arena);
    for (size_t place = 0; place < order.size(); ++place) {
        const bool sameTitle = place > 0 && titles[order[place]].text == titles[order[place - 1]].text;
        rank[order[place]] = place == 0 ? 0 : rank[order[place - 1]] + (sameTitle ? 0 : 1);
    }
    // The matches by title, line and row. Each carries what the sort compares and where its line
    // is, so that sorting reads neighbouring memory only.
    struct Found {
        quint32 rank;
        quint32 title;  // in titles
        qint64 line;
        qint64 rowid;
        const char* text;
        size_t length;
        bool operator<(const Found& other) const
        {
            return std::tie(rank, line, rowid) < std::tie(other.rank, other.line, other.rowid);
        }
    };
    std::pmr::vector<Found> found(&first.arena);
    found.reserve(first.matches.size() + (second ? second->matches.size() : 0));
    for (const GatheredLines::Match& match : first.matches)
        found.push_back({rank[match.title], match.title, match.line, match.rowid, first.lines.data() + match.at,
                         match.length});
    if (second) {
        for (const GatheredLines::Match& match : second->matches) {
            const quint32 title = quint32(secondTitles + match.title);
            found.push_back({rank[title], title, match.line, match.rowid, second->lines.data() + match.at,
                             match.length});
        }
    }
    std::sort(found.begin(), found.end());
    // The lines lie in the order they were read: the ones a few matches ahead are fetched early.
    constexpr size_t kFetchedAhead = 8;
    for (size_t i = 0; i < found.size(); ++i) {
        if (i + kFetchedAhead < found.size())
            __builtin_prefetch(found[i + kFetchedAhead].text);
        const Found& f = found[i];
        const std::string_view title = titles[f.title].text;
        visit(QByteArrayView(title.data(), qsizetype(title.size())), f.line,
              QByteArrayView(f.text, qsizetype(f.length)));
    }
    return qsizetype(found.size());
}

} // namespace store::fulltext
