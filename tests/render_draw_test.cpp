// Drawing on a headless OpenGL context, read back: clamping, blend modes, lines, ovals,
// rotation, viewport, presentation and the batching's equivalence with drawing at once.
#include <SDL2/SDL.h>
#include <epoxy/gl.h>

#include <vector>

#include "platform/draw/image.hpp"
#include "render_fixture.hpp"

namespace {
uint8_t Red(uint32_t argb) {
    return uint8_t(argb >> 16);
}

TEST_F(RenderTest, AlphaIsClampedAndTruncated) {
    SetBlend(BLEND_ALPHA);
    const float alphas[3] = {1.5f, -0.2f, 0.5f};
    for (int i = 0; i < 3; ++i) {
        SetAlpha(alphas[i]);
        DrawRect(float(i * 4), 0, 4, 4);
    }
    EXPECT_EQ(Pixel(1, 1), 0xFFFFFFFFu);
    EXPECT_EQ(Pixel(5, 1), 0xFF000000u);
    EXPECT_EQ(Pixel(9, 1), 0xFF7F7F7Fu);  // 0.5 * 255 = 127.5, truncated
    EXPECT_EQ(GetAlpha(), 0.5f);
}

TEST_F(RenderTest, ColourIsClampedInTheDriverOnly) {
    SetColor(300, -5, 128);
    DrawRect(0, 0, 2, 2);
    EXPECT_EQ(Pixel(0, 0), 0xFFFF0080u);
    int r, g, b;
    GetColor(&r, &g, &b);
    EXPECT_EQ(r, 300);
    EXPECT_EQ(g, -5);
    EXPECT_EQ(b, 128);
}

TEST_F(RenderTest, AdditiveAlphaShadeAndSolidBlending) {
    SetClsColor(100, 100, 100);
    Cls();
    SetColor(100, 200, 0);
    SetBlend(BLEND_LIGHT);
    DrawRect(0, 0, 4, 4);
    EXPECT_EQ(Pixel(1, 1), 0xFFC8FF64u);  // 200, saturated 255, 100
    SetBlend(BLEND_ALPHA);
    SetColor(200, 200, 200);
    SetAlpha(0.25f);  // byte 63
    DrawRect(4, 0, 4, 4);
    EXPECT_NEAR(Red(Pixel(5, 1)), 100 + (200 - 100) * 63 / 255.0, 1.0);
    SetBlend(BLEND_SHADE);
    SetAlpha(1);
    SetColor(128, 255, 0);
    DrawRect(8, 0, 4, 4);
    EXPECT_NEAR(Red(Pixel(9, 1)), 100 * 128 / 255.0, 1.0);
    EXPECT_EQ(Pixel(9, 1) & 0xFFFF, 0x6400u);
    SetBlend(BLEND_SOLID);
    SetAlpha(0.1f);
    SetColor(10, 20, 30);
    DrawRect(12, 0, 4, 4);
    EXPECT_EQ(Pixel(13, 1), 0xFF0A141Eu);
}

TEST_F(RenderTest, ThinLinesOmitTheirLastPixelUnlessAsked) {
    DrawLine(2, 5, 12, 5, 0);
    DrawLine(2, 8, 12, 8, 1);
    auto s = Screen();
    EXPECT_EQ(s->ReadPixel(2, 5), 0xFFFFFFFFu);
    EXPECT_EQ(s->ReadPixel(11, 5), 0xFFFFFFFFu);
    EXPECT_EQ(s->ReadPixel(12, 5), 0xFF000000u);
    EXPECT_EQ(s->ReadPixel(12, 8), 0xFFFFFFFFu);
    EXPECT_EQ(s->ReadPixel(7, 4), 0xFF000000u);
    EXPECT_EQ(s->ReadPixel(7, 6), 0xFF000000u);
    EXPECT_EQ(Lit(s), 10 + 11);
    // Drawn backwards, the first end is still lit and the last still left out.
    DrawLine(12, 11, 2, 11, 0);
    DrawLine(20, 12, 20, 2, 0);
    s = Screen();
    EXPECT_EQ(s->ReadPixel(12, 11), 0xFFFFFFFFu);
    EXPECT_EQ(s->ReadPixel(2, 11), 0xFF000000u);
    EXPECT_EQ(s->ReadPixel(20, 12), 0xFFFFFFFFu);
    EXPECT_EQ(s->ReadPixel(20, 2), 0xFF000000u);
    EXPECT_EQ(Lit(s), 10 + 11 + 10 + 10);
}

TEST_F(RenderTest, WidthOneIsThinAndAnyWiderWidthIsAQuad) {
    SetLineWidth(1);
    DrawLine(2, 5, 12, 5, 0);
    EXPECT_EQ(Lit(Screen()), 10);
    Cls();
    SetLineWidth(1.5f);  // rows whose centres lie within 0.75 of y = 5 and 10: two each
    DrawLine(2, 5, 12, 5, 0);
    DrawLine(2, 10, 12, 10, 0);
    auto s = Screen();
    EXPECT_EQ(s->ReadPixel(5, 4), 0xFFFFFFFFu);
    EXPECT_EQ(s->ReadPixel(5, 5), 0xFFFFFFFFu);
    EXPECT_EQ(s->ReadPixel(5, 6), 0xFF000000u);
    EXPECT_EQ(s->ReadPixel(12, 5), 0xFF000000u);
    EXPECT_EQ(Lit(s), 40);
}

TEST_F(RenderTest, DiagonalWideLineIsWidenedAlongY) {
    SetLineWidth(6);
    DrawLine(20, 20, 30, 30, 0);
    auto s = Screen();
    EXPECT_EQ(s->ReadPixel(20, 18), 0xFFFFFFFFu);  // inside the vertical end cap
    EXPECT_EQ(s->ReadPixel(18, 20), 0xFF000000u);  // would be inside a horizontal one
    SetLineWidth(4);
    DrawLine(40, 10, 42, 30, 0);  // steep: widened along x
    s = Screen();
    EXPECT_EQ(s->ReadPixel(38, 10), 0xFFFFFFFFu);
    EXPECT_EQ(s->ReadPixel(40, 9), 0xFF000000u);
}

TEST_F(RenderTest, OvalFillsItsRectangle) {
    DrawOval(10, 10, 20, 10);
    auto s = Screen();
    EXPECT_EQ(s->ReadPixel(20, 15), 0xFFFFFFFFu);
    EXPECT_EQ(s->ReadPixel(11, 15), 0xFFFFFFFFu);
    EXPECT_EQ(s->ReadPixel(20, 10), 0xFFFFFFFFu);
    EXPECT_EQ(s->ReadPixel(10, 10), 0xFF000000u);
    EXPECT_EQ(s->ReadPixel(29, 19), 0xFF000000u);
    EXPECT_NEAR(Lit(s), 3.14159 * 10 * 5, 12);
}

TEST_F(RenderTest, PositiveRotationTurnsClockwise) {
    SetRotation(90);
    float ix, iy, jx, jy;
    GetTransform(&ix, &iy, &jx, &jy);
    EXPECT_NEAR(ix, 0, 1e-6);
    EXPECT_EQ(jx, 1.0f);  // local (1, 0) lands at screen (0, 1): downwards
    DrawRect(20, 10, 10, 2);
    auto s = Screen();
    EXPECT_EQ(s->ReadPixel(19, 15), 0xFFFFFFFFu);
    EXPECT_EQ(s->ReadPixel(18, 19), 0xFFFFFFFFu);
    EXPECT_EQ(s->ReadPixel(21, 15), 0xFF000000u);
    EXPECT_EQ(s->ReadPixel(25, 11), 0xFF000000u);
    EXPECT_EQ(Lit(s), 20);
}

TEST_F(RenderTest, PlotAndScaleAndOrigin) {
    Plot(3, 4);
    EXPECT_EQ(Pixel(3, 4), 0xFFFFFFFFu);
    SetOrigin(10, 10);
    SetScale(2, 3);
    DrawRect(0, 0, 2, 2);
    SetOrigin(0, 0);
    auto s = Screen();
    EXPECT_EQ(s->ReadPixel(13, 15), 0xFFFFFFFFu);
    EXPECT_EQ(s->ReadPixel(14, 15), 0xFF000000u);
    EXPECT_EQ(Lit(s), 1 + 4 * 6);
}

TEST_F(RenderTest, HandleMovesRectanglesButIsStoredNegated) {
    SetHandle(2, 1);
    EXPECT_EQ(TVorn2DGraphics::Current()->handle_x, -2.0f);
    DrawRect(10, 10, 4, 4);
    SetHandle(0, 0);
    EXPECT_EQ(Pixel(8, 9), 0xFFFFFFFFu);
    EXPECT_EQ(Pixel(12, 12), 0xFF000000u);
}

TEST_F(RenderTest, ViewportScissorsDrawingButNotCls) {
    SetViewport(10, 5, 6, 4);
    DrawRect(0, 0, kW, kH);
    auto s = Screen();
    EXPECT_EQ(Lit(s), 24);
    EXPECT_EQ(s->ReadPixel(10, 5), 0xFFFFFFFFu);
    EXPECT_EQ(s->ReadPixel(15, 8), 0xFFFFFFFFu);
    EXPECT_EQ(s->ReadPixel(16, 8), 0xFF000000u);
    EXPECT_EQ(s->ReadPixel(15, 9), 0xFF000000u);
    SetClsColor(0, 0, 255);
    Cls();
    EXPECT_EQ(Pixel(0, 0), 0xFF0000FFu);
    Flip(0);  // presenting must not lose the clip rectangle
    DrawRect(0, 0, kW, kH);
    EXPECT_EQ(Pixel(0, 0), 0xFF0000FFu);
    EXPECT_EQ(Pixel(10, 5), 0xFFFFFFFFu);
    SetViewport(0, 0, kW, kH);
}

TEST_F(RenderTest, LogicalSizeScalesTheProjection) {
    SetLogicalSize(kW / 2.0f, kH / 2.0f);
    float sx, sy;
    GetLogicalScale(&sx, &sy);
    EXPECT_EQ(sx, 0.5f);
    DrawRect(1, 1, 1, 1);
    SetLogicalSize(kW, kH);
    auto s = Screen();
    EXPECT_EQ(s->ReadPixel(2, 2), 0xFFFFFFFFu);
    EXPECT_EQ(s->ReadPixel(3, 3), 0xFFFFFFFFu);
    EXPECT_EQ(Lit(s), 4);
}

TEST_F(RenderTest, FrameSurvivesAPresent) {
    SetClsColor(12, 34, 56);
    Cls();
    SetColor(200, 0, 0);
    DrawRect(3, 3, 5, 5);
    auto before = Screen();
    Flip(0);
    auto after = Screen();
    EXPECT_EQ(0, memcmp(before->pixels, after->pixels, size_t(before->pitch) * kH));
    EXPECT_EQ(after->ReadPixel(0, 0), 0xFF0C2238u);
    Flip(1);
    EXPECT_EQ(Pixel(4, 4), 0xFFC80000u);
}

// Primitives larger than the batch buffers are drawn in pieces, not dropped.
TEST_F(RenderTest, PrimitivesLargerThanTheBuffersAreDrawnWhole) {
    DrawOval(32 - 100000, 24 - 100000, 200000, 200000);  // 200,000 points
    EXPECT_EQ(Lit(Screen()), kW * kH);
    Cls();
    std::vector<float> xy;  // the square (10, 10)-(30, 30) walked in 200,000 points
    constexpr int kPerSide = 50000;
    const float corners[5][2] = {{10, 10}, {30, 10}, {30, 30}, {10, 30}, {10, 10}};
    for (int side = 0; side < 4; ++side) {
        const float* a = corners[side];
        const float* b = corners[side + 1];
        for (int k = 0; k < kPerSide; ++k) {
            const float t = float(k) / kPerSide;
            xy.push_back(a[0] + (b[0] - a[0]) * t);
            xy.push_back(a[1] + (b[1] - a[1]) * t);
        }
    }
    DrawPoly(xy.data(), int(xy.size() / 2));
    auto s = Screen();
    EXPECT_EQ(Lit(s), 400);
    EXPECT_EQ(s->ReadPixel(10, 29), 0xFFFFFFFFu);
    EXPECT_EQ(s->ReadPixel(29, 10), 0xFFFFFFFFu);
}

// Sizes far beyond anything drawable neither abort nor write out of bounds.
TEST_F(RenderTest, HugeSizesAreCappedOrRefused) {
    DrawOval(32 - 6e5f, 24 - 6e5f, 1.2e6f, 1.2e6f);  // capped at 2^20 points, still whole
    EXPECT_EQ(Lit(Screen()), kW * kH);
    DrawOval(32 - 5e9f, 24 - 5e9f, 1e10f, 1e10f);  // asked for 2^31 points
    Cls();
    auto image = CreateImage(65536, 16385, 1, 0);  // its pixmap would need over 4 GiB
    EXPECT_EQ(LockImage(image, 0, 1, 1), nullptr);
    DrawImage(image, 0, 0);
    EXPECT_EQ(image->frames[0], nullptr);
    EXPECT_EQ(GrabPixmap(0, 0, 65536, 16385), nullptr);
    CaptureImage(image, 0, 0, 0);
    EXPECT_EQ(image->pixmaps[0], nullptr);
    EXPECT_EQ(Lit(Screen()), 0);
}

// A rectangle of negative size holds no pixel: it clips everything, not what came before.
TEST_F(RenderTest, NegativeViewportClipsEverything) {
    SetViewport(2, 2, 8, 8);
    DrawRect(0, 0, kW, kH);
    EXPECT_EQ(Lit(Screen()), 64);
    Cls();
    SetViewport(20, 20, -5, -5);
    DrawRect(0, 0, kW, kH);
    EXPECT_EQ(Lit(Screen()), 0);
    int x, y, w, h;
    GetViewport(&x, &y, &w, &h);
    EXPECT_EQ(w, -5);  // the record keeps what it was given
    SetViewport(0, 0, kW, kH);
    DrawRect(0, 0, 1, 1);
    EXPECT_EQ(Lit(Screen()), 1);
}

}  // namespace

