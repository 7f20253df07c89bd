// Steady-state collision tests must not touch the heap: the layers recycle their quads and the
// walk reuses its scratch row. Allocations are counted by a replaced operator new in the normal
// build and by the sanitizer's allocation hook under AddressSanitizer (which brings its own
// operator new).
#include <atomic>
#include <cstdlib>
#include <new>

#include "collide_fixture.hpp"

#if defined(__SANITIZE_ADDRESS__)
// From the sanitizer runtime (GCC installs no header for it).
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*malloc_hook)(const volatile void*,
                                                                             std::size_t),
                                                         void (*free_hook)(const volatile void*));
#endif

namespace {
std::atomic<long> g_allocations{0};
}  // namespace

#if defined(__SANITIZE_ADDRESS__)
namespace {
void CountMalloc(const volatile void*, size_t) {
    g_allocations.fetch_add(1, std::memory_order_relaxed);
}
void IgnoreFree(const volatile void*) {}
// Installs the counting hook once; false when the runtime refuses it.
bool InstallCounter() {
    static const bool installed =
        __sanitizer_install_malloc_and_free_hooks(CountMalloc, IgnoreFree);
    return installed;
}
}  // namespace
#else
// The same as the library's own operator new and delete, which also sit on malloc and free,
// plus a count.
void* operator new(std::size_t size) {
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
namespace {
bool InstallCounter() {
    return true;
}
}  // namespace
#endif

namespace {
// One frame of a game-like pass: clear, then every object tests against the layer and writes
// itself into it, half of them turned; plus a pair of quads whose overlap is wider than the
// scratch row's pieces.
void Frame(const std::vector<ImagePtr>& images, const std::vector<TCollisionId>& ids,
           std::vector<TCollisionId>* hits, const TQuad& wide_a, const TQuad& wide_b, int* total) {
    ClearCollisionLayers(0);
    for (size_t i = 0; i < images.size(); ++i) {
        SetRotation(i % 2 ? 30.0f : 0.0f);
        *total += OverlapImage(images[i], int(i % 8) * 12, int(i / 8) * 12, 0, 1, 1, ids[i], hits);
    }
    SetRotation(0);
    *total += QuadsOverlap(wide_a, wide_b);
}

TEST_F(CollideTest, SteadyStateAllocatesNothing) {
    ASSERT_TRUE(InstallCounter());
    std::vector<ImagePtr> images;
    std::vector<TCollisionId> ids;
    for (int i = 0; i < 40; ++i) {
        images.push_back(MakeImage(16, 16, [](int x, int y) {
            return (x - 8) * (x - 8) + (y - 8) * (y - 8) < 60 ? 0xFFFFFFFFu : 0u;
        }));
        ids.push_back(Id(i));
    }
    TQuad wide_a, wide_b;  // 5000 pixels of clear overlap per scanline
    wide_a.SetCoords(0, 0, 5000, 0, 5000, 3, 0, 3);
    wide_b.SetCoords(0, 1, 5000, 1, 5000, 2, 0, 2);
    wide_b.mask = images[0]->Lock(0, 1, 0);
    wide_a.mask = MakeImage(2, 2, [](int, int) { return 0u; })->Lock(0, 1, 0);
    std::vector<TCollisionId> hits;
    int warm = 0, steady = 0;
    for (int pass = 0; pass < 3; ++pass)
        Frame(images, ids, &hits, wide_a, wide_b, &warm);
    const long before = g_allocations.load();
    for (int pass = 0; pass < 50; ++pass)
        Frame(images, ids, &hits, wide_a, wide_b, &steady);
    const long allocated = g_allocations.load() - before;
    EXPECT_EQ(allocated, 0);
    EXPECT_GT(warm, 0);  // the pass does find hits
    EXPECT_EQ(steady, warm / 3 * 50);
}
}  // namespace
