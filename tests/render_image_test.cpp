// Images on a headless OpenGL context: texture frames (size, smear, lazy rebuild, re-upload),
// modulation, handles, capture of the presented frame with masking, and text.
#include <algorithm>
#include <cmath>
#include <iterator>

#include "platform/draw/detail/gl_driver.hpp"
#include "platform/draw/image.hpp"
#include "platform/draw/image_font.hpp"
#include "render_fixture.hpp"

namespace {
TGLFrameInfo Info(const ImagePtr& image) {
    TGLFrameInfo info{};
    EXPECT_TRUE(GLFrameInfo(image->frames[0], &info));
    return info;
}

ImagePtr FilledImage(int w, int h, uint32_t argb, int flags = 0) {
    auto image = CreateImage(w, h, 1, flags);
    LockImage(image, 0, 1, 1)->ClearPixels(argb);
    return image;
}

TEST_F(RenderTest, TextureIsEnlargedWithTheLastColumnAndRowRepeated) {
    auto image = CreateImage(600, 400, 1, 11);
    auto p = LockImage(image, 0, 1, 1);
    for (int y = 0; y < 400; ++y)
        p->WritePixel(599, y, 0xFF000000u | uint32_t(y));
    for (int x = 0; x < 600; ++x)
        p->WritePixel(x, 399, 0xFF000000u | uint32_t(x) << 8);
    ASSERT_NE(image->Frame(0), nullptr);
    const TGLFrameInfo info = Info(image);
    EXPECT_EQ(info.tex_w, 1024);
    EXPECT_EQ(info.tex_h, 512);
    EXPECT_EQ(info.u1, 600.0f / 1024);
    EXPECT_EQ(info.vscale, 1.0f / 512);
    auto tex = ReadGLFrameTexture(image->frames[0]);
    EXPECT_EQ(tex->ReadPixel(600, 123), 0xFF00007Bu);
    EXPECT_EQ(tex->ReadPixel(321, 400), 0xFF014100u);
    EXPECT_EQ(tex->ReadPixel(600, 400), p->ReadPixel(599, 399));
    EXPECT_EQ(tex->ReadPixel(17, 17), p->ReadPixel(17, 17));

    auto square = FilledImage(256, 256, 0xFF102030, 11);
    square->Frame(0);
    EXPECT_EQ(Info(square).u1, 1.0f);
    EXPECT_EQ(Info(square).v1, 1.0f);
}

TEST_F(RenderTest, TextureIsBuiltLazilyAndRebuiltAfterAWriteLock) {
    auto image = FilledImage(4, 4, 0xFFFF0000);
    EXPECT_EQ(image->frames[0], nullptr);
    DrawImage(image, 0, 0);
    FramePtr first = image->frames[0];
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(image->seqs[0], GraphicsGeneration());
    DrawImage(image, 4, 0);
    EXPECT_EQ(image->frames[0], first);  // no rebuild without a lock
    const GLuint name = Info(image).name;

    auto p = LockImage(image, 0, 1, 1);  // write lock: texture dropped
    EXPECT_EQ(image->frames[0], nullptr);
    EXPECT_EQ(image->seqs[0], 0);
    first.reset();
    p->ClearPixels(0xFF00FF00);
    DrawImage(image, 8, 0);
    EXPECT_EQ(Info(image).name, name);  // same size: uploaded into the same texture
    p->ClearPixels(0xFF0000FF);         // no lock: the texture keeps the green
    DrawImage(image, 12, 0);
    auto s = Screen();
    EXPECT_EQ(s->ReadPixel(1, 1), 0xFFFF0000u);
    EXPECT_EQ(s->ReadPixel(9, 1), 0xFF00FF00u);
    EXPECT_EQ(s->ReadPixel(13, 1), 0xFF00FF00u);

    image->SetPixmap(0, CreatePixmap(8, 8, PIXFMT_RGBA32));  // another size: a new texture
    image->Frame(0);
    EXPECT_EQ(Info(image).tex_w, 8);
}

TEST_F(RenderTest, TexelsAreModulatedByColourAndAlpha) {
    auto image = FilledImage(4, 4, 0x80C86432);  // alpha 128, (200, 100, 50)
    SetColor(255, 128, 0);
    DrawImage(image, 0, 0);
    EXPECT_EQ(Pixel(1, 1), 0xFFC83200u);  // solid: colour only, 100 * 128 / 255 rounds to 50
    SetBlend(BLEND_ALPHA);
    SetColor(255, 255, 255);
    Cls();
    DrawImage(image, 0, 0);
    EXPECT_NEAR(int(Pixel(1, 1) >> 16 & 0xFF), 200 * 128 / 255.0, 1.0);
}

// The mask mode passes from alpha 128/255, where alpha is texel alpha times vertex alpha.
TEST_F(RenderTest, MaskModeTestsTheModulatedAlphaAt128) {
    struct Case {
        int texel, vertex;
        bool drawn;
    };
    const Case cases[] = {
        {128, 255, true},  {127, 255, false}, {255, 128, true},
        {255, 127, false}, {136, 240, true},                      // 136 * 240 = 128 * 255 exactly
        {129, 253, false}, {137, 238, false}, {133, 245, false},  // 127.99, 127.87, 127.78
        {255, 255, true},  {0, 255, false}};
    SetBlend(BLEND_MASK);
    for (int i = 0; i < int(std::size(cases)); ++i) {
        const Case& c = cases[i];
        SetAlpha((float(c.vertex) + 0.5f) / 255);
        DrawImage(FilledImage(1, 1, uint32_t(c.texel) << 24 | 0xFFFFFF), float(i * 2), 0);
        SetAlpha(float(c.texel) * c.vertex / 255 / 255 + 0.5f / 255);  // untextured, one byte
        DrawRect(float(i * 2), 2, 1, 1);
    }
    auto s = Screen();
    for (int i = 0; i < int(std::size(cases)); ++i) {
        const uint32_t want = cases[i].drawn ? 0xFFFFFFFFu : 0xFF000000u;
        EXPECT_EQ(s->ReadPixel(i * 2, 0), want) << cases[i].texel << " x " << cases[i].vertex;
    }
    for (int i : {0, 1, 2, 3, 8, 9})  // single bytes: 128 passes, 127 does not
        EXPECT_EQ(s->ReadPixel(i * 2, 2), cases[i].drawn ? 0xFFFFFFFFu : 0xFF000000u) << i;
}

TEST_F(RenderTest, MissingFramesDrawNothingAndMidHandlesCentre) {
    auto image = FilledImage(4, 2, 0xFFFFFFFF);
    DrawImage(image, 0, 0, 1);
    DrawImage(image, 0, 0, -1);
    EXPECT_EQ(Lit(Screen()), 0);
    CentreImageHandle(*image);
    DrawImage(image, 10, 10);
    auto s = Screen();
    EXPECT_EQ(s->ReadPixel(8, 9), 0xFFFFFFFFu);
    EXPECT_EQ(s->ReadPixel(11, 10), 0xFFFFFFFFu);
    EXPECT_EQ(Lit(s), 8);
    SetRotation(90);  // turns about its centre
    Cls();
    DrawImage(image, 10, 10);
    s = Screen();
    EXPECT_EQ(s->ReadPixel(9, 8), 0xFFFFFFFFu);
    EXPECT_EQ(s->ReadPixel(10, 11), 0xFFFFFFFFu);
    EXPECT_EQ(Lit(s), 8);
}

TEST_F(RenderTest, FilteredImagesBlendNeighbouringTexels) {
    auto image = CreateImage(2, 1, 1, IMAGE_FILTERED);
    auto p = LockImage(image, 0, 1, 1);
    p->WritePixel(0, 0, 0xFF000000);
    p->WritePixel(1, 0, 0xFFFFFFFF);
    SetScale(4, 1);
    DrawImage(image, 0, 0);
    auto s = Screen();
    EXPECT_EQ(s->ReadPixel(0, 0), 0xFF000000u);
    EXPECT_EQ(s->ReadPixel(7, 0), 0xFFFFFFFFu);  // the smear keeps the edge white
    const int mid = s->ReadPixel(3, 0) & 0xFF;
    EXPECT_GT(mid, 40);
    EXPECT_LT(mid, 200);
}

// A filtered image magnified `scale` times, from the rules of bilinear filtering rather than
// from the shader: texel centres at half-texels, weights rounded to 1/256, edges clamped, the
// filtered texel rounded to 1/256 of a byte, the vertex colour multiplied in and rounded. ARGB
// of screen pixel (x, y); 0 where the mask mode's test (alpha below 128/255 before that last
// rounding) drops the pixel.
uint32_t FilteredPixel(const TPixmap& p, int scale, int x, int y, const int colour[4], bool mask) {
    auto axis = [&](int at, int size, int* lo, int* hi) {
        const double t = (at + 0.5) / scale - 0.5;
        const int f = int(std::floor(t));
        *lo = std::clamp(f, 0, size - 1), *hi = std::clamp(f + 1, 0, size - 1);
        return int(std::floor((t - f) * 256 + 0.5));
    };
    int x0, x1, y0, y1;
    const int wx = axis(x, p.width, &x0, &x1), wy = axis(y, p.height, &y0, &y1);
    const uint32_t c00 = p.ReadPixel(x0, y0), c10 = p.ReadPixel(x1, y0);
    const uint32_t c01 = p.ReadPixel(x0, y1), c11 = p.ReadPixel(x1, y1);
    uint32_t out = 0;
    for (int k = 0; k < 4; ++k) {  // blue, green, red, alpha
        const auto at = [k](uint32_t c) { return uint64_t(c >> (8 * k) & 0xFF); };
        const double texel = ((at(c00) * (256 - wx) + at(c10) * wx) * (256 - wy) +
                              (at(c01) * (256 - wx) + at(c11) * wx) * wy) /
                             65536.0;
        const double weighed = std::floor(texel * 256 + 0.5) / 256 * colour[k == 3 ? 3 : 2 - k];
        if (k == 3 && mask && weighed < 128 * 255) return 0;
        out |= uint32_t(std::floor(weighed / 255 + 0.5)) << (8 * k);
    }
    return out;
}

// Draws `image` magnified three times at the origin (weights 43, 128 and 213: a third of a
// texel does not fall on the 1/256 grid) and compares every pixel with the model; returns how
// many the mask mode's test dropped.
int ExpectFilteredDraw(const ImagePtr& image, const int colour[4], bool mask) {
    constexpr int kScale = 3;
    SetClsColor(0, 0, 0);
    Cls();
    SetBlend(mask ? BLEND_MASK : BLEND_SOLID);
    SetColor(colour[0], colour[1], colour[2]);
    SetAlpha(float(colour[3]) / 255);
    SetScale(kScale, kScale);
    DrawImage(image, 0, 0);
    const auto s = GrabPixmap(0, 0, image->width * kScale, image->height * kScale);
    const auto& texels = *image->pixmaps[0];
    int dropped = 0, wrong = 0;
    for (int y = 0; y < s->height; ++y)
        for (int x = 0; x < s->width && wrong < 8; ++x) {
            const uint32_t want = FilteredPixel(texels, kScale, x, y, colour, mask);
            dropped += want == 0;
            if ((s->ReadPixel(x, y) & 0xFFFFFF) == (want & 0xFFFFFF)) continue;
            ADD_FAILURE() << "pixel " << x << ", " << y << ": " << std::hex << s->ReadPixel(x, y)
                          << " instead of " << want;
            ++wrong;
        }
    return dropped;
}

TEST_F(RenderTest, FilteredImagesMixTheFourNearestTexelsByteExactly) {
    auto noise = CreateImage(12, 10, 1, IMAGE_FILTERED);
    auto p = LockImage(noise, 0, 1, 1);
    uint32_t seed = 12345;
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 12; ++x) {
            seed = seed * 1103515245u + 12345u;
            const uint32_t opaque = x < 6 ? 0xFF000000u : 0;  // the right half: alpha varies
            p->WritePixel(x, y, (seed >> 4 & 0xFFFFFFu) | opaque | (seed & 0xFF000000u));
        }
    p.reset();
    const int solid[4] = {200, 150, 100, 255}, faint[4] = {200, 150, 100, 201};
    ExpectFilteredDraw(noise, solid, false);
    const int dropped = ExpectFilteredDraw(noise, faint, true);
    EXPECT_GT(dropped, 60);  // of the 540 pixels the right half covers
    EXPECT_LT(dropped, 500);

