// Whole-pixmap operations: masking by a key colour and bilinear resampling.
// Depends only on pixmap.hpp and the numeric conventions.
#include <vector>

#include "platform/base/numbers.hpp"
#include "platform/draw/pixmap.hpp"

namespace {
// Average colour of the non-mask pixels in the 3 x 3 neighbourhood of (x, y); 0 when none.
uint32_t NeighbourAverage(const TPixmap& src, const std::vector<uint8_t>& is_mask, int x, int y) {
    int sum_r = 0, sum_g = 0, sum_b = 0, count = 0;
    for (int ny = y - 1; ny <= y + 1; ++ny) {
        for (int nx = x - 1; nx <= x + 1; ++nx) {
            if (nx < 0 || ny < 0 || nx >= src.width || ny >= src.height) continue;
            if (is_mask[size_t(ny) * src.width + nx]) continue;
            const uint8_t* p = src.PixelPtr(nx, ny);
            sum_r += p[0], sum_g += p[1], sum_b += p[2];
            ++count;
        }
    }
    if (count == 0) return 0;
    return uint32_t(sum_r / count) << 16 | uint32_t(sum_g / count) << 8 | uint32_t(sum_b / count);
}

// For each pixel of an RGBA32 pixmap, row by row: 1 where its colour is (r, g, b).
std::vector<uint8_t> MaskMap(const TPixmap& src, int r, int g, int b) {
    std::vector<uint8_t> is_mask(size_t(src.width) * size_t(src.height));
    for (int y = 0; y < src.height; ++y) {
        for (int x = 0; x < src.width; ++x) {
            const uint8_t* p = src.PixelPtr(x, y);
            is_mask[size_t(y) * src.width + x] = p[0] == r && p[1] == g && p[2] == b;
        }
    }
    return is_mask;
}

// One channel of `argb` (shift 0, 8, 16 or 24) as a float.
float Channel(uint32_t argb, int shift) {
    return float((argb >> shift) & 0xFF);
}

// Source sample position and weight of destination index `i` along one axis.
struct Tap {
    int lo, hi;
    float t;
};
Tap AxisTap(int i, int src_size, int dst_size) {
    const float pos = (float(i) + 0.5f) * (float(src_size) / float(dst_size)) - 0.5f;
    const int p0 = FloatToInt(Floor(pos));
    if (p0 < 0) return {0, 0, 0.0f};
    if (p0 >= src_size - 1) return {src_size - 1, src_size - 1, 0.0f};
    return {p0, p0 + 1, pos - float(p0)};
}

// Bilinear mix of four ARGB values, channel by channel, truncated.
uint32_t Mix4(uint32_t c00, uint32_t c10, uint32_t c01, uint32_t c11, float tx, float ty) {
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const float top = Channel(c00, shift) + (Channel(c10, shift) - Channel(c00, shift)) * tx;
        const float bottom = Channel(c01, shift) + (Channel(c11, shift) - Channel(c01, shift)) * tx;
        const float v = top + (bottom - top) * ty;
        out |= uint32_t(FloatToInt(v) & 0xFF) << shift;
    }
    return out;
}
}  // namespace

PixmapPtr MaskPixmap(const TPixmap& pixmap, int r, int g, int b) {
    PixmapPtr converted;
    const TPixmap* src = &pixmap;
    if (pixmap.format != PIXFMT_RGBA32) {
        converted = pixmap.Convert(PIXFMT_RGBA32);
        if (!converted) return nullptr;
        src = converted.get();
    }
    const int w = src->width, h = src->height;
    PixmapPtr out = CreatePixmap(w, h, PIXFMT_RGBA32, 4);
    if (!out) return nullptr;
    const std::vector<uint8_t> is_mask = MaskMap(*src, r, g, b);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const uint8_t* p = src->PixelPtr(x, y);
            const uint32_t argb = is_mask[size_t(y) * w + x]
                                      ? NeighbourAverage(*src, is_mask, x, y)
                                      : 0xFF000000u | p[0] << 16 | p[1] << 8 | p[2];
            out->WritePixel(x, y, argb);
        }
    }
    return out;
}

PixmapPtr ResizePixmap(const TPixmap& pixmap, int w, int h) {
    PixmapPtr out = CreatePixmap(w, h, pixmap.format, 4);
    if (!out || pixmap.width <= 0 || pixmap.height <= 0) return out;
    std::vector<Tap> cols(size_t(w > 0 ? w : 0));
    for (int j = 0; j < w; ++j)
        cols[j] = AxisTap(j, pixmap.width, w);
    for (int i = 0; i < h; ++i) {
        const Tap row = AxisTap(i, pixmap.height, h);
        for (int j = 0; j < w; ++j) {
            const Tap& col = cols[j];
            const uint32_t c = Mix4(
                pixmap.ReadPixel(col.lo, row.lo), pixmap.ReadPixel(col.hi, row.lo),
                pixmap.ReadPixel(col.lo, row.hi), pixmap.ReadPixel(col.hi, row.hi), col.t, row.t);
            out->WritePixel(j, i, c);
        }
    }
    return out;
}

int TextureSide(int n) {
    int side = 1;
    while (side < n && side < (1 << 30))
        side <<= 1;
    return side;
}

PixmapPtr SmearPixmap(const TPixmap& pixmap, int tw, int th) {
    PixmapPtr big = CreatePixmap(tw, th, PIXFMT_RGBA32, 4);
    if (!big) return nullptr;
    big->Paste(pixmap, 0, 0);
    const int w = pixmap.width, h = pixmap.height;
    if (w < tw) {
        for (int y = 0; y < h; ++y)
            big->WritePixel(w, y, big->ReadPixel(w - 1, y));
    }
    if (h < th) {
        for (int x = 0; x < w; ++x)
            big->WritePixel(x, h, big->ReadPixel(x, h - 1));
    }
    if (w < tw && h < th) big->WritePixel(w, h, big->ReadPixel(w - 1, h - 1));
    return big;
}
