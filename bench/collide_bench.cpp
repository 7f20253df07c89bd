// Cost of the collision layers: the overlap test of two 40 x 40 dome sprites (a hit, a near
// miss that walks every shared scanline, turned and not, and a pair the boxes reject) and a
// game-like pass that clears the layers and tests and writes 10 or 100 sprites.
#include <benchmark/benchmark.h>

#include <cmath>

#include "platform/collide/collide.hpp"

namespace {
constexpr int kSide = 40;

// A dome: alpha falls from 255 in the middle to 0 at the rim; solid within about 17 pixels.
ImagePtr Dome() {
    ImagePtr image = TImage::Create(kSide, kSide, 1, 0, 0, 0, 0);
    PixmapPtr p = image->Lock(0, 1, 1);
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            const double dx = (x + 0.5 - kSide / 2) / (kSide / 2);
            const double dy = (y + 0.5 - kSide / 2) / (kSide / 2);
            const double h = 1 - dx * dx - dy * dy;
            const int alpha = h > 0 ? int(255 * std::sqrt(h)) : 0;
            WritePixel(p, x, y, uint32_t(alpha) << 24 | 0x808080u);
        }
    }
    image->handle_x = image->handle_y = kSide / 2;
    return image;
}

// The quad of a dome centred on (cx, cy), turned by `degrees`.
TQuad DomeQuad(const ImagePtr& dome, double cx, double cy, double degrees) {
    const double s = std::sin(degrees * kDegToRad), c = std::cos(degrees * kDegToRad);
    const double h = kSide / 2;
    float xy[8];
    const double corners[4][2] = {{-h, -h}, {h, -h}, {h, h}, {-h, h}};
    for (int k = 0; k < 4; ++k) {
        xy[2 * k] = float(cx + corners[k][0] * c - corners[k][1] * s);
        xy[2 * k + 1] = float(cy + corners[k][0] * s + corners[k][1] * c);
    }
    TQuad q;
    q.SetCoords(xy[0], xy[1], xy[2], xy[3], xy[4], xy[5], xy[6], xy[7]);
    q.mask = dome->Lock(0, 1, 0);
    return q;
}

// Args: offset of the second dome (dx, dy) and the turn of both in degrees.
void BM_QuadsOverlap(benchmark::State& state) {
    const ImagePtr dome = Dome();
    const double turn = double(state.range(2));
    const TQuad a = DomeQuad(dome, 100, 100, turn);
    const TQuad b = DomeQuad(dome, 100 + state.range(0), 100 + state.range(1), -turn);
    bool hit = false;
    for (auto _ : state)
        benchmark::DoNotOptimize(hit = QuadsOverlap(a, b));
    state.SetLabel(hit ? "hit" : "miss");
}
BENCHMARK(BM_QuadsOverlap)
    ->ArgNames({"dx", "dy", "turn"})
    ->Args({25, 10, 0})   // overlapping domes
    ->Args({25, 10, 30})  // the same, turned
    ->Args({34, 34, 0})   // boxes overlap, domes do not: every shared scanline is walked
    ->Args({30, 30, 30})  // near miss, turned
    ->Args({100, 0, 0});  // rejected by the boxes

// One pass as the game makes it: clear every layer, then each sprite tests against layer 0
// and writes itself there. The sprites stand 30 pixels apart, so neighbours touch.
void BM_OverlapImagePass(benchmark::State& state) {
    const ImagePtr dome = Dome();
    const int count = int(state.range(0));
    std::vector<TCollisionId> ids, hits;
    for (int i = 0; i < count; ++i)
        ids.push_back(std::make_shared<int>(i));
    int found = 0;
    for (auto _ : state) {
        ClearCollisionLayers(0);
        found = 0;
        for (int i = 0; i < count; ++i) {
            SetRotation(float(i * 37 % 360));
            found += OverlapImage(dome, 30 * (i % 10), 30 * (i / 10), 0, 1, 1, ids[i], &hits);
        }
    }
    SetRotation(0);
    ClearCollisionLayers(0);
    state.counters["hits"] = found;
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_OverlapImagePass)->Arg(10)->Arg(100);
}  // namespace

BENCHMARK_MAIN();
