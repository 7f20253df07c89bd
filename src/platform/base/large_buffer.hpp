// Memory for screen-sized pixel buffers and float fields. Large blocks are aligned to 2 MiB
// and marked for transparent huge pages, so first touching a 1280 x 500 buffer costs a couple
// of page faults instead of several hundred (the generation phase is dominated by them).
#pragma once

#include <cstddef>
#include <memory>

// Uninitialised memory for `bytes` (at least one byte); release it with FreeLarge.
void* AllocateLarge(std::size_t bytes);
void FreeLarge(void* memory) noexcept;

struct FreeLargeDeleter {
    void operator()(void* memory) const noexcept { FreeLarge(memory); }
};

// A standard allocator over AllocateLarge, for vectors of field samples.
template <typename T>
struct LargeAllocator {
    using value_type = T;
    LargeAllocator() = default;
    template <typename U>
    LargeAllocator(const LargeAllocator<U>&) noexcept {}
    T* allocate(std::size_t n) { return static_cast<T*>(AllocateLarge(n * sizeof(T))); }
    void deallocate(T* p, std::size_t) noexcept { FreeLarge(p); }
    template <typename U>
    bool operator==(const LargeAllocator<U>&) const noexcept {
        return true;
    }
};
