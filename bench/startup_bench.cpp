// Start-up timing, headless: from process start to the window, through the generation phase
// with its progress frames, to the first Flip(1) that would show the first play frame.
// Prints milliseconds since the process started; run several times and take the median.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "generate/content.hpp"
#include "generate/pipeline.hpp"
#include "platform/draw/draw.hpp"
#include "process_clock.hpp"

int main(int argc, char** argv) {
    const int threads = argc > 1 ? std::atoi(argv[1]) : kGenerationThreads;
    const double start = ProcessStartMs();
    const double entered = NowMs();
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    SelectGraphicsDriver(CreateGLDriver(), 2);
    if (!OpenGraphics(1280, 500, 0, 60, 0)) {
        std::fprintf(stderr, "cannot open graphics: %s\n", LastGraphicsError().c_str());
        return 1;
    }
    const double opened = NowMs();
    Content content;
    std::string flips;
    generate_startup_content(content, 1280, 500, threads, [&] {
        // Appended piece by piece: GCC 12 warns falsely (-Wrestrict) about " " + std::string.
        flips += ' ';
        flips += std::to_string(static_cast<int>(NowMs() - opened));
    });
    const double generated = NowMs();
    Flip(1);
    const double shown = NowMs();
    std::printf(
        "threads %d: main entered %.1f ms, graphics open %.1f ms, generation done %.1f ms"
        " (phase %.1f ms), first Flip(1) %.1f ms after process start\n",
        threads, entered - start, opened - start, generated - start, generated - opened,
        shown - start);
    std::printf("  progress frames shown at (ms after graphics open):%s\n", flips.c_str());
    CloseGraphics();
    return 0;
}
