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

// The stripe tests of one column. FMod(v, gap) < 4 for whole numbers is the integer
// remainder; it is remembered while the gap index stays the same (it changes every hundred
// pixels or so) because integer division would be the lattice's dearest step.
class ColumnStripes {
  public:
    ColumnStripes(float x, const std::vector<int>& gaps) : x_(x), gaps_(gaps) {}

    // Reduces `a` when (x, y) lies on a vertical stripe, then again on a horizontal one.
    int Cut(int a, float y) {
        const int k1 = ToInt(Wrap256(x_ * Single(0.02f) + y * Single(0.01f)));
        if (k1 != k1_) k1_ = k1, on1_ = ToInt(x_) % gaps_[k1] < 4;
        if (on1_) a = ToInt(a * Single(0.3f));
        const int k2 = ToInt(Wrap256(x_ * Single(0.01f) + y * Single(0.01f)));
        const int row = ToInt(y);
        if (k2 == k2_ && row == row_ + 1) {
            rem2_ = rem2_ + 1 == gaps_[k2] ? 0 : rem2_ + 1;
        } else {
            k2_ = k2, rem2_ = row % gaps_[k2];
        }
        row_ = row;
        if (rem2_ < 4) a = ToInt(a * Single(0.3f));
        return a;
    }

  private:
    float x_;
    const std::vector<int>& gaps_;
    int k1_ = -1, k2_ = -1, row_ = -2;
    bool on1_ = false;
    int rem2_ = 0;  // row % gaps_[k2_]
};

// Writes columns [x0, x1) of the lattice, drawing from `state` (the state before column x0).
void LatticeColumns(TPixmap& pix, const std::vector<int>& gaps, int x0, int x1, int32_t state) {
    const int w = pix.width, h = pix.height;
    const std::vector<double> rows = RowOffsets(h);
    LocalRandom rng{state};
    for (float x = x0; x < x1; x += 1) {
        const double gx = CentreOffset(x, w);
        ColumnStripes stripes(x, gaps);
        for (float y = 0; y < h; y += 1) {
            const int a = stripes.Cut(EdgeGradient(gx, rows[ToInt(y)], rng), y);
            PutPixel(pix, ToInt(x), ToInt(y), Argb(a & 255, 0xFFFFFF));
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
