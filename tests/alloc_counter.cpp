// Counts heap allocations for the tests that a steady state allocates nothing. In the normal
// build operator new is replaced (every plain, array, sized and nothrow form, so that no block
// and its release go through different allocators); under AddressSanitizer, which brings its
// own operator new, the sanitizer's allocation hook counts instead.
#include "alloc_counter.hpp"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<bool> g_counting{false};
std::atomic<std::size_t> g_count{0};

void Count() {
    if (g_counting.load(std::memory_order_relaxed)) g_count.fetch_add(1, std::memory_order_relaxed);
}
}  // namespace

#if defined(__SANITIZE_ADDRESS__)
// From the sanitizer runtime (GCC installs no header for it).
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*malloc_hook)(const volatile void*,
                                                                             std::size_t),
                                                         void (*free_hook)(const volatile void*));
namespace {
void CountMalloc(const volatile void*, std::size_t) {
    Count();
}
void IgnoreFree(const volatile void*) {}

bool InstallCounter() {
    static const bool installed =
        __sanitizer_install_malloc_and_free_hooks(CountMalloc, IgnoreFree) != 0;
    return installed;
}
}  // namespace
#else
namespace {
bool InstallCounter() {
    return true;
}
void* Allocate(std::size_t size) noexcept {
    Count();
    return std::malloc(size == 0 ? 1 : size);
}
void* AllocateOrThrow(std::size_t size) {
    void* p = Allocate(size);
    if (!p) throw std::bad_alloc();
    return p;
}
}  // namespace

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
#endif

bool StartCountingAllocations() {
    g_count = 0;
    g_counting = true;
    return InstallCounter();
}

std::size_t StopCountingAllocations() {
    g_counting = false;
    return g_count;
}
