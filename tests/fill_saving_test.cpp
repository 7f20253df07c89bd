// The OpenGL driver leaves out fill that changes no pixel: opaque textures drawn opaque under the
// alpha blend go unblended, primitives of alpha 0 under the blends that weigh by alpha are left
// out. Every case is drawn with and without that saving and the back buffers, alpha channel
// included, must match byte for byte: small scenes on edge cases, then the real play frames at
// a hundred enemies with the thrust held.
#include <epoxy/gl.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "game_fixture.hpp"
#include "platform/draw/detail/gl_driver.hpp"
#include "platform/draw/image.hpp"
#include "render_fixture.hpp"

namespace {
// The whole back buffer as OpenGL holds it, alpha included (GrabPixmap forces alpha 255).
std::vector<uint8_t> BackBuffer(int w, int h) {
    AttachedGLDriver()->Finish();
    std::vector<uint8_t> bytes(size_t(w) * h * 4);
    glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, bytes.data());
    return bytes;
}

// "" when equal, else how many bytes differ and where the first one is.
std::string Difference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    if (a.size() != b.size()) return "sizes differ";
    size_t n = 0, first = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i] && n++ == 0) first = i;
    }
    if (n == 0) return "";
    return std::to_string(n) + " bytes differ, the first at byte " + std::to_string(first);
}

class FillSavingRenderTest : public RenderTest {
  protected:
    void TearDown() override { SetGLFillSaving(true); }

    // Noise of colours and alphas, alpha 255 everywhere unless `hole` (one pixel of alpha 254).
    static ImagePtr Noise(int w, int h, int flags, bool hole = false) {
        auto image = CreateImage(w, h, 1, flags);
        auto p = LockImage(image, 0, 1, 1);
        uint32_t s = 12345;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                s = s * 1103515245u + 12345u;
                p->WritePixel(x, y, 0xFF000000u | (s >> 8 & 0xFFFFFFu));
            }
        }
        if (hole) p->WritePixel(w / 2, h / 2, 0xFE808080u);
        UnlockImage(image, 0);
        return image;
    }

    // A background whose alpha channel is not all 255: a blended rectangle over the clear.
    static void Background() {
        SetBlend(BLEND_ALPHA);
        SetColor(40, 200, 90);
        SetAlpha(0.45f);
        DrawRect(0, 0, kW, kH);
    }

    // Draws `scene` with the saving on, then off; the back buffers must match. Returns the
    // primitives the saving run drew unblended and left out.
    static void Compare(const std::function<void()>& scene, int* unblended, int* skipped) {
        TGLVorn2DDriver* d = AttachedGLDriver();
        std::vector<uint8_t> shots[2];
        for (int saving = 1; saving >= 0; --saving) {
            SetGLFillSaving(saving);
            const int u = d->UnblendedCount(), s = d->SkippedCount();
            SetClsColor(0, 0, 0);
            Cls();
            Background();
            scene();
            shots[saving] = BackBuffer(kW, kH);
            if (saving) *unblended = d->UnblendedCount() - u, *skipped = d->SkippedCount() - s;
        }
        EXPECT_EQ(Difference(shots[1], shots[0]), "");
    }
};

TEST_F(FillSavingRenderTest, OpaqueTexturesAtFullAlphaGoUnblendedAndMatch) {
    const ImagePtr plain = Noise(40, 30, IMAGE_FILTERED);
    int unblended = 0, skipped = 0;
    Compare(
        [&] {
            SetBlend(BLEND_ALPHA);
            SetAlpha(1);
            SetColor(200, 120, 255);
            SetRotation(33);
            SetScale(1.3f, 0.9f);
            DrawImage(plain, 20.5f, 17.25f);  // filtered, turned, scaled: texels in between
            SetRotation(0);
            SetScale(1, 1);
            DrawImage(plain, 30, 20);
        },
        &unblended, &skipped);
    EXPECT_EQ(unblended, 2);
    EXPECT_EQ(skipped, 0);
}