// Where the window's surface has an alpha channel (as a compositor may give it), what blending
// leaves in the back buffer's alpha must not reach it: the window would be see-through.
TEST(OpaqueWindow, PresentsOpaquePixelsWhateverTheBackBufferAlpha) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    ASSERT_NE(OpenGraphics(16, 16, 0, 60, 0), nullptr);  // starts the window system, which
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);           // keeps the attributes of the next
    TGraphics* graphics = OpenGraphics(16, 16, 0, 60, 0);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 0);
    ASSERT_NE(graphics, nullptr) << LastGraphicsError();
    SetBlend(BLEND_ALPHA);
    SetColor(255, 0, 0);
    SetAlpha(0.5f);
    DrawRect(0, 0, 4, 4);
    Flip(0);
    // Read straight from OpenGL: GrabPixmap forces alpha to 255.
    uint8_t back[4] = {}, window[4] = {};
    glReadPixels(1, 14, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, back);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    GLint alpha_bits = 0;
    glGetFramebufferAttachmentParameteriv(GL_READ_FRAMEBUFFER, GL_BACK_LEFT,
                                          GL_FRAMEBUFFER_ATTACHMENT_ALPHA_SIZE, &alpha_bits);
    glReadPixels(1, 14, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, window);
    GLint fbo = 0;
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &fbo);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, GLuint(fbo));
    EXPECT_GT(alpha_bits, 0) << "the window has no alpha channel: nothing to check";
    EXPECT_EQ(back[3], 191);  // 127 + 255 * (255 - 127) / 255: the back buffer keeps its alpha
    EXPECT_EQ(window[3], 255);
    EXPECT_EQ(window[0], back[0]);
    EXPECT_EQ(window[1], back[1]);
    EXPECT_EQ(GrabPixmap(1, 1, 1, 1)->ReadPixel(0, 0), 0xFF7F0000u);
    CloseGraphics();
}

