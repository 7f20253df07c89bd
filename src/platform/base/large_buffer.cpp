// Large blocks come 2 MiB-aligned with a huge-page hint; small ones from malloc.
#include "platform/base/large_buffer.hpp"

#include <sys/mman.h>

#include <cstdlib>
#include <new>

namespace {
constexpr std::size_t kHugePage = std::size_t{2} << 20;
// Below this a huge page would mostly hold nothing.
constexpr std::size_t kHugeThreshold = kHugePage / 2;
}  // namespace

void* AllocateLarge(std::size_t bytes) {
    if (bytes == 0) bytes = 1;
    if (bytes < kHugeThreshold) {
        void* memory = std::malloc(bytes);
        if (!memory) throw std::bad_alloc();
        return memory;
    }
    const std::size_t size = (bytes + kHugePage - 1) / kHugePage * kHugePage;
    void* memory = std::aligned_alloc(kHugePage, size);
    if (!memory) throw std::bad_alloc();
    // Only a hint: where the system has no huge pages the block is an ordinary one.
    madvise(memory, size, MADV_HUGEPAGE);
    return memory;
}

void FreeLarge(void* memory) noexcept {
    std::free(memory);
}
