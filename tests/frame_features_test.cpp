// The features of a play frame, drawn by the game's own steps over a plain background in the
// started game, against a model: each image sampled where the rules put it (place, offset,
// turn, scale), tinted and blended as the rules say, pixel by pixel over the whole feature.
// The model filters linearly and rounds once per layer as the framebuffer does; llvmpipe's
// fixed-point filter weights and blend rounding, and the driver's corners placed on a
// sixteenth of a pixel (which moves a turned sprite's texels by up to a thirty-second), leave a
// few units between the two, hence the tolerance.
#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "game/play_rules.hpp"
#include "game/scene.hpp"
#include "game/ship_sprite.hpp"
#include "game_fixture.hpp"

namespace {
constexpr int kTolerance = 4;
constexpr int kBg[3] = {40, 60, 90};
constexpr double kLightHeight = 900;

struct Rgb {
    double c[3];
};

// One image drawn centred at (x, y), turned by `rot` degrees, scaled, tinted and blended.
struct Layer {
    PixmapPtr pix;
    double x, y, rot = 0, sx = 1, sy = 1;
    int r = 255, g = 255, b = 255;
    double alpha = 1;
    int blend = BLEND_ALPHA;
};

// The texel (a, r, g, b) filtered linearly at texture point (u, v), the edges clamped.
std::array<double, 4> Sample(const TPixmap& p, double u, double v) {
    u -= 0.5, v -= 0.5;
    const int fu = static_cast<int>(std::floor(u)), fv = static_cast<int>(std::floor(v));
    const double wu = u - fu, wv = v - fv;
    std::array<double, 4> out{};
    for (int j = 0; j < 2; ++j) {
        for (int i = 0; i < 2; ++i) {
            const uint32_t t = p.ReadPixel(std::clamp(fu + i, 0, p.width - 1),
                                           std::clamp(fv + j, 0, p.height - 1));
            const double w = (i ? wu : 1 - wu) * (j ? wv : 1 - wv);
            for (int k = 0; k < 4; ++k)
                out[k] += w * (t >> (24 - 8 * k) & 255);
        }
    }
    return out;
}

// `dst` with the layer drawn over it, at the centre of pixel (px, py).
Rgb Over(Rgb dst, const Layer& l, int px, int py) {
    const double dx = px + 0.5 - l.x, dy = py + 0.5 - l.y;
    const double s = Sin(l.rot), c = Cos(l.rot);
    const double u = (c * dx + s * dy) / l.sx + l.pix->width * 0.5;
    const double v = (-s * dx + c * dy) / l.sy + l.pix->height * 0.5;
    if (u < 0 || v < 0 || u > l.pix->width || v > l.pix->height) return dst;
    const std::array<double, 4> t = Sample(*l.pix, u, v);
    const double a = t[0] / 255 * FloatToInt(std::clamp(l.alpha, 0.0, 1.0) * 255) / 255;
    const int tint[3] = {l.r, l.g, l.b};
    for (int k = 0; k < 3; ++k) {
        const double src = t[k + 1] * tint[k] / 255 * a;
        const double out = l.blend == BLEND_LIGHT ? dst.c[k] + src : src + dst.c[k] * (1 - a);
        dst.c[k] = std::round(std::min(out, 255.0));
    }
    return dst;
}

Rgb Model(const std::vector<Layer>& layers, int px, int py) {
    Rgb out{{double{kBg[0]}, double{kBg[1]}, double{kBg[2]}}};
    for (const Layer& l : layers)
        out = Over(out, l, px, py);
    return out;
}

PixmapPtr Pix(const ImagePtr& image, int frame = 0) {
    return image->pixmaps[frame];
}

// One texel of the given ARGB: stretched, it stands for the flat colour of a line.
PixmapPtr Texel(uint32_t argb) {
    PixmapPtr p = CreatePixmap(1, 1, PIXFMT_RGBA32);
    p->WritePixel(0, 0, argb);
    return p;
}

// A flat stroke covering [x0, x1) x [y0, y1), as a wide line's quad does.
Layer Stripe(double x0, double y0, double x1, double y1, int r, int g, int b, double alpha,
             int blend) {
    static const PixmapPtr white = Texel(0xFFFFFFFF);
    return {white, (x0 + x1) / 2, (y0 + y1) / 2, 0, x1 - x0, y1 - y0, r, g, b, alpha, blend};
}

// The horizontal part of the unit vector from the light 900 above the window centre.
void LightAt(double x, double y, double* lx, double* ly) {
    const double dx = x - 640, dy = y - 250;
    const double n = std::sqrt(dx * dx + dy * dy + kLightHeight * kLightHeight);
    *lx = dx / n, *ly = dy / n;
}

int Channel(uint32_t argb, int k) {
    return static_cast<int>(argb >> (16 - 8 * k) & 255);
}

// Every pixel of the rectangle (x0, y0)-(x1, y1) against the model; returns how many of
// them the layers change by more than the tolerance, so that a test can insist that its
// feature shows at all.
int ExpectModel(const std::vector<Layer>& layers, int x0, int y0, int x1, int y1,
                const std::string& what) {
    const PixmapPtr shot = GrabPixmap(x0, y0, x1 - x0 + 1, y1 - y0 + 1);
    int worst = 0, wx = 0, wy = 0, shown = 0;
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            const Rgb m = Model(layers, x, y);
            const uint32_t p = shot->ReadPixel(x - x0, y - y0);
            bool marked = false;
            for (int k = 0; k < 3; ++k) {
                const int d = std::abs(Channel(p, k) - static_cast<int>(m.c[k]));
                if (d > worst) worst = d, wx = x, wy = y;
                marked |= std::abs(m.c[k] - kBg[k]) > kTolerance;
            }
            shown += marked;
        }
    }
    EXPECT_LE(worst, kTolerance) << what << ": worst pixel (" << wx << ", " << wy << ")";
    return shown;
}