    // Alphas 127 and 130 weighed 171 : 85 give 127.996: below the test's 128, though it
    // rounds to 128. The pixel between them is dropped, the next one (129.0) kept.
    auto edge = CreateImage(2, 1, 1, IMAGE_FILTERED);
    p = LockImage(edge, 0, 1, 1);
    p->WritePixel(0, 0, 0x7F204080u);
    p->WritePixel(1, 0, 0x82204080u);
    p.reset();
    const int white[4] = {255, 255, 255, 255};
    ASSERT_EQ(FilteredPixel(*edge->pixmaps[0], 3, 2, 0, white, true), 0u);
    ASSERT_NE(FilteredPixel(*edge->pixmaps[0], 3, 3, 0, white, true), 0u);
    ExpectFilteredDraw(edge, white, true);
}

TEST_F(RenderTest, CaptureRightAfterFlipReturnsThePresentedFrame) {
    SetColor(10, 200, 30);
    DrawRect(0, 0, 20, 20);
    SetColor(0, 0, 0);
    DrawRect(5, 5, 1, 1);  // a black pixel inside the green
    Flip(0);
    auto plain = CreateImage(kW, kH, 1, 0);
    CaptureImage(plain, 0, 0, 0);
    EXPECT_EQ(plain->pixmaps[0]->ReadPixel(0, 0), 0xFF0AC81Eu);
    EXPECT_EQ(plain->pixmaps[0]->ReadPixel(5, 5), 0xFF000000u);
    EXPECT_EQ(plain->pixmaps[0]->ReadPixel(30, 30), 0xFF000000u);

    auto masked = CreateImage(kW, kH, 1, 11);
    CaptureImage(masked, 0, 0, 0);
    const auto& m = masked->pixmaps[0];
    EXPECT_EQ(m->ReadPixel(5, 5), 0x000AC81Eu);    // black: transparent, neighbours' colour
    EXPECT_EQ(m->ReadPixel(30, 30), 0x00000000u);  // black among black
    EXPECT_EQ(m->ReadPixel(20, 10), 0x000AC81Eu);  // beside the green edge: 3 green, 5 black
    EXPECT_EQ(m->ReadPixel(19, 19), 0xFF0AC81Eu);

    auto part = CreateImage(4, 3, 1, 0);  // an offset rectangle, top row first
    CaptureImage(part, 18, 17, 0);
    EXPECT_EQ(part->pixmaps[0]->ReadPixel(1, 2), 0xFF0AC81Eu);
    EXPECT_EQ(part->pixmaps[0]->ReadPixel(2, 2), 0xFF000000u);
    EXPECT_EQ(part->pixmaps[0]->ReadPixel(1, 3 - 1), 0xFF0AC81Eu);
}

