// Pixmaps on the CPU: pitches, byte orders, windows, conversion, masking, resampling and the
// enlarged layout of texture frames.
#include <gtest/gtest.h>

#include <cstdint>

#include "platform/draw/image.hpp"
#include "platform/draw/pixmap.hpp"

namespace {
TEST(Pixmap, PitchIsTheSmallestMultipleOfTheAlignment) {
    EXPECT_EQ(CreatePixmap(3, 1, PIXFMT_RGB24, 4)->pitch, 12);
    EXPECT_EQ(CreatePixmap(5, 2, PIXFMT_RGBA32, 4)->pitch, 20);
    EXPECT_EQ(CreatePixmap(5, 2, PIXFMT_I8, 4)->pitch, 8);
    EXPECT_EQ(CreatePixmap(5, 2, PIXFMT_BGR24, 1)->pitch, 15);
    auto p = CreatePixmap(5, 3, PIXFMT_RGB24, 8);
    EXPECT_EQ(p->pitch, 16);
    EXPECT_EQ(p->capacity, 48);
    EXPECT_EQ(p->PixelPtr(2, 1), p->pixels + 16 + 6);
}

TEST(Pixmap, ByteOrdersOfEveryFormat) {
    const uint32_t argb = 0x80FF4020;
    auto rgba = CreatePixmap(1, 1, PIXFMT_RGBA32), bgra = CreatePixmap(1, 1, PIXFMT_BGRA32);
    rgba->WritePixel(0, 0, argb);
    bgra->WritePixel(0, 0, argb);
    const uint8_t want_rgba[4] = {0xFF, 0x40, 0x20, 0x80}, want_bgra[4] = {0x20, 0x40, 0xFF, 0x80};
    EXPECT_EQ(0, memcmp(rgba->pixels, want_rgba, 4));
    EXPECT_EQ(0, memcmp(bgra->pixels, want_bgra, 4));
    EXPECT_EQ(rgba->ReadPixel(0, 0), argb);
    EXPECT_EQ(bgra->ReadPixel(0, 0), argb);

    auto rgb = CreatePixmap(1, 1, PIXFMT_RGB24), bgr = CreatePixmap(1, 1, PIXFMT_BGR24);
    rgb->WritePixel(0, 0, argb);
    bgr->WritePixel(0, 0, argb);
    EXPECT_EQ(rgb->pixels[0], 0xFF);
    EXPECT_EQ(bgr->pixels[0], 0x20);
    EXPECT_EQ(rgb->ReadPixel(0, 0), 0xFFFF4020u);  // alpha dropped, read back opaque
    EXPECT_EQ(bgr->ReadPixel(0, 0), 0xFFFF4020u);
}

TEST(Pixmap, IntensityAndAlphaOnlyFormats) {
    auto i8 = CreatePixmap(1, 1, PIXFMT_I8), a8 = CreatePixmap(1, 1, PIXFMT_A8);
    i8->WritePixel(0, 0, 0x80FF4020);
    a8->WritePixel(0, 0, 0x80FF4020);
    EXPECT_EQ(i8->pixels[0], 117);  // (255 + 64 + 32) / 3
    EXPECT_EQ(i8->ReadPixel(0, 0), 0xFF757575u);
    EXPECT_EQ(a8->ReadPixel(0, 0), 0x80FFFFFFu);
    EXPECT_EQ(i8->Convert(PIXFMT_RGBA32)->ReadPixel(0, 0), 0xFF757575u);
    EXPECT_EQ(a8->Convert(PIXFMT_BGRA32)->ReadPixel(0, 0), 0x80FFFFFFu);
}

TEST(Pixmap, WindowSharesMemoryAndKeepsItsParentAlive) {
    PixmapPtr window;
    uint8_t* parent_pixels = nullptr;
    {
        auto parent = CreatePixmap(4, 4, PIXFMT_RGBA32);
        parent_pixels = parent->pixels;
        window = parent->Window(1, 2, 2, 2);
    }
    EXPECT_EQ(window->capacity, -1);
    EXPECT_EQ(window->pitch, 16);
    EXPECT_EQ(window->pixels, parent_pixels + 2 * 16 + 4);
    window->WritePixel(1, 1, 0x11223344);  // parent pixel (2, 3), still owned by `_source`
    auto parent = std::static_pointer_cast<TPixmap>(window->_source);
    EXPECT_EQ(parent->ReadPixel(2, 3), 0x11223344u);
}

TEST(Pixmap, CopyPasteConvertAndClear) {
    auto src = CreatePixmap(3, 2, PIXFMT_BGR24, 1);
    src->WritePixel(2, 1, 0xFF102030);
    auto copy = src->Copy();
    EXPECT_EQ(copy->pitch, 12);  // align 4
    EXPECT_EQ(copy->ReadPixel(2, 1), 0xFF102030u);
    copy->WritePixel(0, 0, 0xFFFFFFFF);
    EXPECT_EQ(src->ReadPixel(0, 0), 0xFF000000u);  // the copy has its own memory

    auto dst = CreatePixmap(5, 4, PIXFMT_RGBA32);
    dst->Paste(*src, 1, 2);
    EXPECT_EQ(dst->ReadPixel(3, 3), 0xFF102030u);
    EXPECT_EQ(dst->ReadPixel(0, 0), 0u);

    auto rgb = dst->Convert(PIXFMT_RGB24);
    EXPECT_EQ(rgb->format, PIXFMT_RGB24);
    EXPECT_EQ(rgb->ReadPixel(3, 3), 0xFF102030u);

    dst->ClearPixels(0x7F010203);
    EXPECT_EQ(dst->ReadPixel(4, 3), 0x7F010203u);
    dst->ClearPixels(0);
    EXPECT_EQ(dst->ReadPixel(4, 3), 0u);
}

TEST(Pixmap, CreateStaticBorrowsMemory) {
    uint8_t memory[2 * 8] = {};
    auto p = TPixmap::CreateStatic(memory, 2, 2, 8, PIXFMT_RGBA32);
    EXPECT_EQ(p->capacity, -1);
    p->WritePixel(1, 1, 0x01020304);
    EXPECT_EQ(memory[8 + 4], 0x02);
    EXPECT_EQ(memory[8 + 7], 0x01);
}

TEST(Pixmap, NegativeSizesGiveEmptyPixmaps) {
    auto p = CreatePixmap(-3, 2, PIXFMT_RGBA32);
    EXPECT_EQ(p->width, 0);
    EXPECT_EQ(p->capacity, 0);
}

// Sizes whose bytes do not fit an int are refused (null) before anything is allocated, and the
// free pixel functions and the image lock pass the null on without harm.
TEST(Pixmap, SizesBeyondAnIntAreRefused) {
    EXPECT_EQ(CreatePixmap(65536, 16385, PIXFMT_RGBA32), nullptr);  // 2^32 + 2^18 bytes
    EXPECT_EQ(CreatePixmap(INT32_MAX, 1, PIXFMT_RGBA32), nullptr);  // one row is too long
    EXPECT_EQ(CreatePixmap(46341, 46341, PIXFMT_I8), nullptr);      // 2^31 + 4633 bytes
    EXPECT_EQ(CreatePixmap(1, 2, PIXFMT_I8, INT32_MAX), nullptr);   // two rows of 2^31 - 1
    auto small = CreatePixmap(2, 2, PIXFMT_RGBA32);
    EXPECT_EQ(ResizePixmap(*small, 65536, 16385), nullptr);
    EXPECT_EQ(SmearPixmap(*small, 65536, 65536), nullptr);

    auto image = CreateImage(65536, 16385, 1, 0);
    PixmapPtr locked = LockImage(image, 0, 1, 1);
    EXPECT_EQ(locked, nullptr);
    WritePixel(locked, 0, 16384, 0xFFFFFFFFu);
    EXPECT_EQ(ReadPixel(locked, 0, 16384), 0u);
}

#ifdef ORB_CHECKED
TEST(PixmapDeathTest, AccessOutsideIsCaught) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    auto p = CreatePixmap(2, 2, PIXFMT_RGBA32);
    EXPECT_DEATH(p->WritePixel(2, 0, 0), "outside");
    EXPECT_DEATH(p->ReadPixel(0, -1), "outside");
    EXPECT_DEATH(p->Paste(*CreatePixmap(2, 2, PIXFMT_I8), 1, 0), "outside");
}
#endif

