// Images on the CPU: creation flags and handles, locking, pixmap replacement with masking, and
// frames that are not built while no graphics are open.
#include <gtest/gtest.h>

#include "platform/draw/image.hpp"

namespace {
class ImageTest : public ::testing::Test {
  protected:
    void TearDown() override {
        SetAutoCentre(0);
        SetMaskColor(0, 0, 0);
        SetAutoImageFlags(IMAGE_MASKED | IMAGE_FILTERED);
    }
};

TEST_F(ImageTest, FlagsAndHandles) {
    EXPECT_EQ(CreateImage(4, 4, 1, -1)->flags, IMAGE_MASKED | IMAGE_FILTERED | IMAGE_DYNAMIC);
    EXPECT_EQ(CreateImage(4, 4, 1, 0)->flags, IMAGE_DYNAMIC);
    auto plain = CreateImage(10, 10, 1, 11);
    EXPECT_EQ(plain->handle_x, 0.0f);
    SetAutoCentre(1);
    auto centred = CreateImage(10, 7, 1, 11);
    EXPECT_EQ(centred->handle_x, 5.0f);
    EXPECT_EQ(centred->handle_y, 3.5f);
}

TEST_F(ImageTest, MaskColourIsTakenAtCreation) {
    SetMaskColor(1, 2, 3);
    auto image = CreateImage(2, 2, 1, -1);
    SetMaskColor(9, 9, 9);
    EXPECT_EQ(image->mask_r, 1);
    EXPECT_EQ(image->mask_b, 3);
    int r, g, b;
    GetMaskColor(&r, &g, &b);
    EXPECT_EQ(g, 9);
}

TEST_F(ImageTest, LockGivesTheSameRgbaPixmapEveryTime) {
    auto image = CreateImage(3, 2, 2, 11);
    EXPECT_EQ(image->pixmaps[1], nullptr);
    PixmapPtr p = LockImage(image, 1, 1, 1);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->format, PIXFMT_RGBA32);
    EXPECT_EQ(p->width, 3);
    EXPECT_EQ(LockImage(image, 1, 1, 0), p);
    UnlockImage(image, 1);
    UnlockImage(image, 0);  // without a lock: nothing happens
    EXPECT_EQ(image->pixmaps[0], nullptr);
    EXPECT_EQ(LockImage(image, 2, 1, 1), nullptr);  // no such frame
}

TEST_F(ImageTest, SetPixmapMasksOnlyPixmapsWithoutAlpha) {
    SetMaskColor(255, 0, 255);
    auto image = CreateImage(2, 1, 1, -1);
    auto rgb = CreatePixmap(2, 1, PIXFMT_RGB24);
    rgb->WritePixel(0, 0, 0xFFFF00FF);
    rgb->WritePixel(1, 0, 0xFF204060);
    image->SetPixmap(0, rgb);
    EXPECT_EQ(image->pixmaps[0]->format, PIXFMT_RGBA32);
    EXPECT_EQ(image->pixmaps[0]->ReadPixel(0, 0), 0x00204060u);
    EXPECT_EQ(image->pixmaps[0]->ReadPixel(1, 0), 0xFF204060u);

    auto rgba = CreatePixmap(2, 1, PIXFMT_RGBA32);
    rgba->WritePixel(0, 0, 0xFFFF00FF);
    image->SetPixmap(0, rgba);
    EXPECT_EQ(image->pixmaps[0], rgba);  // has alpha: kept as it is

    auto unmasked = CreateImage(2, 1, 1, 0);
    unmasked->SetPixmap(0, rgb);
    EXPECT_EQ(unmasked->pixmaps[0], rgb);
}

TEST_F(ImageTest, NoFrameWithoutGraphicsOrForAMissingIndex) {
    auto image = CreateImage(2, 2, 1, 0);
    EXPECT_EQ(image->Frame(0), nullptr);
    EXPECT_EQ(image->seqs[0], 0);
    EXPECT_EQ(image->Frame(1), nullptr);
    EXPECT_EQ(image->Frame(-1), nullptr);
}

TEST_F(ImageTest, GenerationIsNeverZero) {
    const int before = GraphicsGeneration();
    AdvanceGraphicsGeneration();
    EXPECT_NE(GraphicsGeneration(), before);
    EXPECT_NE(GraphicsGeneration(), 0);
}
}  // namespace
