// The vignette: a white overlay whose alpha is the edge gradient, framed by an opaque line.
// Depends on the edge gradient and the game's random generator (its start state in the game).
#include "generate/edge_gradient.hpp"
#include "generate/generators.hpp"

using namespace gen;

namespace {
// Writes columns [x0, x1) of the vignette, drawing from `state` (the state before column x0).
void VignetteColumns(TPixmap& pix, int x0, int x1, int32_t state) {
    const int w = pix.width, h = pix.height;
    const std::vector<double> rows = RowOffsets(h);
    LocalRandom rng{state};
    for (float x = x0; x < x1; x += 1) {
        const double gx = CentreOffset(x, w);
        for (float y = 0; y < h; y += 1) {
            int a = EdgeGradient(gx, rows[ToInt(y)], rng);
            if (x == 0 || x == w - 1 || y == 0 || y == h - 1) a = 255;
            PutPixel(pix, ToInt(x), ToInt(y), Argb(a & 255, 0xFFFFFF));
        }
    }
}
}  // namespace

void create_vignette(Content& content, int w, int h) {
    content.vignette = CreateImage(w, h, 1, 11);
    content.vignette_pix = LockImage(content.vignette, 0, 1, 1);
}

void generate_vignette(Content& content, int threads) {
    TPixmap& pix = *content.vignette_pix;
    const int32_t start = RandomState();
    const uint64_t per_column = static_cast<uint64_t>(kGradientDraws) * pix.height;
    ForSlices(pix.width, threads, [&](int x0, int x1) {
        VignetteColumns(pix, x0, x1, RandomJump(start, per_column * x0));
    });
    // Leave the generator where drawing pixel by pixel would have left it.
    SeedRandom(RandomJump(start, per_column * pix.width));
    UnlockImage(content.vignette, 0);
}