TEST_F(RenderTest, MipmappedImagesUseTheSmallerLevelWhenShrunk) {
    auto image = CreateImage(2, 2, 1, IMAGE_MIPMAPPED);  // nearest texel of the nearest level
    auto p = LockImage(image, 0, 1, 1);
    p->WritePixel(0, 0, 0xFF000000);
    p->WritePixel(1, 0, 0xFF640000);
    p->WritePixel(0, 1, 0xFFC80000);
    p->WritePixel(1, 1, 0xFF280000);
    SetScale(0.5f, 0.5f);
    DrawImage(image, 3, 3);
    // Level 1 is the bilinear average: rows (0 + 100) / 2 and (200 + 40) / 2, then 85.
    EXPECT_EQ(Pixel(3, 3), 0xFF550000u);
}

// Drawing is recorded and done later; an image dropped or rewritten before then must still
// show what it held when it was drawn.
TEST_F(RenderTest, RecordedImagesShowTheirContentWhenTheyWereDrawn) {
    auto gone = FilledImage(2, 2, 0xFF0000FFu);
    DrawImage(gone, 0, 0);
    gone.reset();  // its texture is deleted
    auto rewritten = FilledImage(2, 2, 0xFFFF0000u);
    DrawImage(rewritten, 4, 0);
    LockImage(rewritten, 0, 1, 1)->ClearPixels(0xFF00FF00u);
    DrawImage(rewritten, 8, 0);
    EXPECT_EQ(Pixel(1, 1), 0xFF0000FFu);
    EXPECT_EQ(Pixel(5, 1), 0xFFFF0000u);
    EXPECT_EQ(Pixel(9, 1), 0xFF00FF00u);
}

