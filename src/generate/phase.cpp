// The order of the generation phase. Random numbers are drawn only by the vignette (from the
// generator's state on entry), the lattice and the walk; the clock seeds the generator twice.
#include "generate/phase.hpp"

#include "generate/generators.hpp"
#include "platform/clock.hpp"
#include "platform/image.hpp"
#include "platform/numbers.hpp"

namespace {
// Steps 9 to 17: ship, glows, rings, hole stages, with progress texts 3 to 7 between them.
void LaterSteps(Content& content, ProgressScreen& screen, int threads) {
    for (int n = 3; n <= 5; ++n)
        screen.Text(n);
    generate_player_ship(content);
    screen.Text(6);
    generate_glow_blue(content, threads);
    screen.Text(6);
    generate_glow_red(content, threads);
    screen.Text(7);
    content.hole_half = static_cast<float>(content.hole_size * 0.5);
    content.ring_half = static_cast<float>(content.ring_size * 0.5);
    generate_ring(content, threads);
    generate_ring_segments(content, threads);
    generate_hole_glow(content, threads);
    generate_hole_frames(content, threads);
    generate_glow_white(content, threads);
}
}  // namespace

void run_generation_phase(Content& content, int screen_w, int screen_h, ProgressScreen& screen,
                          int threads) {
    generate_vignette(content, threads);
    SeedRandom(ClockMillis());
    screen.FirstFrame(content);
    generate_lattice(content, screen_w, screen_h, threads);
    generate_maze(content, screen_w, screen_h, threads);
    screen.Composite(content);
    screen.BackdropFrame(content);
    LaterSteps(content, screen, threads);
}

void generate_content_cpu(Content& content, int screen_w, int screen_h, int threads) {
    ProgressScreen nothing;
    SetAutoCentre(1);  // the one drawing default that shapes the images themselves
    create_vignette(content, screen_w, screen_h);
    run_generation_phase(content, screen_w, screen_h, nothing, threads);
}
