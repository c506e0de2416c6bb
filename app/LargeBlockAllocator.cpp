#include "app/LargeBlockAllocator.h"

#include <cstdint>

// Under the address sanitizer every block comes from the heap, where overruns are caught.
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define MORVANE_SANITIZED_HEAP 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define MORVANE_SANITIZED_HEAP 1
#endif

#if defined(__linux__) && !defined(MORVANE_SANITIZED_HEAP)
#include <sys/mman.h>
#define MORVANE_LARGE_PAGES 1
#else
#define MORVANE_LARGE_PAGES 0
#endif

namespace large_blocks {

#if MORVANE_LARGE_PAGES
namespace {

constexpr std::size_t kPage = std::size_t{2} << 20;

constexpr std::size_t WholePages(std::size_t bytes) { return (bytes + kPage - 1) / kPage * kPage; }

// Maps whole large pages at a large-page boundary: one page more is mapped, and what lies outside
// the aligned span is unmapped again.
void* MapAligned(std::size_t span) {
    const std::size_t mapped = span + kPage;
    void* start = ::mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (start == MAP_FAILED)
        return nullptr;
    const auto first = reinterpret_cast<std::uintptr_t>(start);
    const std::uintptr_t aligned = (first + kPage - 1) / kPage * kPage;
    if (aligned > first)
        ::munmap(start, aligned - first);
    const std::uintptr_t end = first + mapped;
    if (end > aligned + span)
        ::munmap(reinterpret_cast<void*>(aligned + span), end - (aligned + span));
    void* block = reinterpret_cast<void*>(aligned);
    // Advice only: where the system keeps no large pages the block works in small ones.
    ::madvise(block, span, MADV_HUGEPAGE);
    return block;
}

} // namespace
#endif

void* Allocate(std::size_t bytes) {
#if MORVANE_LARGE_PAGES
    if (bytes >= kLargeBlockBytes) {
        void* block = MapAligned(WholePages(bytes));
        if (block == nullptr)
            throw std::bad_alloc();
        return block;
    }
#endif
    return ::operator new(bytes);
}

void Release(void* block, [[maybe_unused]] std::size_t bytes) noexcept {
    if (block == nullptr)
        return;
#if MORVANE_LARGE_PAGES
    if (bytes >= kLargeBlockBytes) {
        ::munmap(block, WholePages(bytes));
        return;
    }
#endif
    ::operator delete(block);
}

} // namespace large_blocks
