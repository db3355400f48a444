// The huge-page arena hands out aligned memory from its mapping and, past its capacity, from the
// heap; a container that outgrows the mapping keeps its elements.
#include "store/HugePages.h"
#include "store/Sqlite.h"

#include <QTemporaryDir>
#include <sqlite3.h>

#include <algorithm>
#include <cstdint>
#include <gtest/gtest.h>
#include <numeric>
#include <vector>

namespace {

bool aligned(const void* block, size_t alignment)
{
    return reinterpret_cast<uintptr_t>(block) % alignment == 0;
}

// The bytes asked for, with the headroom before them, lie inside the mapping from a 2 MiB
// boundary on, and all of them can be written, sizes around the point where whole huge pages
// are taken included.
TEST(HugePageMapping, HoldsTheBytesAndTheHeadroomFromAHugePageBoundary)
{
    constexpr size_t kMiB = size_t(1) << 20;
    for (const size_t bytes : {size_t(1), kMiB - 1, kMiB, kMiB + kMiB / 2, 2 * kMiB, 3 * kMiB + 5}) {
        const store::HugePageMapping mapping = store::mapHugePages(bytes, 64);
        ASSERT_NE(mapping.base, nullptr) << bytes;
        const char* base = static_cast<const char*>(mapping.base);
        EXPECT_TRUE(aligned(mapping.start, 2 * kMiB)) << bytes;
        EXPECT_GE(mapping.start - 64, base) << bytes;
        EXPECT_LE(mapping.start + bytes, base + mapping.length) << bytes;
        std::fill(mapping.start - 64, mapping.start + bytes, char(7));
        store::unmap(mapping);
    }
}

TEST(HugePageArena, AllocatesAlignedInOrderThenFromTheHeapPastItsCapacity)
{
    store::HugePageArena arena(4096);
    void* first = arena.allocate(3, 1);
    void* second = arena.allocate(64, 64);
    EXPECT_TRUE(aligned(second, 64));
    EXPECT_GE(static_cast<char*>(second), static_cast<char*>(first) + 3);
    EXPECT_LT(static_cast<char*>(second) - static_cast<char*>(first), 128);
    // More than is left: from the heap, and given back there.
    void* large = arena.allocate(8192, 16);
    ASSERT_NE(large, nullptr);
    EXPECT_TRUE(aligned(large, 16));
    EXPECT_TRUE(large < first || large >= static_cast<char*>(first) + 4096);
    arena.deallocate(large, 8192, 16);
    arena.deallocate(second, 64, 64);
    arena.deallocate(first, 3, 1);
    // An empty block at the very end is the arena's too.
    void* rest = arena.allocate(4096 - 128, 1);
    void* empty = arena.allocate(0, 1);
    arena.deallocate(empty, 0, 1);
    arena.deallocate(rest, 4096 - 128, 1);
}

TEST(HugePageArena, AContainerKeepsItsElementsWhenItOutgrowsTheMapping)
{
    store::HugePageArena arena(size_t(1) << 16);
    std::pmr::vector<int> numbers(&arena);
    for (int i = 0; i < 100000; ++i)
        numbers.push_back(i);
    std::vector<int> expected(100000);
    std::iota(expected.begin(), expected.end(), 0);
    EXPECT_TRUE(std::equal(numbers.begin(), numbers.end(), expected.begin(), expected.end()));
}

// The page-cache room in huge pages is for processes that read each page once: once it fills,
// the engine recycles pages whatever cache size was asked for. A connection of the program (of
// this test's process, which never asks for the room) keeps what it reads up to its cache size.
TEST(EnginePageCache, AConnectionKeepsEveryPageItReadUpToItsCacheSize)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("cache.mdb"));
    {
        store::Connection made(path, store::Connection::Mode::CreateNew);
        made.exec(QStringLiteral("create table t(b blob); insert into t select randomblob(3000) from "
                                 "(with recursive c(x) as (select 1 union all select x + 1 from c "
                                 "where x < 3000) select x from c)"));
    }
    store::Connection reader(path, store::Connection::Mode::ReadOnly);
    reader.setMemoryMap(0);
    reader.setPageCache(65536);
    reader.exec(QStringLiteral("select sum(length(b)) from t"));
    int used = 0, highest = 0;
    ASSERT_EQ(sqlite3_db_status(reader.handle(), SQLITE_DBSTATUS_CACHE_USED, &used, &highest, 0), SQLITE_OK);
    EXPECT_GT(used, 8 << 20);  // about 3,000 pages of 4 KiB were read
}

} // namespace
