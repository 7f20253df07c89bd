// The scene of a play frame, drawn back to front.
#include "game/scene.hpp"

#include <algorithm>

#include "generate/content.hpp"
#include "generate/generate_util.hpp"
#include "objects/object_state.hpp"
#include "platform/draw/draw.hpp"

using gen::Single;

namespace {
constexpr int kLeftButton = 1;
constexpr float kCrosshairGap = 64;
constexpr int kPanelInset = 20;  // the panel's line stands this far from the right edge
constexpr float kNozzleBack = 25, kNozzleSide = 8;

void PanelColour(float alpha) {
    SetAlpha(alpha);
    SetColor(100, 130, 200);
}

// The last frame of `image` at most: deliveries may pass the ring's ten segments.
int ClampedFrame(const ImagePtr& image, int frame) {
    if (!image || image->FrameCount() == 0) return 0;
    return std::clamp(frame, 0, image->FrameCount() - 1);
}
}  // namespace

void draw_backdrop(const TGameState& g) {
    SetBlend(BLEND_ALPHA);
    SetAlpha(1);
    SetRotation(0);
    SetScale(1, 1);
    SetColor(255, 255, 255);
    DrawImage(Generated().backdrop, static_cast<float>(g.half_w), static_cast<float>(g.half_h));
}

void draw_crosshair(const TGameState& g) {
    PanelColour(0.4f);
    SetLineWidth(1);
    const float hx = g.the_hole_x, hy = g.the_hole_y;
    const float w = static_cast<float>(g.screen_w), h = static_cast<float>(g.screen_h);
    DrawLine(0, hy, hx - kCrosshairGap, hy);
    DrawLine(hx + kCrosshairGap, hy, w, hy);
    DrawLine(hx, 0, hx, hy - kCrosshairGap);
    DrawLine(hx, hy + kCrosshairGap, hx, h);
}

void draw_bumpers(TGameState& g) {
    SetAlpha(1);
    SetColor(255, 105, 125);
    for (int k = 1; k <= kBumperCount; ++k) {
        const int bx = BumperX(k), by = kBumperY;
        DrawImage(Generated().glow_white, static_cast<float>(bx), static_cast<float>(by));
        bounce_ship(g, bx, by);
    }
}

void draw_side_panel(const TGameState& g) {
    const Content& c = Generated();
    const float gx = static_cast<float>(g.screen_w - kPanelInset);
    const float h = static_cast<float>(g.screen_h);
    PanelColour(0.4f);
    DrawOval(gx - 3.5f, static_cast<float>(g.the_hole_y - Single(3.5f)), 8, 8);
    DrawLine(gx, h, gx, 115);
    DrawLine(gx, 0, gx, 4);
    DrawLine(gx, 0, gx, 4);  // twice: the tick shows denser than the other lines
    DrawLine(gx - 11, 5, gx - 11, 115);
    DrawLine(gx + 10, 5, gx + 10, 115);
    DrawLine(gx - 11, 5, gx + 10, 5);
    DrawLine(gx - 11, 114, gx + 10, 114);
    DrawImage(c.ring, g.the_hole_x, g.the_hole_y, 0);
    DrawImage(c.ring_segments, g.the_hole_x, g.the_hole_y,
              ClampedFrame(c.ring_segments, g.deliveries));
    // The wave time bar: a full gauge (100) reaches y = 10.
    const float top = static_cast<float>(110 - static_cast<double>(g.wave_time));
    SetAlpha(0.25f);
    SetColor(200, 80, 30);
    SetLineWidth(10);
    DrawLine(gx - 2, 112, gx - 2, top, 0);
    SetColor(250, 120, 90);
    SetLineWidth(8);
    DrawLine(gx, 110, gx, top, 0);
}

void draw_ship(const TGameState& g, const TPlayFrame& f) {
    const Content& c = Generated();
    SetColor(255, 250, 235);
    SetRotation(static_cast<float>(g.heading));
    const float scale = static_cast<float>(Single(1.1f) + Single(0.2f) * f.r2);
    SetScale(scale, scale);
    DrawImage(c.player_shadow, static_cast<float>(g.ship_x + 40.0 * f.lx),
              static_cast<float>(g.ship_y + 40.0 * f.ly));
    SetScale(1, 1);
    DrawImage(c.player_ship, g.ship_x, g.ship_y);
}

namespace {
struct Nozzles {
    float x1, y1, x2, y2;
};

// The two nozzles, 25 pixels behind the ship's centre and 8 to either side.
Nozzles NozzlesOf(const TGameState& g, const TPlayFrame& f) {
    const double s = f.s, c = f.c;
    return {static_cast<float>(g.ship_x + kNozzleBack * s + kNozzleSide * c),
            static_cast<float>(g.ship_y - kNozzleBack * c + kNozzleSide * s),
            static_cast<float>(g.ship_x + kNozzleBack * s - kNozzleSide * c),
            static_cast<float>(g.ship_y - kNozzleBack * c - kNozzleSide * s)};
}

void DrawAtNozzles(const ImagePtr& image, const Nozzles& n) {
    DrawImage(image, n.x1, n.y1);
    DrawImage(image, n.x2, n.y2);
}
}  // namespace

void draw_engines(TGameState& g, const TPlayFrame& f) {
    if (!IsButtonDown(kLeftButton)) {
        g.left_trail = nullptr;  // the next thrust starts new chains
        g.right_trail = nullptr;
        return;
    }
    const ImagePtr& glow = Generated().glow_blue;
    const Nozzles n = NozzlesOf(g, f);
    SetBlend(BLEND_LIGHT);
    SetAlpha(static_cast<float>(Single(0.8f) + Single(0.2f) * RandomFloat()));
    SetColor(255, 255, 255);
    SetRotation(0);
    DrawAtNozzles(glow, n);
    // Negative far from the centre; the drawing layer clamps it to 0.
    const double fade = 1 - 3.0 * f.r2;
    SetAlpha(static_cast<float>((Single(0.1f) + Single(0.01f) * RandomFloat()) * fade));
    SetColor(155, 55, 255);
    SetScale(10, 2);
    DrawAtNozzles(glow, n);
    const float vx = static_cast<float>(-static_cast<double>(g.ship_vx) * 100);
    const float vy = static_cast<float>(static_cast<double>(g.ship_vy) * 100);
    g.left_trail = trail::Create(n.x1, n.y1, vx, vy, 30, 44, 55, g.left_trail);
    g.right_trail = trail::Create(n.x2, n.y2, vx, vy, 30, 44, 55, g.right_trail);
}

void draw_vignette(const TGameState& g) {
    SetRotation(0);
    SetBlend(BLEND_ALPHA);
    SetScale(1, 1);
    SetAlpha(1);
    SetColor(0, 0, 0);
    DrawImage(Generated().vignette, static_cast<float>(g.half_w), static_cast<float>(g.half_h));
}