// The same over the square of half-side `r` around (cx, cy), within the window.
int ExpectModel(const std::vector<Layer>& layers, double cx, double cy, int r,
                const std::string& what) {
    const int x = FloatToInt(cx), y = FloatToInt(cy);
    return ExpectModel(layers, std::max(0, x - r), std::max(0, y - r), std::min(1279, x + r),
                       std::min(499, y + r), what);
}

class FrameFeaturesTest : public GameTest {
  protected:
    void SetUp() override {
        GameTest::SetUp();
        if (HasFatalFailure()) return;
        O().enemies.Clear();
        O().trails.Clear();
        Blank();
    }
    static void Blank() {
        SetViewport(0, 0, 1280, 500);
        SetClsColor(kBg[0], kBg[1], kBg[2]);
        Cls();
        SetBlend(BLEND_ALPHA);
        SetAlpha(1);
        SetRotation(0);
        SetScale(1, 1);
        SetLineWidth(1);  // as the crosshair leaves it
    }
};

// A ship at `pos` turned to `rot`, as its movement leaves it.
EnemyPtr ShipAt(int x, int y, float rot, double vx, double vy, int carrier) {
    EnemyPtr e = enemy::Create(x, y, 0, 0, 170, 210, 255, 0);
    e->rot = rot;
    e->ecos = static_cast<float>(Cos(rot)), e->esin = static_cast<float>(Sin(rot));
    e->vel.x = vx, e->vel.y = vy;
    e->carrier = static_cast<uint8_t>(carrier);
    return e;
}

// What the rules draw for an enemy: the shadow away from the light, the tinted ship, the
// engine glow 10 pixels behind a fast ship, the token on the carrier. `flicker` is the
// generator's next float.
std::vector<Layer> EnemyLayers(const enemy& e, float flicker) {
    double lx = 0, ly = 0;
    LightAt(e.pos.x, e.pos.y, &lx, &ly);
    const double rot = e.rot - 90.0, scale = 1.1 + 0.2 * (lx * lx + ly * ly);
    const int r = FloatToInt(e.col.r), g = FloatToInt(e.col.g), b = FloatToInt(e.col.b);
    std::vector<Layer> out{
        {Pix(e.shadow), e.pos.x + 20 * lx, e.pos.y + 20 * ly, rot, scale, scale, r, g, b},
        {e.ship_pix, e.pos.x, e.pos.y, rot, 1, 1, r, g, b}};
    const double q = e.vel.x * e.vel.x + e.vel.y * e.vel.y;
    const double back_x = e.pos.x - 10 * Cos(e.rot), back_y = e.pos.y - 10 * Sin(e.rot);
    if (q > 2)
        out.push_back({Pix(Generated().glow_blue), back_x, back_y, rot, 1, 1, r, g, b,
                       0.2 * flicker + 0.01 * q, BLEND_LIGHT});
    if (e.carrier)
        out.push_back({Pix(Generated().glow_red), e.pos.x, e.pos.y, rot, 1, 1, 255, 255, 255, 1,
                       BLEND_LIGHT});
    return out;
}

