// The lattice: the edge gradient cut by four-pixel stripes whose spacings come from
// `grid_gaps` and change in diagonal bands. Depends on the edge gradient and the generator.
#include "generate/edge_gradient.hpp"
#include "generate/generators.hpp"

using namespace gen;

namespace {
constexpr int kGridGaps = 256;

// FMod(v, 256): on a window-sized lattice v stays in [0, 256), where the remainder is v.
double Wrap256(double v) {
    return v >= 0 && v < 256 ? v : FMod(v, 256);
}

// FMod(v, gap) < 4 for a whole-number counter v >= 0: the remainder of whole numbers is exact,
// so the integer one gives the same answer.
bool OnStripe(float v, int gap) {
    return ToInt(v) % gap < 4;
}

// Reduces `a` when (x, y) lies on a vertical stripe, then again on a horizontal one.
int CutStripes(int a, float x, float y, const std::vector<int>& gaps) {
    const int k1 = ToInt(Wrap256(x * Single(0.02f) + y * Single(0.01f)));
    if (OnStripe(x, gaps[k1])) a = ToInt(a * Single(0.3f));
    const int k2 = ToInt(Wrap256(x * Single(0.01f) + y * Single(0.01f)));
    if (OnStripe(y, gaps[k2])) a = ToInt(a * Single(0.3f));
    return a;
}

// Writes columns [x0, x1) of the lattice, drawing from `state` (the state before column x0).
void LatticeColumns(TPixmap& pix, const std::vector<int>& gaps, int x0, int x1, int32_t state) {
    const int w = pix.width, h = pix.height;
    LocalRandom rng{state};
    for (float x = x0; x < x1; x += 1) {
        for (float y = 0; y < h; y += 1) {
            const int a = CutStripes(EdgeGradient(x, y, w, h, rng), x, y, gaps);
            pix.WritePixel(ToInt(x), ToInt(y), Argb(a & 255, 0xFFFFFF));
        }
    }
}
}  // namespace

void generate_lattice(Content& content, int w, int h, int threads) {
    content.grid_gaps.assign(kGridGaps, 0);
    for (int i = 0; i < kGridGaps; ++i)
        content.grid_gaps[i] = RandomInt(20, 512);
    content.backdrop = CreateImage(w, h, 1, 11);
    content.backdrop_pix = LockImage(content.backdrop, 0, 1, 1);
    TPixmap& pix = *content.backdrop_pix;
    const int32_t start = RandomState();
    const uint64_t per_column = static_cast<uint64_t>(kGradientDraws) * h;
    ForSlices(w, threads, [&](int x0, int x1) {
        LatticeColumns(pix, content.grid_gaps, x0, x1, RandomJump(start, per_column * x0));
    });
    SeedRandom(RandomJump(start, per_column * w));
    UnlockImage(content.backdrop, 0);
}
