#include "HugePages.h"

#include <cassert>
#include <cstdint>
#include <sys/mman.h>

namespace store {

namespace {

constexpr size_t kHugePage = size_t(2) << 20;

} // namespace

HugePageMapping mapHugePages(size_t bytes, size_t headroom)
{
    // Whole huge pages from half of one up: the kernel backs a huge page only where all of it
    // lies in the advised range, so a picture of 1.5 MiB would otherwise get none. Less than
    // half is left in small pages rather than doubled.
    if (bytes >= kHugePage / 2)
        bytes = (bytes + kHugePage - 1) & ~(kHugePage - 1);
    const size_t length = bytes + headroom + kHugePage;
    void* base = mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (base == MAP_FAILED)
        return {};
    const auto first = reinterpret_cast<uintptr_t>(base) + headroom;
    char* start = reinterpret_cast<char*>((first + kHugePage - 1) & ~(kHugePage - 1));
#ifdef MADV_HUGEPAGE
    // Refused where the kernel has no huge pages: the memory is then in small pages.
    (void)madvise(start, bytes, MADV_HUGEPAGE);
#endif
    return {base, length, start};
}

void unmap(const HugePageMapping& mapping)
{
    if (mapping.base) {
        [[maybe_unused]] const int result = munmap(mapping.base, mapping.length);
        assert(result == 0);
    }
}

HugePageArena::HugePageArena(size_t capacity) : mapping_(mapHugePages(capacity))
{
    if (mapping_.base)
        capacity_ = capacity;
}

HugePageArena::~HugePageArena()
{
    unmap(mapping_);
}

void* HugePageArena::do_allocate(size_t bytes, size_t alignment)
{
    const size_t at = (used_ + alignment - 1) & ~(alignment - 1);
    if (capacity_ > 0 && at <= capacity_ && bytes <= capacity_ - at) {
        used_ = at + bytes;
        return mapping_.start + at;
    }
    return std::pmr::new_delete_resource()->allocate(bytes, alignment);
}

void HugePageArena::do_deallocate(void* block, size_t bytes, size_t alignment)
{
    if (!holds(block))
        std::pmr::new_delete_resource()->deallocate(block, bytes, alignment);
}

bool HugePageArena::do_is_equal(const std::pmr::memory_resource& other) const noexcept
{
    return this == &other;
}

bool HugePageArena::holds(const void* block) const
{
    // Up to the end itself, where an empty block may have been handed out; the mapping goes on
    // beyond it, so no heap block lies there.
    const char* at = static_cast<const char*>(block);
    return capacity_ > 0 && at >= mapping_.start && at <= mapping_.start + capacity_;
}

} // namespace store
