// Draws one game-like frame through this drawing layer and the same work through SDL's own
// renderer (OpenGL back end, batching on), headless, and prints the time per frame of each.
// The frame: 10,000 textured 16 x 16 quads whose blend mode alternates between alpha and
// additive every 100 quads, then 10,000 trail segments of about 7 pixels drawn at widths 6, 2, 1.
#include <SDL2/SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "platform/base/base.hpp"
#include "platform/draw/draw.hpp"

namespace {
constexpr int kW = 1280, kH = 500;
constexpr int kQuads = 10000, kSegments = 10000, kRun = 100;
constexpr int kWarmup = 3, kFrames = 15;

struct Scene {
    std::vector<float> quad_xy;  // top-left corners
    std::vector<float> segment;  // x0, y0, x1, y1
    std::vector<float> age;      // alpha factor of each segment
};

Scene MakeScene() {
    Scene s;
    SeedRandom(12345);
    for (int i = 0; i < kQuads; ++i) {
        s.quad_xy.push_back(RandomFloat() * (kW - 16));
        s.quad_xy.push_back(RandomFloat() * (kH - 16));
    }
    for (int i = 0; i < kSegments; ++i) {
        const float x = RandomFloat() * (kW - 20) + 10, y = RandomFloat() * (kH - 20) + 10;
        const double a = RandomFloat() * 360.0;
        s.segment.insert(s.segment.end(), {x, y, float(x + 7 * Cos(a)), float(y + 7 * Sin(a))});
        s.age.push_back(RandomFloat());
    }
    return s;
}

// A 128 x 128 RGBA picture with soft alpha: a disc of colour fading out.
std::vector<uint32_t> SpriteArgb() {
    std::vector<uint32_t> argb(128 * 128);
    for (int y = 0; y < 128; ++y) {
        for (int x = 0; x < 128; ++x) {
            const double d = Sqrt((x - 63.5) * (x - 63.5) + (y - 63.5) * (y - 63.5)) / 64;
            const int a = d >= 1 ? 0 : FloatToInt((1 - d) * 255);
            argb[y * 128 + x] =
                uint32_t(a) << 24 | uint32_t(x * 2) << 16 | uint32_t(y * 2) << 8 | 200;
        }
    }
    return argb;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Milliseconds of processor time used by the whole process, rasteriser threads included.
double CpuMillis() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

struct Timing {
    double wall_ms;  // median per frame
    double cpu_ms;   // mean per frame, all threads
};

template <typename Fn>
Timing TimeFrames(Fn&& frame) {
    std::vector<double> ms;
    double cpu0 = 0;
    for (int i = 0; i < kWarmup + kFrames; ++i) {
        if (i == kWarmup) cpu0 = CpuMillis();
        const auto t0 = std::chrono::steady_clock::now();
        frame();
        const auto t1 = std::chrono::steady_clock::now();
        if (i >= kWarmup) ms.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
    }
    return {Median(ms), (CpuMillis() - cpu0) / kFrames};
}

Timing RunLayer(const Scene& s) {
    if (!OpenGraphics(kW, kH, 0, 60, 0)) {
        std::fprintf(stderr, "no graphics: %s\n", LastGraphicsError().c_str());
        std::exit(1);
    }
    auto image = CreateImage(128, 128, 1, IMAGE_MASKED | IMAGE_FILTERED);
    auto p = LockImage(image, 0, 1, 1);
    const auto argb = SpriteArgb();
    for (int i = 0; i < 128 * 128; ++i)
        p->WritePixel(i % 128, i / 128, argb[i]);
    auto frame = [&] {
        Cls();
        SetColor(255, 255, 255);
        SetAlpha(1);
        SetScale(0.125f, 0.125f);
        for (int i = 0; i < kQuads; ++i) {
            SetBlend((i / kRun) % 2 ? BLEND_LIGHT : BLEND_ALPHA);
            DrawImage(image, s.quad_xy[i * 2], s.quad_xy[i * 2 + 1]);
        }
        SetScale(1, 1);
        SetColor(255, 200, 120);
        for (int i = 0; i < kSegments; ++i) {  // as the game's trail particles draw themselves
            const float* g = &s.segment[i * 4];
            const float a = s.age[i] * s.age[i];
            SetBlend(BLEND_LIGHT);
            SetAlpha(0.2f * a), SetLineWidth(6), DrawLine(g[0], g[1], g[2], g[3], 0);
            SetAlpha(0.5f * a), SetLineWidth(2), DrawLine(g[0], g[1], g[2], g[3], 0);
            SetAlpha(a), SetLineWidth(1), DrawLine(g[0], g[1], g[2], g[3], 0);
            SetBlend(BLEND_ALPHA);
        }
        GrabPixmap(0, 0, 1, 1);  // waits until the frame is really drawn
        Flip(0);
    };
    const Timing ms = TimeFrames(frame);
    image.reset();
    CloseGraphics();
    return ms;
}

// One SDL_RenderGeometry quad: corners a, b, c, d in order, with one colour.
void GeometryQuad(SDL_Renderer* r, SDL_Texture* t, const float* xy, SDL_Color c) {
    static const int kIndices[6] = {0, 1, 2, 0, 2, 3};
    SDL_Vertex v[4];
    const float uv[8] = {0, 0, 1, 0, 1, 1, 0, 1};
    for (int i = 0; i < 4; ++i)
        v[i] = {{xy[i * 2], xy[i * 2 + 1]}, c, {uv[i * 2], uv[i * 2 + 1]}};
    SDL_RenderGeometry(r, t, v, 4, kIndices, 6);
}

// The quad of a segment widened across its main direction, as the layer draws it.
void SegmentQuad(const float* g, float width, float* xy) {
    const float h = width * 0.5f;
    const bool steep = Abs(g[3] - g[1]) > Abs(g[2] - g[0]);
    const float dx = steep ? h : 0, dy = steep ? 0 : h;
    const float q[8] = {g[0] - dx, g[1] - dy, g[0] + dx, g[1] + dy,
                        g[2] + dx, g[3] + dy, g[2] - dx, g[3] - dy};
    std::copy(q, q + 8, xy);
}

Timing RunSdl(const Scene& s) {
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, "opengl");
    SDL_SetHint(SDL_HINT_RENDER_BATCHING, "1");
    SDL_Window* window = SDL_CreateWindow("bench", 0, 0, kW, kH, SDL_WINDOW_OPENGL);
    SDL_Renderer* r = window ? SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED) : nullptr;
    if (!r) {
        std::fprintf(stderr, "no SDL renderer: %s\n", SDL_GetError());
        std::exit(1);
    }
    SDL_Texture* tex =
        SDL_CreateTexture(r, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC, 128, 128);
    const auto argb = SpriteArgb();
    SDL_UpdateTexture(tex, nullptr, argb.data(), 128 * 4);
    SDL_SetTextureScaleMode(tex, SDL_ScaleModeLinear);
    auto frame = [&] {
        SDL_SetRenderDrawColor(r, 0, 0, 0, 255);
        SDL_RenderClear(r);
        for (int i = 0; i < kQuads; ++i) {
            SDL_SetTextureBlendMode(tex, (i / kRun) % 2 ? SDL_BLENDMODE_ADD : SDL_BLENDMODE_BLEND);
            const float x = s.quad_xy[i * 2], y = s.quad_xy[i * 2 + 1];
            const float xy[8] = {x, y, x + 16, y, x + 16, y + 16, x, y + 16};
            GeometryQuad(r, tex, xy, {255, 255, 255, 255});
        }
        SDL_SetRenderDrawBlendMode(r, SDL_BLENDMODE_ADD);
        for (int i = 0; i < kSegments; ++i) {
            const float* g = &s.segment[i * 4];
            const float a = s.age[i] * s.age[i];
            const float widths[3] = {6, 2, 1}, alphas[3] = {0.2f * a, 0.5f * a, a};
            for (int k = 0; k < 3; ++k) {
                float xy[8];
                SegmentQuad(g, widths[k], xy);
                GeometryQuad(r, nullptr, xy, {255, 200, 120, uint8_t(FloatToInt(alphas[k] * 255))});
            }
        }
        uint32_t pixel = 0;
        const SDL_Rect one = {0, 0, 1, 1};
        SDL_RenderReadPixels(r, &one, SDL_PIXELFORMAT_ARGB8888, &pixel, 4);
        SDL_RenderPresent(r);
    };
    const Timing ms = TimeFrames(frame);
    SDL_DestroyTexture(tex);
    SDL_DestroyRenderer(r);
    SDL_DestroyWindow(window);
    return ms;
}
}  // namespace

int main() {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "SDL: %s\n", SDL_GetError());
        return 1;
    }
    const Scene scene = MakeScene();
    const Timing layer = RunLayer(scene);
    const Timing sdl = RunSdl(scene);
    std::printf("frame: %d textured quads (blend alternating every %d), %d trail segments x 3\n",
                kQuads, kRun, kSegments);
    std::printf("                wall ms/frame (median of %d)   cpu ms/frame (all threads)\n",
                kFrames);
    std::printf("drawing layer:  %8.2f %30.2f\n", layer.wall_ms, layer.cpu_ms);
    std::printf("SDL renderer:   %8.2f %30.2f\n", sdl.wall_ms, sdl.cpu_ms);
    std::printf("speed-up:       %8.2f x %28.2f x\n", sdl.wall_ms / layer.wall_ms,
                sdl.cpu_ms / layer.cpu_ms);
    SDL_Quit();
    return 0;
}
