// The test of one scanline of the walk: the overlap of two spans, a scratch row marked by each
// polygon's solid pixels, and the texel lookup in a polygon's mask. Depends on numbers.hpp.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/base/numbers.hpp"
#include "platform/collide/detail/scan_walk.hpp"

namespace collide_detail {
namespace {

// The overlap is marked in pieces of this many pixels, so the scratch row stays small however
// wide a span is; a pixel's outcome does not depend on the piece it falls in.
constexpr int64_t kPiece = 1024;

enum class Fill { kSolid, kEmpty, kMask };

// The pixels of one polygon along the overlap, left to right.
struct TSpanSampler {
    Fill fill = Fill::kEmpty;
    const uint8_t* pixels = nullptr;
    int width = 0, height = 0, pitch = 0, bpp = 0;
    double u = 0, v = 0, du = 0, dv = 0;  // exact sums of the float span ends

    void Start(const TRPoly& p, int64_t start);
    // Whether the current pixel is solid; then moves one pixel right.
    bool Next();
};

// The byte of a pixel that holds its alpha. Its top bit is bit 31 of a 32-bit texel of either
// four-byte format; reading the byte rather than a 32-bit word keeps a one-byte alpha mask
// inside its memory.
int AlphaOffset(int format) {
    return format == PIXFMT_A8 ? 0 : 3;
}

void TSpanSampler::Start(const TRPoly& p, int64_t start) {
    const TPixmap* t = p.texture;
    if (!t || !FormatHasAlpha(t->format)) {
        fill = Fill::kSolid;
        return;
    }
    fill = Fill::kEmpty;
    const int64_t e = FloatToInt(p.ldat[0]), f = FloatToInt(p.rdat[0]);
    if (f - e < 1 || t->width < 1 || t->height < 1 || !t->pixels) return;
    fill = Fill::kMask;
    pixels = t->pixels + AlphaOffset(t->format);
    width = t->width, height = t->height, pitch = t->pitch, bpp = BytesPerPixel(t->format);
    const double span = double(f - e);
    du = (double{p.rdat[2]} - p.ldat[2]) / span;
    dv = (double{p.rdat[3]} - p.ldat[3]) / span;
    const double offset = double(start - e) + 0.5;
    u = p.ldat[2] + offset * du;
    v = p.ldat[3] + offset * dv;
}

// A texture coordinate clamped to 0..1; not a number counts as 0.
double Clamp01(double t) {
    if (!(t >= 0.0)) return 0.0;
    return t > 1.0 ? 1.0 : t;
}

bool TSpanSampler::Next() {
    const int col = std::min(FloatToInt(Clamp01(u) * width), width - 1);
    const int row = std::min(FloatToInt(Clamp01(v) * height), height - 1);
    u += du, v += dv;
    return (pixels[std::ptrdiff_t(row) * pitch + std::ptrdiff_t(col) * bpp] & 0x80) != 0;
}

// Marks the solid pixels of one polygon in `row`; true when one was marked already.
bool MarkPiece(TSpanSampler* s, int* row, int n) {
    if (s->fill == Fill::kEmpty) return false;
    for (int k = 0; k < n; ++k) {
        if (s->fill == Fill::kMask && !s->Next()) continue;
        if (row[k]) return true;
        row[k] = 1;
    }
    return false;
}

std::vector<int>& ScratchRow() {
    static std::vector<int> row(kPiece);
    return row;
}

}  // namespace

bool SpansOverlap(TRPoly* const* active, int count) {
    if (count < 2) return false;
    const TRPoly &p = *active[0], &q = *active[1];
    const int64_t start = std::max(FloatToInt(p.ldat[0]), FloatToInt(q.ldat[0]));
    const int64_t end = std::min(FloatToInt(p.rdat[0]), FloatToInt(q.rdat[0]));
    if (start >= end) return false;
    count = std::min(count, kMaxPolys);
    TSpanSampler samplers[kMaxPolys];
    for (int i = 0; i < count; ++i)
        samplers[i].Start(*active[i], start);
    int* row = ScratchRow().data();
    for (int64_t at = start; at < end; at += kPiece) {
        const int n = int(std::min(kPiece, end - at));
        std::fill(row, row + n, 0);
        for (int i = 0; i < count; ++i)
            if (MarkPiece(&samplers[i], row, n)) return true;
    }
    return false;
}

}  // namespace collide_detail