TEST_F(RenderTest, PixmapsAreDrawnUnscaledAtTheOrigin) {
    auto p = CreatePixmap(3, 2, PIXFMT_BGR24);
    p->WritePixel(2, 1, 0xFF123456);
    SetScale(4, 4);  // ignored by pixmaps
    SetOrigin(1, 1);
    DrawPixmap(p, 10, 20);
    SetOrigin(0, 0);
    EXPECT_EQ(Pixel(13, 22), 0xFF123456u);
    EXPECT_EQ(Pixel(14, 22), 0xFF000000u);
}

TEST_F(RenderTest, ImageFontsCanBeReplacedAndRestored) {
    uint8_t sheet[1536] = {};
    sheet[3 * 96 + ('X' - 32)] = 0x02;  // one pixel, (1, 3) of the glyph
    SetImageFont(FontFromSheet(sheet));
    SetBlend(BLEND_ALPHA);
    DrawText("X", 10, 10);
    EXPECT_EQ(Lit(Screen()), 1);
    EXPECT_EQ(Pixel(11, 13), 0xFFFFFFFFu);
    SetImageFont(nullptr);
    EXPECT_EQ(GetImageFont(), BuiltinFont());
}

// The set pixels of the 8 x 16 cell at (x, y) as a string of '#' and '.'.
std::string Cell(const PixmapPtr& s, int x, int y) {
    std::string out;
    for (int r = 0; r < 16; ++r)
        for (int c = 0; c < 8; ++c)
            out += (s->ReadPixel(x + c, y + r) & 0xFFFFFF) ? '#' : '.';
    return out;
}

