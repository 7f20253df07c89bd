// Box blur: a horizontal pass into the scratch field, then a vertical pass back. Every line
// keeps its own running sum in double, added and subtracted in the same order whichever way
// the lines are grouped, so the threaded form gives the same floats.
#include "generate/blur.hpp"

#include "generate/generate_util.hpp"

namespace {
// Columns swept together by the vertical pass: their sums live on the stack.
constexpr int kColumnBlock = 64;

// Maps a position outside 0 .. n-1 back inside: the start mirrors, the end repeats.
inline int MapEdge(int i, int n) {
    if (i < 0) return -i;
    if (i > n - 1) return n - 1;
    return i;
}

// Rows blurred side by side by the horizontal pass: independent sums overlap their latency.
constexpr int kRowGroup = 8;

// Blurs rows [y0, y0 + count) of `src` into `dst`, one running sum per row.
void BlurRowGroup(const float* src, float* dst, int width, int radius, int y0, int count) {
    const double divisor = 2 * radius + 1;
    double sums[kRowGroup] = {};
    const float* s[kRowGroup];
    float* d[kRowGroup];
    for (int r = 0; r < count; ++r) {
        s[r] = src + static_cast<size_t>(y0 + r) * width;
        d[r] = dst + static_cast<size_t>(y0 + r) * width;
        for (int j = -radius; j <= radius; ++j)
            sums[r] += s[r][MapEdge(j, width)];
        d[r][0] = static_cast<float>(sums[r] / divisor);
    }
    for (int i = 1; i < width; ++i) {
        const int in = MapEdge(i + radius, width), out = MapEdge(i - radius - 1, width);
        for (int r = 0; r < count; ++r) {
            sums[r] += s[r][in];
            sums[r] -= s[r][out];
            d[r][i] = static_cast<float>(sums[r] / divisor);
        }
    }
}

// Blurs rows [y0, y1) of `src` into `dst`.
void BlurRows(const float* src, float* dst, int width, int radius, int y0, int y1) {
    for (int y = y0; y < y1; y += kRowGroup) {
        const int count = y1 - y < kRowGroup ? y1 - y : kRowGroup;
        BlurRowGroup(src, dst, width, radius, y, count);
    }
}

// Blurs columns [x0, x0 + count) of `src` into `dst`, sweeping the rows once for all of them.
void BlurColumnBlock(const float* src, float* dst, int width, int height, int radius, int x0,
                     int count) {
    const double divisor = 2 * radius + 1;
    double sums[kColumnBlock] = {};
    const auto row = [&](int y) { return src + static_cast<size_t>(y) * width + x0; };
    for (int j = -radius; j <= radius; ++j) {
        const float* s = row(MapEdge(j, height));
        for (int b = 0; b < count; ++b)
            sums[b] += s[b];
    }
    for (int b = 0; b < count; ++b)
        dst[x0 + b] = static_cast<float>(sums[b] / divisor);
    for (int i = 1; i < height; ++i) {
        const float* in = row(MapEdge(i + radius, height));
        const float* out = row(MapEdge(i - radius - 1, height));
        float* d = dst + static_cast<size_t>(i) * width + x0;
        for (int b = 0; b < count; ++b) {
            sums[b] += in[b];
            sums[b] -= out[b];
            d[b] = static_cast<float>(sums[b] / divisor);
        }
    }
}

// Blurs columns [x0, x1) of `src` into `dst`.
void BlurColumns(const float* src, float* dst, int width, int height, int radius, int x0, int x1) {
    for (int x = x0; x < x1; x += kColumnBlock) {
        const int count = x1 - x < kColumnBlock ? x1 - x : kColumnBlock;
        BlurColumnBlock(src, dst, width, height, radius, x, count);
    }
}
}  // namespace

int blur(int radius, float* field, float* scratch, int width, int height) {
    BlurRows(field, scratch, width, radius, 0, height);
    BlurColumns(scratch, field, width, height, radius, 0, width);
    return 0;
}

int blur_threads(int radius, float* field, float* scratch, int width, int height, int threads) {
    if (threads <= 1) return blur(radius, field, scratch, width, height);
    gen::ForSlices(height, threads,
                   [&](int y0, int y1) { BlurRows(field, scratch, width, radius, y0, y1); });
    gen::ForSlices(width, threads, [&](int x0, int x1) {
        BlurColumns(scratch, field, width, height, radius, x0, x1);
    });
    return 0;
}
