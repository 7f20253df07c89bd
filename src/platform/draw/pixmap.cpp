// Pixel buffers: creation, windows, format conversion and ARGB pixel access.
#include "platform/draw/pixmap.hpp"

#include <cassert>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {
// Reads pixel bytes at `p` in `format` as ARGB.
uint32_t ReadAt(const uint8_t* p, int format) {
    switch (format) {
        case PIXFMT_I8:
            return 0xFF000000u | p[0] << 16 | p[0] << 8 | p[0];
        case PIXFMT_A8:
            return uint32_t(p[0]) << 24 | 0x00FFFFFFu;
        case PIXFMT_BGR24:
            return 0xFF000000u | p[2] << 16 | p[1] << 8 | p[0];
        case PIXFMT_RGB24:
            return 0xFF000000u | p[0] << 16 | p[1] << 8 | p[2];
        case PIXFMT_BGRA32:
            return uint32_t(p[3]) << 24 | p[2] << 16 | p[1] << 8 | p[0];
        case PIXFMT_RGBA32:
            return uint32_t(p[3]) << 24 | p[0] << 16 | p[1] << 8 | p[2];
        default:
            return 0;
    }
}

// Writes ARGB `argb` as pixel bytes at `p` in `format`.
void WriteAt(uint8_t* p, int format, uint32_t argb) {
    const uint8_t a = argb >> 24, r = argb >> 16, g = argb >> 8, b = argb;
    switch (format) {
        case PIXFMT_I8:
            p[0] = uint8_t((r + g + b) / 3);
            break;
        case PIXFMT_A8:
            p[0] = a;
            break;
        case PIXFMT_BGR24:
            p[0] = b, p[1] = g, p[2] = r;
            break;
        case PIXFMT_RGB24:
            p[0] = r, p[1] = g, p[2] = b;
            break;
        case PIXFMT_BGRA32:
            p[0] = b, p[1] = g, p[2] = r, p[3] = a;
            break;
        case PIXFMT_RGBA32:
            p[0] = r, p[1] = g, p[2] = b, p[3] = a;
            break;
        default:
            break;
    }
}
}  // namespace

int BytesPerPixel(int format) {
    static constexpr int kBytes[] = {0, 1, 1, 3, 3, 4, 4};
    return format >= 1 && format <= 6 ? kBytes[format] : 0;
}

bool FormatHasAlpha(int format) {
    return format == PIXFMT_A8 || format == PIXFMT_BGRA32 || format == PIXFMT_RGBA32;
}

TPixmap::~TPixmap() = default;

void TPixmap::CheckInside([[maybe_unused]] int x, [[maybe_unused]] int y) const {
#ifdef ORB_CHECKED
    if (x < 0 || y < 0 || x >= width || y >= height) {
        std::fprintf(stderr, "pixel (%d, %d) outside a %d x %d pixmap\n", x, y, width, height);
        std::abort();
    }
#endif
}

void TPixmap::CheckRect([[maybe_unused]] int x, [[maybe_unused]] int y, [[maybe_unused]] int w,
                        [[maybe_unused]] int h) const {
#ifdef ORB_CHECKED
    if (w <= 0 || h <= 0) return;
    if (x < 0 || y < 0 || w > width - x || h > height - y) {
        std::fprintf(stderr, "rectangle (%d, %d, %d x %d) outside a %d x %d pixmap\n", x, y, w, h,
                     width, height);
        std::abort();
    }
#endif
}

PixmapPtr TPixmap::Create(int width, int height, int format, int align) {
    if (width < 0) width = 0;  // a negative size would wrap the allocation size
    if (height < 0) height = 0;
    if (align < 1) align = 1;
    // In 64 bits: a row or the whole buffer may not fit an int, and then the pitch, the
    // capacity and every PixelPtr offset could not be held either.
    const int64_t row = int64_t{width} * BytesPerPixel(format);
    const int64_t pitch = (row + align - 1) / align * align;
    const int64_t bytes = pitch * height;
    if (bytes > kMaxPixmapBytes) return nullptr;
    auto p = std::make_shared<TPixmap>();
    try {
        p->owned_.reset(static_cast<uint8_t*>(AllocateLarge(size_t(bytes > 0 ? bytes : 1))));
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    std::memset(p->owned_.get(), 0, size_t(bytes > 0 ? bytes : 1));
    p->pixels = p->owned_.get();
    p->width = width;
    p->height = height;
    p->format = format;
    p->pitch = int(pitch);
    p->capacity = int(bytes);
    return p;
}

PixmapPtr TPixmap::CreateStatic(uint8_t* pixels, int width, int height, int pitch, int format) {
    auto p = std::make_shared<TPixmap>();
    p->pixels = pixels;
    p->width = width;
    p->height = height;
    p->pitch = pitch;
    p->format = format;
    p->capacity = -1;
    return p;
}

PixmapPtr CreatePixmap(int width, int height, int format, int align) {
    return TPixmap::Create(width, height, format, align);
}

PixmapPtr TPixmap::Window(int x, int y, int w, int h) {
    CheckRect(x, y, w, h);
    auto p = CreateStatic(PixelPtr(x, y), w, h, pitch, format);
    p->_source = shared_from_this();  // the parent, and so its memory, outlives the window
    return p;
}

PixmapPtr TPixmap::Copy() const {
    auto p = Create(width, height, format, 4);
    if (!p) return nullptr;
    const int row = width * BytesPerPixel(format);
    for (int y = 0; y < height; ++y)
        std::memcpy(p->PixelPtr(0, y), PixelPtr(0, y), row);
    return p;
}

void TPixmap::Paste(const TPixmap& src, int x, int y) {
    CheckRect(x, y, src.width, src.height);
    if (src.format == format) {
        const int row = src.width * BytesPerPixel(format);
        for (int j = 0; j < src.height; ++j)
            std::memmove(PixelPtr(x, y + j), src.PixelPtr(0, j), row);
        return;
    }
    for (int j = 0; j < src.height; ++j) {
        for (int i = 0; i < src.width; ++i)
            WriteAt(PixelPtr(x + i, y + j), format, src.ReadPixel(i, j));
    }
}

PixmapPtr TPixmap::Convert(int new_format) const {
    auto p = Create(width, height, new_format, 4);
    if (p) p->Paste(*this, 0, 0);
    return p;
}

uint32_t TPixmap::ReadPixel(int x, int y) const {
    CheckInside(x, y);
    return ReadAt(PixelPtr(x, y), format);
}

void TPixmap::WritePixel(int x, int y, uint32_t argb) {
    CheckInside(x, y);
    WriteAt(PixelPtr(x, y), format, argb);
}

void TPixmap::ClearPixels(uint32_t argb) {
    const int bpp = BytesPerPixel(format);
    if (argb == 0) {
        for (int y = 0; y < height; ++y)
            std::memset(PixelPtr(0, y), 0, width * bpp);
        return;
    }
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            WriteAt(PixelPtr(x, y), format, argb);
    }
}
