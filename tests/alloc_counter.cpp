// Replacement operator new/delete (every plain, array, sized and nothrow form, so that no
// allocation and its release go through different allocators) with a counter for tests.
#include "alloc_counter.hpp"

#include <cstdlib>
#include <new>

namespace {
bool g_counting = false;
std::size_t g_count = 0;

void* Allocate(std::size_t size) noexcept {
    if (g_counting) ++g_count;
    return std::malloc(size == 0 ? 1 : size);
}
void* AllocateOrThrow(std::size_t size) {
    void* p = Allocate(size);
    if (!p) throw std::bad_alloc();
    return p;
}
}  // namespace

void StartCountingAllocations() {
    g_count = 0;
    g_counting = true;
}

std::size_t StopCountingAllocations() {
    g_counting = false;
    return g_count;
}

void* operator new(std::size_t size) {
    return AllocateOrThrow(size);
}
void* operator new[](std::size_t size) {
    return AllocateOrThrow(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
