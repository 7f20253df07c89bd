// Draws one game-like frame through this drawing layer and the same work through SDL's own
// renderer (OpenGL back end, batching on), headless, and prints the time per frame of each.
// The frame: 10,000 textured 16 x 16 quads whose blend mode alternates between alpha and
// additive every 100 quads, then 10,000 trail segments of about 7 pixels drawn at widths 6, 2, 1:
// 40,000 primitives.
// It measures three conditions, each in a process of its own (Mesa reads them at start): the
// rasteriser on (llvmpipe with its threads), llvmpipe on one thread (LP_NUM_THREADS=0, less
// noisy), and GALLIUM_NOOP=1, where Mesa drops the pixel work and what remains is the cost of
// submitting the frame. The parent re-runs itself for each and prints the table with ratios.
//   draw_bench                 all three conditions
//   draw_bench --layer N       only the drawing layer, N frames, in this environment (profiling)
#include <SDL2/SDL.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "platform/base/base.hpp"
#include "platform/draw/draw.hpp"

namespace {
constexpr int kW = 1280, kH = 500;
constexpr int kQuads = 10000, kSegments = 10000, kRun = 100;
constexpr int kPrimitives = kQuads + kSegments * 3;
constexpr int kWarmup = 3;
int g_frames = 15;  // measured frames per run

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
    for (int i = 0; i < kWarmup + g_frames; ++i) {
        if (i == kWarmup) cpu0 = CpuMillis();
        const auto t0 = std::chrono::steady_clock::now();
        frame();
        const auto t1 = std::chrono::steady_clock::now();
        if (i >= kWarmup) ms.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
    }
    return {Median(ms), (CpuMillis() - cpu0) / g_frames};
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
// The four figures of one condition: layer and SDL, wall and CPU.
struct Condition {
    Timing layer, sdl;
};

Condition RunBoth() {
    const Scene scene = MakeScene();
    Condition c;
    c.layer = RunLayer(scene);
    c.sdl = RunSdl(scene);
    return c;
}

// This program's own path.
std::string SelfPath() {
    char path[4096] = {};
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    return n > 0 ? std::string(path, size_t(n)) : std::string();
}

// Runs this program again with `env` (NAME=VALUE, or empty) set and reads back its figures.
bool RunChild(const std::string& self, const char* env, int frames, Condition* c) {
    const std::string command = std::string("env ") + env +
                                " ORB_DRAW_BENCH_CHILD=" + std::to_string(frames) + " '" + self +
                                "'";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return false;
    char line[256] = {};
    bool ok = false;
    while (std::fgets(line, sizeof line, pipe)) {
        ok = ok || std::sscanf(line, "figures %lf %lf %lf %lf", &c->layer.wall_ms, &c->layer.cpu_ms,
                               &c->sdl.wall_ms, &c->sdl.cpu_ms) == 4;
    }
    return pclose(pipe) == 0 && ok;
}

std::string CpuModel() {
    FILE* f = std::fopen("/proc/cpuinfo", "r");
    char line[256] = {};
    std::string model = "unknown processor";
    while (f && std::fgets(line, sizeof line, f)) {
        if (std::strncmp(line, "model name", 10) != 0) continue;
        model = std::strchr(line, ':') + 2;
        model.erase(model.find_last_not_of(" \n") + 1);
        break;
    }
    if (f) std::fclose(f);
    return model + ", " + std::to_string(sysconf(_SC_NPROCESSORS_ONLN)) + " cores";
}

void PrintRow(const char* name, const Condition& c) {
    std::printf("%-34s %8.2f %8.2f   %8.2f %8.2f   %6.2f x %6.2f x\n", name, c.layer.wall_ms,
                c.layer.cpu_ms, c.sdl.wall_ms, c.sdl.cpu_ms, c.sdl.wall_ms / c.layer.wall_ms,
                c.sdl.cpu_ms / c.layer.cpu_ms);
}

bool StartVideo() {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    if (SDL_Init(SDL_INIT_VIDEO) == 0) return true;
    std::fprintf(stderr, "SDL: %s\n", SDL_GetError());
    return false;
}
}  // namespace

int main(int argc, char** argv) {
    if (const char* child = std::getenv("ORB_DRAW_BENCH_CHILD")) {  // one condition
        g_frames = std::atoi(child);
        if (!StartVideo()) return 1;
        const Condition c = RunBoth();
        std::printf("figures %.4f %.4f %.4f %.4f\n", c.layer.wall_ms, c.layer.cpu_ms, c.sdl.wall_ms,
                    c.sdl.cpu_ms);
        SDL_Quit();
        return 0;
    }
    if (argc > 2 && std::strcmp(argv[1], "--layer") == 0) {  // profiling
        g_frames = std::atoi(argv[2]);
        if (!StartVideo()) return 1;
        const Timing t = RunLayer(MakeScene());
        std::printf("drawing layer: %.3f ms/frame wall, %.3f ms/frame cpu\n", t.wall_ms, t.cpu_ms);
        SDL_Quit();
        return 0;
    }
    struct Run {
        const char* name;
        const char* env;
        int frames;
    };
    const Run runs[] = {{"rasteriser on (llvmpipe threads)", "", 15},
                        {"LP_NUM_THREADS=0 (one thread)", "LP_NUM_THREADS=0", 15},
                        {"GALLIUM_NOOP=1 (submission only)", "GALLIUM_NOOP=1", 200}};
    std::printf("machine: %s, Mesa llvmpipe\n", CpuModel().c_str());
    std::printf(
        "frame: %d textured quads (blend alternating every %d), %d trail segments x 3 "
        "= %d primitives\n",
        kQuads, kRun, kSegments, kPrimitives);
    std::printf("ms per frame: wall is the median frame, cpu the mean over all threads\n");
    std::printf("%-34s %17s   %17s   %17s\n", "", "drawing layer", "SDL renderer", "SDL / layer");
    std::printf("%-34s %8s %8s   %8s %8s   %8s %8s\n", "condition", "wall", "cpu", "wall", "cpu",
                "wall", "cpu");
    Condition noop{};
    bool all = true;
    for (const Run& run : runs) {
        Condition c{};
        if (!RunChild(SelfPath(), run.env, run.frames, &c)) {
            std::printf("%-34s failed\n", run.name);
            all = false;
            continue;
        }
        PrintRow(run.name, c);
        if (std::strncmp(run.env, "GALLIUM_NOOP", 12) == 0) noop = c;
    }
    if (noop.layer.cpu_ms > 0) {
        std::printf("submission per primitive (GALLIUM_NOOP=1, cpu): layer %.1f ns, SDL %.1f ns\n",
                    noop.layer.cpu_ms * 1e6 / kPrimitives, noop.sdl.cpu_ms * 1e6 / kPrimitives);
    }
    return all ? 0 : 1;
}
