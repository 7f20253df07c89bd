// Box blur: a horizontal pass into the scratch field, then a vertical pass back.
#include "generate/blur.hpp"

namespace {
// Maps a position outside 0 .. n-1 back inside: the start mirrors, the end repeats.
inline int MapEdge(int i, int n) {
    if (i < 0) return -i;
    if (i > n - 1) return n - 1;
    return i;
}

// Blurs `n` samples read from `src` at stride `step` into `dst` at the same stride.
void BlurLine(const float* src, float* dst, int n, int step, int radius) {
    const double divisor = 2 * radius + 1;
    double sum = 0;
    for (int j = -radius; j <= radius; ++j)
        sum += src[MapEdge(j, n) * step];
    dst[0] = static_cast<float>(sum / divisor);
    for (int i = 1; i < n; ++i) {
        sum += src[MapEdge(i + radius, n) * step];
        sum -= src[MapEdge(i - radius - 1, n) * step];
        dst[i * step] = static_cast<float>(sum / divisor);
    }
}
}  // namespace

int blur(int radius, float* field, float* scratch, int width, int height) {
    for (int y = 0; y < height; ++y) {
        BlurLine(field + y * width, scratch + y * width, width, 1, radius);
    }
    for (int x = 0; x < width; ++x)
        BlurLine(scratch + x, field + x, height, width, radius);
    return 0;
}
