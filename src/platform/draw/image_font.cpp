// Bitmap fonts drawn glyph by glyph as image frames, and the built-in font made from its sheet.
#include "platform/draw/image_font.hpp"

#include "platform/draw/driver.hpp"

namespace {
constexpr int kGlyphs = 96, kGlyphW = 8, kGlyphH = 16;

// The 768 x 16 sheet as an RGBA32 pixmap: set bits opaque white, clear bits transparent.
PixmapPtr SheetPixmap(const uint8_t* sheet) {
    PixmapPtr p = CreatePixmap(kGlyphs * kGlyphW, kGlyphH, PIXFMT_RGBA32, 4);
    for (int r = 0; r < kGlyphH; ++r) {
        for (int j = 0; j < kGlyphs; ++j) {
            const uint8_t bits = sheet[r * kGlyphs + j];
            for (int k = 0; k < 8; ++k)
                p->WritePixel(8 * j + k, r, (bits >> k) & 1 ? 0xFFFFFFFFu : 0u);
        }
    }
    return p;
}
}  // namespace

int TImageFont::CharToGlyph(int c) const {
    const int g = c - first_char;
    return g >= 0 && g < int(glyphs.size()) ? g : -1;
}

void TImageFont::Draw(const std::string& text, float x, float y, float ix, float iy, float jx,
                      float jy) const {
    float pen_x = x, pen_y = y;
    // Bytes of multi-byte UTF-8 sequences are all >= 0x80 and are skipped like any unit the
    // font lacks, so only ASCII is drawn.
    for (unsigned char c : text) {
        const int g = CharToGlyph(c);
        if (g < 0) continue;
        const ImagePtr& image = glyphs[g];
        const float gx = offsets[g * 2], gy = offsets[g * 2 + 1];
        const FramePtr& f = image->Frame(0);
        const float w = float(image->width), h = float(image->height);
        if (f) {
            f->Draw(0, 0, w, h, float(pen_x + double(gx) * ix + double(gy) * iy),
                    float(pen_y + double(gx) * jx + double(gy) * jy), 0, 0, w, h);
        }
        pen_x = float(pen_x + double(advance) * ix);
        pen_y = float(pen_y + double(advance) * jx);
    }
}

std::shared_ptr<TImageFont> FontFromSheet(const uint8_t* sheet) {
    auto font = std::make_shared<TImageFont>();
    PixmapPtr pixmap = SheetPixmap(sheet);
    for (int i = 0; i < kGlyphs; ++i) {
        ImagePtr glyph = TImage::Create(kGlyphW, kGlyphH, 1, 0, 0, 0, 0);
        glyph->SetPixmap(0, pixmap->Window(i * kGlyphW, 0, kGlyphW, kGlyphH)->Copy());
        font->glyphs.push_back(glyph);
        font->offsets.push_back(0);
        font->offsets.push_back(0);
    }
    return font;
}

std::shared_ptr<TImageFont> BuiltinFont() {
    static std::shared_ptr<TImageFont> font = FontFromSheet(BuiltinFontSheet());
    return font;
}
