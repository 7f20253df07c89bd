// Steady-state cost of the objects, headless: one frame of trail::update plus enemy::update
// (moving, drawing, token, trails) at 10, 100 and 1,000 enemies. Each count runs in a child
// process twice: with GALLIUM_NOOP=1 (Mesa discards the pixel work, leaving our simulation and
// draw submission) and on full llvmpipe. Prints wall and processor milliseconds per frame.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "generate/generators.hpp"
#include "objects/object_state.hpp"
#include "platform/draw/draw.hpp"

namespace {
constexpr int kWarmup = 120;  // trails reach their steady length of 37 particles
constexpr int kMinFrames = 20, kMaxFrames = 300;
constexpr double kMinSeconds = 1.5;

double CpuMillis() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

double WallMillis() {
    return std::chrono::duration<double, std::milli>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Ships spread over the field, a millisecond apart so that their sizes differ.
void Spawn(int n) {
    for (int i = 0; i < n; ++i) {
        FixClock(100 + i);
        enemy::Create(60 + (i * 97) % 1160, 40 + (i * 53) % 420, 0, 0, 170, 210, 255, 0);
    }
}

// Wall milliseconds of one frame's parts: trails, enemies, and the wait for the drawing.
struct Parts {
    double trails = 0, enemies = 0, finish = 0;
};

// One frame of the objects as the play frame runs them, the player's ship circling.
Parts Frame(int n) {
    const double heading = n * 3.0;
    Parts p;
    const double t0 = WallMillis();
    SetRotation(0);
    SetScale(1, 1);
    trail::update();
    const double t1 = WallMillis();
    SetAlpha(1);
    enemy::update(static_cast<float>(640 + 300 * Cos(n * 0.7)),
                  static_cast<float>(250 + 150 * Sin(n * 0.7)), static_cast<float>(Sin(heading)),
                  static_cast<float>(Cos(heading)));
    const double t2 = WallMillis();
    GrabPixmap(0, 0, 1, 1);  // waits until the frame is drawn
    p.trails = t1 - t0, p.enemies = t2 - t1, p.finish = WallMillis() - t2;
    return p;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Child: measures `enemies` ships and prints "wall_ms cpu_ms trails trail_ms enemy_ms
// finish_ms" (wall times are medians).
int Measure(int enemies, bool graphics) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    SelectGraphicsDriver(CreateGLDriver(), 2);
    if (graphics && !OpenGraphics(1280, 500, 0, 60, 0)) {
        std::fprintf(stderr, "no graphics: %s\n", LastGraphicsError().c_str());
        return 1;
    }
    SetAutoCentre(1);
    SetBlend(BLEND_ALPHA);
    generate_glow_blue(Generated());
    generate_glow_red(Generated());
    Spawn(enemies);
    int n = 0;
    for (; n < kWarmup; ++n)
        Frame(n);
    std::vector<double> wall, trails, ships, finish;
    const double cpu0 = CpuMillis(), start = WallMillis();
    while (wall.size() < kMaxFrames &&
           (wall.size() < kMinFrames || WallMillis() - start < kMinSeconds * 1000)) {
        const Parts p = Frame(n++);
        wall.push_back(p.trails + p.enemies + p.finish);
        trails.push_back(p.trails), ships.push_back(p.enemies), finish.push_back(p.finish);
    }
    const double cpu = (CpuMillis() - cpu0) / wall.size();
    std::printf("%.3f %.3f %d %.3f %.3f %.3f\n", Median(wall), cpu, Objects().trails.Count(),
                Median(trails), Median(ships), Median(finish));
    ResetObjects();
    ResetGenerated();
    CloseGraphics();
    return 0;
}

struct Result {
    double wall = 0, cpu = 0;
    int trails = 0;
    double trail_ms = 0, enemy_ms = 0, finish_ms = 0;
};

// Runs this program as a child measuring `enemies` ships: without graphics (the objects' own
// work; drawing calls return at once), or with Mesa's no-op driver, or on llvmpipe.
enum class Mode { kNoGraphics, kNoop, kFull };
Result RunChild(const char* self, int enemies, Mode mode) {
    const char* env = mode == Mode::kNoop ? "GALLIUM_NOOP=1 " : "env -u GALLIUM_NOOP ";
    const char* what = mode == Mode::kNoGraphics ? " --simulate " : " --measure ";
    const std::string command = env + std::string(self) + what + std::to_string(enemies);
    Result r;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe || std::fscanf(pipe, "%lf %lf %d %lf %lf %lf", &r.wall, &r.cpu, &r.trails,
                             &r.trail_ms, &r.enemy_ms, &r.finish_ms) != 6) {
        std::fprintf(stderr, "measuring %d enemies failed\n", enemies);
        std::exit(1);
    }
    pclose(pipe);
    return r;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--measure") return Measure(std::atoi(argv[2]), true);
    if (argc == 3 && std::string(argv[1]) == "--simulate")
        return Measure(std::atoi(argv[2]), false);
    std::printf("objects frame (trail::update + enemy::update, drawing included), per frame:\n");
    std::printf("%8s %8s | %8s | %46s | %22s\n", "enemies", "trails", "no gfx",
                "GALLIUM_NOOP=1 (ours + draw submission)", "llvmpipe (full)");
    std::printf("%8s %8s | %8s | %10s %11s %7s %7s %7s | %10s %11s\n", "", "", "cpu ms", "wall ms",
                "cpu ms", "trails", "enemies", "finish", "wall ms", "cpu ms");
    for (int enemies : {10, 100, 1000}) {
        const Result bare = RunChild(argv[0], enemies, Mode::kNoGraphics);
        const Result noop = RunChild(argv[0], enemies, Mode::kNoop);
        const Result full = RunChild(argv[0], enemies, Mode::kFull);
        std::printf("%8d %8d | %8.3f | %10.3f %11.3f %7.3f %7.3f %7.3f | %10.3f %11.3f\n", enemies,
                    noop.trails, bare.cpu, noop.wall, noop.cpu, noop.trail_ms, noop.enemy_ms,
                    noop.finish_ms, full.wall, full.cpu);
        std::fflush(stdout);
    }
    return 0;
}