TEST_F(FillSavingRenderTest, AnythingThatCouldShowTheBackgroundStaysBlended) {
    const ImagePtr opaque = Noise(40, 30, IMAGE_FILTERED);
    const ImagePtr holed = Noise(40, 30, IMAGE_FILTERED, true);
    const ImagePtr mipmapped = Noise(40, 30, IMAGE_FILTERED | IMAGE_MIPMAPPED);
    int unblended = 0, skipped = 0;
    Compare(
        [&] {
            SetBlend(BLEND_ALPHA);
            SetColor(255, 255, 255);
            SetAlpha(0.99f);
            DrawImage(opaque, 10, 10);  // vertex alpha below 255
            SetAlpha(1);
            DrawImage(holed, 12, 14);  // one texel of alpha 254
            SetScale(0.3f, 0.3f);
            DrawImage(mipmapped, 40, 30);  // lower levels sample the transparent padding
            SetScale(1, 1);
            SetBlend(BLEND_LIGHT);
            DrawImage(opaque, 30, 20);  // light adds to what is there
            // Texels past the uploaded ones: filtering would reach the transparent padding.
            SetBlend(BLEND_ALPHA);
            opaque->Frame(0)->Draw(0, 0, 20, 20, 5, 5, 30, 20, 12, 12);
        },
        &unblended, &skipped);
    EXPECT_EQ(unblended, 0);
    EXPECT_EQ(skipped, 0);
}

TEST_F(FillSavingRenderTest, AlphaZeroIsLeftOutOnlyWhereItDrawsNothing) {
    const ImagePtr opaque = Noise(16, 16, IMAGE_FILTERED | IMAGE_MASKED);
    const float poly[] = {0, 0, 20, 4, 8, 18};
    int unblended = 0, skipped = 0;
    Compare(
        [&] {
            SetColor(250, 10, 120);
            SetAlpha(0);
            for (int mode : {BLEND_MASK, BLEND_SOLID, BLEND_ALPHA, BLEND_LIGHT, BLEND_SHADE}) {
                SetBlend(mode);
                const float o = float(mode * 9);
                DrawImage(opaque, o + 8, 8);
                DrawRect(o, 20, 8, 6);
                DrawOval(o, 28, 8, 8);
                SetLineWidth(3);
                DrawLine(o, 40, o + 8, 46);
                SetLineWidth(1);
                DrawLine(o, 38, o + 8, 44);
                Plot(o + 3, 2);
                SetHandle(0, 0);
                SetOrigin(o, 30);
                DrawPoly(poly, 3);
                SetOrigin(0, 0);
            }
        },
        &unblended, &skipped);
    EXPECT_EQ(unblended, 0);
    // Mask, alpha and light: seven primitives each, and the last pixel each line plots.
    EXPECT_EQ(skipped, 3 * 9);
}

// The real game: a hundred enemies, the thrust held, the ship turning; the back buffer after
// chosen passes, drawn with and without the saving.
class FillSavingGameTest : public GameTest {
  protected:
    static constexpr int kPasses = 90, kEvery = 30;

    void SetUp() override {}
    void TearDown() override { SetGLFillSaving(true); }

    std::vector<std::vector<uint8_t>> Run(bool saving, int* unblended, int* skipped) {
        SetGLFillSaving(saving);
        SeedRandom(kRandomStartState);  // as a new process starts: the vignette draws from it
        GameTest::SetUp();
        std::string script = "0 move 640 250\n1 down 1\n";
        for (int i = 0; i < 95; ++i)
            script += "2 key 81\n";
        for (int pass = 4; pass < kPasses; pass += 2)
            script += std::to_string(pass) + " move 662 250\n";
        std::vector<std::vector<uint8_t>> shots;
        Replay(script, kPasses, [&](int pass) {
            if (pass % kEvery == kEvery - 1)
                shots.push_back(BackBuffer(G().screen_w, G().screen_h));
        });
        EXPECT_GE(O().enemies.Count(), 90);
        *unblended = AttachedGLDriver()->UnblendedCount();
        *skipped = AttachedGLDriver()->SkippedCount();
        GameTest::TearDown();
        return shots;
    }
};

TEST_F(FillSavingGameTest, PlayFramesAtAHundredEnemiesAreByteIdentical) {
    int unblended = 0, skipped = 0, plain_unblended = 0, plain_skipped = 0;
    const auto saved = Run(true, &unblended, &skipped);
    const auto plain = Run(false, &plain_unblended, &plain_skipped);
    ASSERT_EQ(saved.size(), size_t(kPasses / kEvery));
    ASSERT_EQ(plain.size(), saved.size());
    for (size_t i = 0; i < saved.size(); ++i)
        EXPECT_EQ(Difference(saved[i], plain[i]), "") << "after pass " << (i + 1) * kEvery - 1;
    EXPECT_GE(unblended, kPasses);  // the backdrop, every frame
    EXPECT_GT(skipped, 0);          // faded trail halos at least
    EXPECT_EQ(plain_unblended, 0);
    EXPECT_EQ(plain_skipped, 0);
}
}  // namespace
