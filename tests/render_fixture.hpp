// Shared fixture of the render suites: one headless window per suite, read back by grabbing.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/draw/graphics.hpp"

class RenderTest : public ::testing::Test {
  protected:
    static constexpr int kW = 64, kH = 48;

    static void SetUpTestSuite() {
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
        ResetDrawingState();
        SelectGraphicsDriver(CreateGLDriver(), 0);
        opened_ = OpenGraphics(kW, kH, 0, 60, 0) != nullptr;
    }
    static void TearDownTestSuite() { CloseGraphics(); }

    // Every field of the record back to a known value, so tests run in any order.
    void SetUp() override {
        ASSERT_TRUE(opened_) << LastGraphicsError();
        ResetImageDefaults();
        SetLogicalSize(kW, kH);
        SetOrigin(0, 0);
        SetHandle(0, 0);
        SetImageFont(nullptr);
        SetBlend(BLEND_SOLID);
        SetColor(255, 255, 255);
        SetAlpha(1);
        SetLineWidth(1);
        SetRotation(0);
        SetScale(1, 1);
        SetViewport(0, 0, kW, kH);
        SetClsColor(0, 0, 0);
        Cls();
    }

    // The back buffer as a pixmap (alpha 255).
    static PixmapPtr Screen() { return GrabPixmap(0, 0, kW, kH); }
    // ARGB of one back-buffer pixel.
    static uint32_t Pixel(int x, int y) { return GrabPixmap(x, y, 1, 1)->ReadPixel(0, 0); }
    // Number of pixels of `screen` whose RGB is not black.
    static int Lit(const PixmapPtr& screen) {
        int n = 0;
        for (int y = 0; y < screen->height; ++y)
            for (int x = 0; x < screen->width; ++x)
                n += (screen->ReadPixel(x, y) & 0xFFFFFF) != 0;
        return n;
    }

    static inline bool opened_ = false;
};
