// Memory in 2 MiB pages. Where the first touch of each 4 KiB page is costly (on virtual machines
// it costs several times a page's worth of work), a job that fills megabytes spends less on a few
// huge-page faults than on hundreds of small ones. The kernel gives huge pages only where they are
// asked for (madvise); where it gives none, the memory is the same in small pages.
#pragma once

#include <cstddef>
#include <memory_resource>

namespace store {

// A private anonymous mapping of at least bytes from a 2 MiB boundary, offered for huge pages:
// base and length are what munmap takes, start is where the bytes begin. Empty (base null) when
// the system has no such memory to give.
struct HugePageMapping {
    void* base = nullptr;
    size_t length = 0;
    char* start = nullptr;
};
HugePageMapping mapHugePages(size_t bytes, size_t headroom = 0);
void unmap(const HugePageMapping& mapping);

// Hands out memory for the many allocations of one job in order from one mapping, and gives it
// all back when the arena ends: freeing a block on its own does nothing. The mapping reserves
// address space only; memory is taken as it is first touched. Past its capacity, or when it cannot
// be mapped, allocations come from the heap.
class HugePageArena final : public std::pmr::memory_resource {
public:
    explicit HugePageArena(size_t capacity);
    ~HugePageArena() override;
    HugePageArena(const HugePageArena&) = delete;
    HugePageArena& operator=(const HugePageArena&) = delete;

private:
    void* do_allocate(size_t bytes, size_t alignment) override;
    void do_deallocate(void* block, size_t bytes, size_t alignment) override;
    bool do_is_equal(const std::pmr::memory_resource& other) const noexcept override;
    bool holds(const void* block) const;

    HugePageMapping mapping_;
    size_t capacity_ = 0;
    size_t used_ = 0;
};

} // namespace store