namespace {
// A scene that mixes kinds, modes and textures, drawn with and without batching.
void DrawMixedScene() {
    auto image = CreateImage(4, 4, 1, 0);
    auto p = LockImage(image, 0, 1, 1);
    for (int i = 0; i < 16; ++i)
        p->WritePixel(i % 4, i / 4, uint32_t(i * 16) << 24 | 0x00FF8040u);
    const int modes[4] = {BLEND_ALPHA, BLEND_LIGHT, BLEND_MASK, BLEND_SHADE};
    for (int k = 0; k < 40; ++k) {
        SetBlend(modes[k / 10]);
        SetColor(40 + k * 5, 255 - k * 3, k * 6);
        SetAlpha(0.3f + float(k % 7) * 0.1f);
        SetLineWidth(float(k % 3) * 2 + 1);
        DrawLine(float(k), 2, float(60 - k), 40, k % 2);
        DrawRect(float(k % 13) * 4, float(k % 11) * 4, 9, 7);
        DrawImage(image, float(k % 9) * 6, float(k % 5) * 8);
        DrawOval(float(k % 8) * 7, 20, 11, 9);
        Plot(float(k), float(k % 17));
        if (k % 6 == 5) {  // rewritten while draws of the old content may still be queued
            LockImage(image, 0, 1, 1)->WritePixel(k % 4, 1, 0xFF000000u | uint32_t(k) << 10);
            DrawImage(image, float(k), 30);
        }
    }
}

TEST_F(RenderTest, BatchedDrawingEqualsDrawingEachPrimitiveAtOnce) {
    DrawMixedScene();
    auto batched = Screen();
    Cls();
    TVorn2DGraphics::Current()->_driver->SetFlushEachPrimitive(true);
    DrawMixedScene();
    auto at_once = Screen();
    TVorn2DGraphics::Current()->_driver->SetFlushEachPrimitive(false);
    EXPECT_EQ(0, memcmp(batched->pixels, at_once->pixels, size_t(batched->pitch) * kH));
    EXPECT_GT(Lit(batched), 500);
}

// One run of quads longer than a draw call's index range goes out in several draw calls, each
// starting at its own vertices.
TEST_F(RenderTest, QuadsBeyondOneDrawCallAreAllDrawn) {
    Flip(0);
    TVorn2DDriver* driver = TVorn2DGraphics::Current()->_driver;
    const int before = driver->DrawCallCount();
    SetColor(40, 40, 40);
    for (int i = 0; i < 16384; ++i)
        DrawRect(float(i % 32), float(i / 32 % 16), 1, 1);
    SetColor(255, 255, 255);
    for (int i = 0; i < 100; ++i)
        DrawRect(float(i % 50), float(20 + i / 50), 1, 1);
    auto s = Screen();
    EXPECT_EQ(driver->DrawCallCount() - before, 2);
    EXPECT_EQ(s->ReadPixel(31, 15), 0xFF282828u);
    EXPECT_EQ(s->ReadPixel(0, 20), 0xFFFFFFFFu);
    EXPECT_EQ(s->ReadPixel(49, 21), 0xFFFFFFFFu);
    EXPECT_EQ(Lit(s), 32 * 16 + 100);
}

TEST_F(RenderTest, AdditiveLinesOfEveryWidthShareOneDraw) {
    Flip(0);
    TVorn2DDriver* driver = TVorn2DGraphics::Current()->_driver;
    const int before = driver->DrawCallCount();
    for (int i = 0; i < 100; ++i) {  // as a trail particle draws itself
        SetBlend(BLEND_LIGHT);
        SetAlpha(float(i) / 100);
        SetLineWidth(6);
        DrawLine(float(i % 50), 3, float(i % 50) + 5, 9, 0);
        SetLineWidth(1);
        DrawLine(float(i % 50), 20, float(i % 50) + 5, 26, 0);
        SetBlend(BLEND_ALPHA);  // undone before anything is drawn with it: no flush
    }
    Flip(0);
    EXPECT_EQ(driver->DrawCallCount() - before, 1);  // thin lines are quads as well
}

TEST_F(RenderTest, UnknownBlendModesKeepThePreviousOneInForce) {
    SetClsColor(100, 100, 100);
    Cls();
    SetBlend(BLEND_LIGHT);
    SetBlend(7);
    EXPECT_EQ(GetBlend(), 7);
    SetColor(50, 50, 50);
    DrawRect(0, 0, 2, 2);
    EXPECT_EQ(Pixel(0, 0), 0xFF969696u);  // still additive
}
}  // namespace

