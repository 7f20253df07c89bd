// Shared pieces of the collision suites: a fixture that leaves the layers empty and the
// collision matrix at identity, and images built pixel by pixel.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

#include "platform/collide/collide.hpp"

class CollideTest : public ::testing::Test {
  public:
    static void Reset() {
        SetRotation(0);
        SetScale(1, 1);
        ClearCollisionLayers(0);
    }

    // A w x h image with handle (0, 0) whose pixel (x, y) is argb(x, y).
    template <class F>
    static ImagePtr MakeImage(int w, int h, F argb) {
        ImagePtr image = TImage::Create(w, h, 1, 0, 0, 0, 0);
        PixmapPtr p = image->Lock(0, 1, 1);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                WritePixel(p, x, y, argb(x, y));
        return image;
    }
    static ImagePtr Filled(int w, int h, uint32_t argb) {
        return MakeImage(w, h, [argb](int, int) { return argb; });
    }
    static TCollisionId Id(int n) { return std::make_shared<int>(n); }

  protected:
    void SetUp() override { Reset(); }
    void TearDown() override { Reset(); }
};