TEST_F(FrameFeaturesTest, EnemyShadowShipEngineGlowAndTokenAtTheirPlaces) {
    // A fast carrier up left (its shadow falls up left), a slow one on the right.
    const EnemyPtr fast = ShipAt(200, 120, 35, 2.5, 1.5, 1);
    const EnemyPtr slow = ShipAt(1050, 400, 200, -0.9, 0.3, 0);
    SeedRandom(2024);
    const float flicker = RandomFloat();
    SeedRandom(2024);
    fast->drawalt();
    slow->drawalt();
    EXPECT_GT(ExpectModel(EnemyLayers(*fast, flicker), 200, 120, 70, "fast carrier"), 2000);
    EXPECT_GT(ExpectModel(EnemyLayers(*slow, 0), 1050, 400, 70, "slow ship"), 600);
    // The state it leaves, and each ship's exhaust starting where its glow is.
    EXPECT_EQ(GetBlend(), BLEND_ALPHA);
    EXPECT_EQ(GetAlpha(), 1.0f);
    EXPECT_EQ(GetRotation(), 110.0f);
    float sx = 0, sy = 0;
    GetScale(&sx, &sy);
    EXPECT_EQ(sx, 1.0f);
    for (const EnemyPtr& e : {fast, slow}) {
        EXPECT_NEAR(e->trail_child->pos.x, e->pos.x - 10 * Cos(e->rot), 1e-3);
        EXPECT_NEAR(e->trail_child->pos.y, e->pos.y - 10 * Sin(e->rot), 1e-3);
    }
}

TEST_F(FrameFeaturesTest, PlayerShadowShipNozzleGlowsStreaksAndTokenGlow) {
    Replay("0 down 1\n", 1);  // the engines burn while the button is down
    O().trails.Clear();
    TGameState& g = G();
    g.ship_x = 900, g.ship_y = 130, g.heading = 30;
    TPlayFrame f;
    f.s = static_cast<float>(Sin(g.heading)), f.c = static_cast<float>(Cos(g.heading));
    light_ship(g, f);
    relight_ship_sprite(f);
    Blank();
    draw_ship(g, f);
    SeedRandom(77);
    const float glow = RandomFloat(), streak = RandomFloat();
    SeedRandom(77);
    draw_engines(g, f);
    O().carrying = 1;
    g.the_hole->open = 0;
    token_step(g);  // the hole is far: the token glows on the ship, nothing is delivered
    ASSERT_EQ(O().carrying, 1);

    double lx = 0, ly = 0;
    LightAt(900, 130, &lx, &ly);
    const double r2 = lx * lx + ly * ly, scale = 1.1 + 0.2 * r2;
    const double s = Sin(30), c = Cos(30);
    const Content& k = Generated();
    // The nozzles, 25 behind the centre (the ship moves along (-s, c)) and 8 to either side.
    const double n[2][2] = {{900 + 25 * s + 8 * c, 130 - 25 * c + 8 * s},
                            {900 + 25 * s - 8 * c, 130 - 25 * c - 8 * s}};
    const double streak_alpha = (0.1 + 0.01 * streak) * (1 - 3 * r2);
    std::vector<Layer> layers{
        {Pix(k.player_shadow), 900 + 40 * lx, 130 + 40 * ly, 30, scale, scale, 255, 250, 235},
        {Pix(k.player_ship), 900, 130, 30, 1, 1, 255, 250, 235}};
    for (const auto& e : n)
        layers.push_back(
            {Pix(k.glow_blue), e[0], e[1], 0, 1, 1, 255, 255, 255, 0.8 + 0.2 * glow, BLEND_LIGHT});
    for (const auto& e : n)
        layers.push_back(
            {Pix(k.glow_blue), e[0], e[1], 0, 10, 2, 155, 55, 255, streak_alpha, BLEND_LIGHT});
    layers.push_back({Pix(k.glow_red), 900, 130, 0, 1, 1, 255, 255, 255, 1, BLEND_LIGHT});
    EXPECT_GT(ExpectModel(layers, 900, 130, 75, "ship"), 4000);
    // The streaks reach far to either side.
    ExpectModel(layers, 600, 110, 8, "left streak");
    ExpectModel(layers, 1200, 110, 8, "right streak");
    ASSERT_TRUE(g.left_trail && g.right_trail);
    EXPECT_NEAR(g.left_trail->pos.x, n[0][0], 1e-3);
    EXPECT_NEAR(g.left_trail->pos.y, n[0][1], 1e-3);
    EXPECT_NEAR(g.right_trail->pos.x, n[1][0], 1e-3);
    EXPECT_NEAR(g.right_trail->pos.y, n[1][1], 1e-3);
}

