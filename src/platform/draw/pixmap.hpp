// TPixmap: a CPU-side pixel buffer in one of six formats, with ARGB pixel access.
// Depends on nothing but the standard library.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/base/large_buffer.hpp"

enum PixelFormat : int {
    PIXFMT_I8 = 1,
    PIXFMT_A8 = 2,
    PIXFMT_BGR24 = 3,
    PIXFMT_RGB24 = 4,
    PIXFMT_BGRA32 = 5,
    PIXFMT_RGBA32 = 6,
};

// Largest pixel buffer a pixmap holds: its capacity, pitch and offsets are ints.
constexpr int64_t kMaxPixmapBytes = INT32_MAX;

// Bytes per pixel of `format` (0 for an unknown format).
int BytesPerPixel(int format);
// Whether `format` carries an alpha channel.
bool FormatHasAlpha(int format);

class TPixmap;
using PixmapPtr = std::shared_ptr<TPixmap>;

class TPixmap : public std::enable_shared_from_this<TPixmap> {
  public:
    uint8_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    int pitch = 0;
    int format = 0;
    int capacity = 0;               // bytes owned; -1 when the memory belongs to `_source`
    std::shared_ptr<void> _source;  // keeps borrowed memory alive

    ~TPixmap();

    // Address of pixel (x, y).
    uint8_t* PixelPtr(int x, int y) const {
        return pixels + ptrdiff_t{y} * pitch + ptrdiff_t{x} * BytesPerPixel(format);
    }
    // A w x h pixmap sharing this one's memory from (x, y).
    PixmapPtr Window(int x, int y, int w, int h);
    // A new pixmap (align 4) with the same pixels.
    PixmapPtr Copy() const;
    // Converts each row of `src` into this pixmap at (x, y + row); no clipping.
    void Paste(const TPixmap& src, int x, int y);
    // A new pixmap (align 4) holding these pixels in `new_format`.
    PixmapPtr Convert(int new_format) const;
    // The ARGB value of pixel (x, y).
    uint32_t ReadPixel(int x, int y) const;
    // Stores ARGB `argb` at (x, y) by the format's rules.
    void WritePixel(int x, int y, uint32_t argb);
    // Sets every pixel to `argb` (0 clears every byte).
    void ClearPixels(uint32_t argb);

    // A new w x h pixmap; pitch is the smallest multiple of `align` holding a row. The memory
    // is zeroed (transparent black), which the layer allows and which keeps runs repeatable.
    // Null when the buffer would exceed kMaxPixmapBytes or cannot be allocated.
    static PixmapPtr Create(int width, int height, int format, int align = 4);
    // A pixmap over memory owned elsewhere (capacity -1).
    static PixmapPtr CreateStatic(uint8_t* pixels, int width, int height, int pitch, int format);

  private:
    std::unique_ptr<uint8_t, FreeLargeDeleter> owned_;
    void CheckInside(int x, int y) const;
    void CheckRect(int x, int y, int w, int h) const;
};

// A new pixmap (TPixmap::Create); null when it cannot be made.
PixmapPtr CreatePixmap(int width, int height, int format, int align = 4);
// Pixel access through a pixmap that may be null (a lock whose pixmap could not be made):
// reading gives 0, writing does nothing.
inline uint32_t ReadPixel(const PixmapPtr& p, int x, int y) {
    return p ? p->ReadPixel(x, y) : 0;
}
inline void WritePixel(const PixmapPtr& p, int x, int y, uint32_t argb) {
    if (p) p->WritePixel(x, y, argb);
}

// A new RGBA32 pixmap: pixels of colour (r, g, b) become transparent and take the average
// colour of their non-mask neighbours; all others become opaque. Null when it cannot be made.
PixmapPtr MaskPixmap(const TPixmap& pixmap, int r, int g, int b);
// Bilinear resampling into a new w x h pixmap of the same format; null when it cannot be made.
PixmapPtr ResizePixmap(const TPixmap& pixmap, int w, int h);
// The smallest power of two at or above `n` (1 for n <= 1): a texture side.
int TextureSide(int n);
// A new RGBA32 pixmap of tw x th holding `pixmap` at (0, 0), its last column and row repeated
// once beyond it (and the corner pixel diagonally), so that filtering at the edge of the image
// samples only its own texels. The other extra pixels are zero and never sampled. Null when it
// cannot be made.
PixmapPtr SmearPixmap(const TPixmap& pixmap, int tw, int th);