TEST_F(RenderTest, TextAdvancesEightPixelsAndSkipsUnknownCharacters) {
    SetBlend(BLEND_ALPHA);
    DrawText("A", 0, 0);
    DrawText(
        "\x01"
        "B\xC3\xA9"
        "C",
        0, 20);  // a control character and a UTF-8 letter
    DrawText("A A", 20, 0);
    auto s = Screen();
    const std::string a = Cell(s, 0, 0);
    EXPECT_NE(a.find('#'), std::string::npos);
    EXPECT_EQ(Cell(s, 20, 0), a);
    EXPECT_EQ(Cell(s, 36, 0), a);
    EXPECT_EQ(Cell(s, 28, 0).find('#'), std::string::npos);  // the space
    Cls();
    DrawText("BC", 0, 20);
    auto t = Screen();
    EXPECT_EQ(Cell(t, 0, 20), Cell(s, 0, 20));
    EXPECT_EQ(Cell(t, 8, 20), Cell(s, 8, 20));
    EXPECT_EQ(TextWidth("\x01"
                        "BC"),
              16);
}

TEST_F(RenderTest, TextFollowsColourAndRotation) {
    SetBlend(BLEND_ALPHA);
    SetColor(255, 0, 0);
    SetRotation(90);
    DrawText("I", 30, 10);  // rows of the glyph now run right to left
    auto s = Screen();
    int lit = 0;
    for (int y = 10; y < 18; ++y)
        for (int x = 14; x < 30; ++x)
            if (s->ReadPixel(x, y) != 0xFF000000u) {
                ++lit;
                EXPECT_EQ(s->ReadPixel(x, y), 0xFFFF0000u);
            }
    EXPECT_GT(lit, 20);
    EXPECT_EQ(Lit(s), lit);
}
}  // namespace

TEST(BuiltinFont, SheetLayoutKeepsTheEmptyRowsAndColumn) {
    const uint8_t* sheet = BuiltinFontSheet();
    for (int j = 0; j < 96; ++j) {
        for (int r : {0, 1, 13, 14, 15})
            EXPECT_EQ(sheet[r * 96 + j], 0) << "glyph " << j << " row " << r;
        for (int r = 0; r < 16; ++r)
            EXPECT_EQ(sheet[r * 96 + j] & 1, 0) << "glyph " << j << " column 0";
    }
    for (char c = 'A'; c <= 'Z'; ++c) {  // capitals fill rows 2 to 10 exactly
        const int j = c - 32;
        EXPECT_NE(sheet[2 * 96 + j], 0) << c;
        EXPECT_NE(sheet[10 * 96 + j], 0) << c;
        EXPECT_EQ(sheet[11 * 96 + j], 0) << c;
    }
    auto font = BuiltinFont();
    EXPECT_EQ(font->glyphs.size(), 96u);
    EXPECT_EQ(font->glyphs[1]->flags, 0);
    EXPECT_EQ(font->CharToGlyph(' '), 0);
    EXPECT_EQ(font->CharToGlyph(127), 95);
    EXPECT_EQ(font->CharToGlyph(128), -1);
    EXPECT_EQ(font->CharToGlyph(31), -1);
}