// Stage `stage` of the hole lit from the light above the window centre: the opacity of the
// stage, the colour from deep blue (20, 35, 80) unlit to (255, 255, 245) lit.
PixmapPtr LitStage(const hole& h, int stage) {
    const Content& c = Generated();
    double lx = 0, ly = 0;
    LightAt(h.pos.x, h.pos.y, &lx, &ly);
    const double lz = std::sqrt(1 - lx * lx - ly * ly);
    PixmapPtr p = CreatePixmap(80, 80, PIXFMT_RGBA32);
    for (int y = 0; y < 80; ++y) {
        for (int x = 0; x < 80; ++x) {
            const size_t i = x + y * 80 + stage * 6400u;
            const double l = std::clamp(
                c.hole_normx[i] * lx + c.hole_normy[i] * ly + c.hole_normz[i] * lz, 0.0, 1.0);
            const auto channel = [&](double base, double span) {
                return static_cast<uint32_t>(base + span * l);
            };
            p->WritePixel(x, y,
                          uint32_t{c.hole_mask[i]} << 24 | channel(20, 235) << 16 |
                              channel(35, 220) << 8 | channel(80, 165));
        }
    }
    return p;
}

TEST_F(FrameFeaturesTest, HoleStagesUnderItsOrangeGlowAndBloom) {
    const HolePtr h = hole::Create(400, 300);
    G().the_hole = h;
    // Tinted a lighter blue further from the centre: r in half screen widths.
    const double r = std::hypot(400 - 640, 300 - 250) / 640;
    const int tint[3] = {FloatToInt(55 + 25 * r), FloatToInt(85 + 27 * r),
                         FloatToInt(155 + 40 * r)};
    const Content& c = Generated();
    for (const int stage : {5, 20, 31, 46, 63}) {
        for (const float alpha : {1.0f, 0.5f}) {
            Blank();
            h->alpha = alpha;
            h->open = stage;
            h->stillopen = 0;
            h->draw();
            std::vector<Layer> layers;
            if (alpha == 1)  // the under-glow, in the frame's alpha blend
                layers.push_back({Pix(c.hole_glow), 400, 300, 0, 1, 1, 230, 100, 20});
            layers.push_back(
                {LitStage(*h, stage), 400, 300, 0, 1, 1, tint[0], tint[1], tint[2], alpha});
            if (alpha == 1) {
                const double bloom = stage / 148.0;
                layers.push_back({Pix(c.glow_red), 400, 300, 0, 4, 4, 255, 240, 235, bloom * bloom,
                                  BLEND_LIGHT});
            }
            const std::string what =
                "stage " + std::to_string(stage) + " alpha " + std::to_string(alpha);
            // From stage 57 on the hole itself is clear; faded, nothing else shows.
            const int least = alpha == 1 ? 2000 : stage < 40 ? 1000 : 0;
            EXPECT_GE(ExpectModel(layers, 400, 300, 60, what), least) << what;
            float sx = 0, sy = 0;
            GetScale(&sx, &sy);
            EXPECT_EQ(sx, 1.0f);
            EXPECT_EQ(GetBlend(), BLEND_ALPHA);
        }
    }
}

