// The order of the generation phase. Random numbers are drawn only by the vignette (from the
// generator's state on entry), the lattice and the walk; the clock seeds the generator twice.
// With a second thread, the generators that draw no random numbers and touch no graphics
// (ship, glows, rings, hole stages) run beside the backdrop; they write only their own
// globals, so the content, the random sequence and the progress frames stay the same.
#include "generate/phase.hpp"

#include <thread>

#include "generate/generators.hpp"
#include "platform/base/base.hpp"
#include "platform/draw/draw.hpp"

namespace {
// Steps 1 to 8: vignette, seeding, lattice, walk and maze, composite, progress texts 1 to 5.
void BackdropSteps(Content& content, int screen_w, int screen_h, ProgressScreen& screen,
                   int threads) {
    generate_vignette(content, threads);
    SeedRandom(ClockMillis());
    screen.FirstFrame(content);
    generate_lattice(content, screen_w, screen_h, threads);
    generate_maze(content, screen_w, screen_h, threads);
    screen.Composite(content);
    screen.BackdropFrame(content);
    for (int n = 3; n <= 5; ++n)
        screen.Text(n);
}

// Step 15's start values, then the ring, the segmented ring and the hole glow.
void Rings(Content& content, int threads) {
    content.hole_half = static_cast<float>(content.hole_size * 0.5);
    content.ring_half = static_cast<float>(content.ring_size * 0.5);
    generate_ring(content, threads);
    generate_ring_segments(content, threads);
    generate_hole_glow(content, threads);
}

// Steps 9 to 17 in order, with progress texts 6, 6 and 7 between them.
void LaterSteps(Content& content, ProgressScreen& screen, int threads) {
    generate_player_ship(content);
    screen.Text(6);
    generate_glow_blue(content, threads);
    screen.Text(6);
    generate_glow_red(content, threads);
    screen.Text(7);
    Rings(content, threads);
    generate_hole_frames(content, threads);
    generate_glow_white(content, threads);
}

// Steps 9, 11, 13, 15, 16 and 17 without their progress texts, for the side thread.
void RandomFreeSteps(Content& content) {
    generate_player_ship(content);
    generate_glow_blue(content, 1);
    generate_glow_red(content, 1);
    Rings(content, 1);
    generate_hole_frames(content, 1);
    generate_glow_white(content, 1);
}
}  // namespace

void run_generation_phase(Content& content, int screen_w, int screen_h, ProgressScreen& screen,
                          int threads) {
    if (threads <= 1) {
        BackdropSteps(content, screen_w, screen_h, screen, 1);
        LaterSteps(content, screen, 1);
        return;
    }
    std::thread side(RandomFreeSteps, std::ref(content));
    BackdropSteps(content, screen_w, screen_h, screen, threads);
    side.join();
    for (int n : {6, 6, 7})
        screen.Text(n);
}

void generate_content_cpu(Content& content, int screen_w, int screen_h, int threads) {
    ProgressScreen nothing;
    SetAutoCentre(1);  // the one drawing default that shapes the images themselves
    create_vignette(content, screen_w, screen_h);
    run_generation_phase(content, screen_w, screen_h, nothing, threads);
}