// A record fresh from OpenGraphics: initial state and both buffers cleared.
TEST(FreshGraphics, StartsInMaskModeWithClearedBuffers) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    ASSERT_NE(OpenGraphics(32, 16, 0, 60, 0), nullptr) << LastGraphicsError();
    EXPECT_EQ(ScreenWidth(), 32);
    EXPECT_EQ(GetBlend(), BLEND_MASK);
    EXPECT_EQ(TVorn2DGraphics::Current()->_setup, 1);
    int x, y, w, h;
    GetViewport(&x, &y, &w, &h);
    EXPECT_EQ(w, 32);
    float vw, vh;
    GetLogicalSize(&vw, &vh);
    EXPECT_EQ(vh, 16.0f);
    auto s = GrabPixmap(0, 0, 32, 16);
    for (int i = 0; i < 32 * 16; ++i)
        ASSERT_EQ(s->ReadPixel(i % 32, i / 32), 0xFF000000u);
    // Texels of alpha 127 fail the mask test, 128 pass.
    auto image = CreateImage(2, 1, 1, 0);
    auto p = LockImage(image, 0, 1, 1);
    p->WritePixel(0, 0, 0x7FFFFFFF);
    p->WritePixel(1, 0, 0x80FFFFFF);
    DrawImage(image, 4, 4);
    EXPECT_EQ(GrabPixmap(4, 4, 1, 1)->ReadPixel(0, 0), 0xFF000000u);
    EXPECT_EQ(GrabPixmap(5, 4, 1, 1)->ReadPixel(0, 0), 0xFFFFFFFFu);
    // A new context makes every texture stale; the next draw builds it again.
    const int generation = image->seqs[0];
    ASSERT_NE(OpenGraphics(32, 16, 0, 60, 0), nullptr) << LastGraphicsError();
    EXPECT_NE(GraphicsGeneration(), generation);
    SetBlend(BLEND_SOLID);
    DrawImage(image, 4, 4);
    EXPECT_EQ(image->seqs[0], GraphicsGeneration());
    EXPECT_EQ(GrabPixmap(5, 4, 1, 1)->ReadPixel(0, 0), 0xFFFFFFFFu);
    CloseGraphics();
    EXPECT_EQ(TVorn2DGraphics::Current(), nullptr);
    EXPECT_EQ(ScreenWidth(), 0);
    DrawRect(0, 0, 1, 1);  // nothing is open: ignored
    EXPECT_EQ(GrabPixmap(0, 0, 1, 1), nullptr);
}

TEST(FreshGraphics, FailureIsReportedNotFatal) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    EXPECT_EQ(OpenGraphics(0, 0, 0, 60, 0), nullptr);
    EXPECT_FALSE(LastGraphicsError().empty());
    EXPECT_EQ(TVorn2DGraphics::Current(), nullptr);
    ASSERT_NE(OpenGraphics(8, 8, 0, 60, 0), nullptr) << LastGraphicsError();
    EXPECT_TRUE(LastGraphicsError().empty());
    CloseGraphics();
}