TEST_F(FrameFeaturesTest, TrailSegmentsFadeDrawByDraw) {
    // Two particles at rest, 100 pixels apart: the newer draws its segment back to the older
    // with a halo 6 wide, a core 2 wide and a line 1 wide, their alphas 0.2, 0.5 and 1 times
    // the square of its age, which falls by trail_fade each draw; below 0.1 it is gone.
    for (const float fade : {0.94f, 0.9f}) {
        O().trails.Clear();
        O().trail_fade = fade;
        const TrailPtr older = trail::Create(300, 200, 0, 0, 200, 150, 100, nullptr);
        const TrailPtr newer = trail::Create(400, 200, 0, 0, 200, 150, 100, older);
        float age = 1;
        for (int draw = 1; draw <= 45; ++draw) {
            Blank();
            trail::update();
            const bool drawn = age >= 0.1f;
            const double a = drawn ? double{age} * age : 0;
            // The halo over rows 197-202, the core over 199-200, the line on row 200; the
            // ends, where the thin line's last pixel is left out, are not compared.
            const std::vector<Layer> layers{
                Stripe(300, 197, 400, 203, 200, 150, 100, 0.2 * a, BLEND_LIGHT),
                Stripe(300, 199, 400, 201, 200, 150, 100, 0.5 * a, BLEND_LIGHT),
                Stripe(300, 200, 400, 201, 200, 150, 100, a, BLEND_LIGHT)};
            ExpectModel(layers, 303, 194, 397, 206,
                        "fade " + std::to_string(fade) + ", draw " + std::to_string(draw));
            age = drawn ? age * fade : age;
            // As the last (thin) line left it.
            ASSERT_EQ(GetBlend(), BLEND_ALPHA);
            ASSERT_EQ(GetLineWidth(), 1.0f);
        }
        EXPECT_EQ(O().trails.Count(), 0);
    }
    O().trail_fade = 0.94f;
}

// Frame k of the segmented ring lights the k tenths of the band clockwise from the top; the
// screen at the middle of each tenth, 48 pixels from the hole, against that.
void ExpectSegments(int lit, int hx, int hy) {
    for (int j = 1; j <= 10; ++j) {
        // theta: 0 at the left, 90 at the bottom, 270 at the top; tenth j of the ring runs
        // from 270 - 36 j (after a 2 degree gap) to 270 - 36 (j - 1).
        const double theta = 270 - 36 * j + 19;
        const int ox = FloatToInt(-48 * Cos(theta)), oy = FloatToInt(48 * Sin(theta));
        std::vector<Layer> layers;
        if (j <= lit) {
            const double v = 1 - std::hypot(ox, oy) / 57.6;
            const uint32_t a = static_cast<uint32_t>(255 * std::pow(Sin(v / 0.32 * 180), 0.2));
            layers.push_back({Texel(a << 24 | 0xFFDDCC), hx + ox + 0.5, hy + oy + 0.5, 0, 1, 1, 100,
                              130, 200, 0.4});
        }
        ExpectModel(layers, hx + ox, hy + oy, hx + ox, hy + oy,
                    std::to_string(lit) + " lit, segment " + std::to_string(j));
    }
}

TEST_F(FrameFeaturesTest, EachDeliveryLightsOneMoreRingSegmentAndFlashesTheHole) {
    TGameState& g = G();
    g.the_hole_x = 400, g.the_hole_y = 250;
    g.the_hole->pos.x = 400, g.the_hole->pos.y = 250;
    Blank();
    draw_side_panel(g);
    ExpectSegments(0, 400, 250);
    for (int delivery = 1; delivery <= 10; ++delivery) {
        O().carrying = 1;
        g.the_hole->open = 50;
        g.ship_x = 430, g.ship_y = 270;  // within 64 of the hole, counted along each axis
        Blank();
        token_step(g);
        ASSERT_EQ(g.deliveries, delivery);
        if (delivery == 1) {  // the token on the ship, then the flash twice its size on the hole
            const Content& c = Generated();
            ExpectModel({{Pix(c.glow_red), 430, 270, 0, 1, 1, 255, 255, 255, 1, BLEND_LIGHT},
                         {Pix(c.glow_red), 400, 250, 0, 2, 2, 255, 255, 255, 1, BLEND_LIGHT}},
                        410, 260, 80, "token and flash");
        }
        Blank();
        draw_side_panel(g);
        ExpectSegments(delivery, 400, 250);
    }
}

TEST_F(FrameFeaturesTest, TheTimeBarRisesFromTheGaugeBaseByTheTimeLeft) {
    // Two strokes at alpha 0.25 along x = 1260, the panel's line: 10 wide from y = 112 and
    // 2 to the left, 8 wide from y = 110, both up to 110 - wave_time, the top row included.
    TGameState& g = G();
    g.the_hole_x = 300, g.the_hole_y = 300;
    for (const float time : {100.0f, 50.0f, 13.0f}) {
        g.wave_time = time;
        Blank();
        draw_side_panel(g);
        const int top = 110 - static_cast<int>(time);
        ExpectModel({Stripe(1253, top, 1263, 112, 200, 80, 30, 0.25, BLEND_ALPHA),
                     Stripe(1256, top, 1264, 110, 250, 120, 90, 0.25, BLEND_ALPHA)},
                    1250, top - 3, 1267, 113, "time " + std::to_string(time));
    }
}
}  // namespace