TEST(MaskPixmap, MaskedPixelsTakeTheirNeighboursAverage) {
    // 3 x 3: black centre and corner, coloured elsewhere.
    auto p = CreatePixmap(3, 3, PIXFMT_RGB24);
    const uint32_t colours[9] = {0x000000, 0x100000, 0x200000, 0x003000, 0x000000,
                                 0x000060, 0x0000F0, 0x101010, 0x202020};
    for (int i = 0; i < 9; ++i)
        p->WritePixel(i % 3, i / 3, 0xFF000000u | colours[i]);
    auto m = MaskPixmap(*p, 0, 0, 0);
    EXPECT_EQ(m->format, PIXFMT_RGBA32);
    // Centre: seven neighbours, red (16+32+16+32)/7=13, green (48+16+32)/7=13,
    // blue (96+240+16+32)/7=54.
    EXPECT_EQ(m->ReadPixel(1, 1), 0x000D0D36u);
    // Corner (0, 0): neighbours (1,0), (0,1); (1,1) is masked.
    EXPECT_EQ(m->ReadPixel(0, 0), 0x00081800u);
    EXPECT_EQ(m->ReadPixel(2, 2), 0xFF202020u);
}

TEST(MaskPixmap, LoneMaskPixelBecomesTransparentBlackAndOthersOpaque) {
    auto p = CreatePixmap(3, 1, PIXFMT_RGBA32);
    p->WritePixel(0, 0, 0x00FF00FF);  // a key-coloured pixel surrounded by key colour
    p->WritePixel(1, 0, 0x00FF00FF);
    p->WritePixel(2, 0, 0x10203040);  // alpha is replaced by 255
    auto m = MaskPixmap(*p, 255, 0, 255);
    EXPECT_EQ(m->ReadPixel(0, 0), 0u);
    EXPECT_EQ(m->ReadPixel(1, 0), 0x00203040u);
    EXPECT_EQ(m->ReadPixel(2, 0), 0xFF203040u);
}

