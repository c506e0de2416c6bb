#pragma once

#include <cstddef>
#include <new>
#include <type_traits>

// Memory for the per-interview vectors and answer matrices (megabytes each on a large survey).
// A block of at least kLargeBlockBytes is mapped on its own, aligned and sized to whole 2 MB
// pages and offered to the system's transparent huge pages, so that first touching it costs a few
// page faults instead of one per 4 KB page: on a virtual machine a fresh weight vector of
// 1,000,000 interviews took 40 ms to fault in, page by page, against 1 ms in large pages. Smaller
// blocks come from the ordinary heap. The blocks are handed out uninitialised, as std::allocator's.
namespace large_blocks {

inline constexpr std::size_t kLargeBlockBytes = std::size_t{1} << 20;

// A block of `bytes` bytes; throws std::bad_alloc when the system has no room.
void* Allocate(std::size_t bytes);
// Gives back a block that Allocate returned for the same byte count.
void Release(void* block, std::size_t bytes) noexcept;

} // namespace large_blocks

template <class T> class LargeBlockAllocator {
public:
    using value_type = T;
    using is_always_equal = std::true_type;

    LargeBlockAllocator() = default;
    template <class U> LargeBlockAllocator(const LargeBlockAllocator<U>&) noexcept {}

    T* allocate(std::size_t n) {
        if (n > static_cast<std::size_t>(-1) / sizeof(T))
            throw std::bad_array_new_length();
        return static_cast<T*>(large_blocks::Allocate(n * sizeof(T)));
    }
    void deallocate(T* block, std::size_t n) noexcept { large_blocks::Release(block, n * sizeof(T)); }

    template <class U> bool operator==(const LargeBlockAllocator<U>&) const noexcept { return true; }
};