TEST(ResizePixmap, BilinearWithEdgeRowsAlone) {
    auto p = CreatePixmap(2, 1, PIXFMT_RGBA32);
    p->WritePixel(0, 0, 0x00000000);
    p->WritePixel(1, 0, 0xFFFFFFFF);
    auto up = ResizePixmap(*p, 4, 1);
    EXPECT_EQ(up->ReadPixel(0, 0), 0x00000000u);  // position -0.25: first column alone
    EXPECT_EQ(up->ReadPixel(1, 0), 0x3F3F3F3Fu);  // 0.25 of the way: 63.75 truncated
    EXPECT_EQ(up->ReadPixel(2, 0), 0xBFBFBFBFu);
    EXPECT_EQ(up->ReadPixel(3, 0), 0xFFFFFFFFu);  // past the last column
    auto i8 = CreatePixmap(4, 2, PIXFMT_I8);
    i8->pixels[0] = 10, i8->pixels[1] = 20, i8->pixels[2] = 30, i8->pixels[3] = 41;
    auto down = ResizePixmap(*i8, 2, 1);
    EXPECT_EQ(down->format, PIXFMT_I8);
    EXPECT_EQ(down->pixels[0], 7);  // columns 0.5 and rows 0.5: (15 + 0) / 2 truncated
}

TEST(TextureLayout, SidesArePowersOfTwo) {
    EXPECT_EQ(TextureSide(0), 1);
    EXPECT_EQ(TextureSide(1), 1);
    EXPECT_EQ(TextureSide(256), 256);
    EXPECT_EQ(TextureSide(600), 1024);
    EXPECT_EQ(TextureSide(400), 512);
    EXPECT_EQ(TextureSide(1280), 2048);
}

TEST(TextureLayout, LastColumnAndRowAreRepeatedOnce) {
    auto p = CreatePixmap(600, 400, PIXFMT_BGRA32);
    for (int y = 0; y < 400; ++y)
        p->WritePixel(599, y, 0xFF000000u | uint32_t(y));
    for (int x = 0; x < 600; ++x)
        p->WritePixel(x, 399, 0x80000000u | uint32_t(x) << 8);
    auto big = SmearPixmap(*p, 1024, 512);
    EXPECT_EQ(big->format, PIXFMT_RGBA32);
    EXPECT_EQ(big->ReadPixel(600, 10), 0xFF00000Au);
    EXPECT_EQ(big->ReadPixel(20, 400), 0x80001400u);
    EXPECT_EQ(big->ReadPixel(600, 400), p->ReadPixel(599, 399));
    EXPECT_EQ(big->ReadPixel(601, 10), 0u);  // never sampled
    EXPECT_EQ(big->ReadPixel(20, 401), 0u);
}
}  // namespace
