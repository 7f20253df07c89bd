// The drawn progress screen: "G E N E R A T I N G   C O N T E N T" over the darkened
// backdrop, its gaps filling with dashes, each frame presented at once with Flip(0).
// Depends on the phase and the 2D drawing front end (graphics.hpp).
#include "generate/pipeline.hpp"

#include <string>

#include "generate/generators.hpp"
#include "generate/phase.hpp"
#include "platform/base/base.hpp"
#include "platform/draw/draw.hpp"

namespace {
const char* const kProgressTexts[] = {
    "G E N E R A T I N G   C O N T E N T", "G-E N E R A T I N G   C O N T E N T",
    "G-E-N-E R A T I N G   C O N T E N T", "G-E-N-E-R A T I N G   C O N T E N T",
    "G-E-N-E-R-A T I N G   C O N T E N T", "G-E-N-E-R-A-T I N G   C O N T E N T",
    "G-E-N-E-R-A-T-I N G   C O N T E N T",
};
constexpr int kTextOffsetX = 140;  // the line starts this far left of the window centre

// Draws the progress frames of the phase through the current graphics.
class DrawnProgress : public ProgressScreen {
  public:
    DrawnProgress(int half_w, int half_h, const std::function<void()>& after_flip)
        : half_w_(half_w), half_h_(half_h), after_flip_(after_flip) {}

    void FirstFrame(Content& c) override {
        SetColor(0, 0, 0);
        DrawImage(c.vignette, half_w_, half_h_, 0);
        SetColor(105, 135, 195);
        Text(1);
    }

    void Composite(Content& c) override {
        Cls();
        SetColor(70, 110, 170);
        DrawImage(c.maze, half_w_, half_h_, 0);
        SetColor(75, 90, 185);
        DrawImage(c.backdrop, half_w_, half_h_, 0);
        Present();
        CaptureImage(c.backdrop, 0, 0, 0);  // the back buffer still holds the composite
    }

    void BackdropFrame(Content& c) override {
        SetColor(255, 255, 255);
        DrawImage(c.backdrop, half_w_, half_h_, 0);
        SetColor(0, 0, 0);
        DrawImage(c.vignette, half_w_, half_h_, 0);
        SetColor(105, 135, 195);
        Text(2);
    }

    void Text(int n) override {
        DrawText(kProgressTexts[n - 1], static_cast<float>(half_w_ - kTextOffsetX),
                 static_cast<float>(half_h_));
        Present();
    }

  private:
    void Present() {
        Flip(0);
        if (after_flip_) after_flip_();
    }

    int half_w_, half_h_;
    const std::function<void()>& after_flip_;
};
}  // namespace

void generate_startup_content(Content& content, int screen_w, int screen_h, int threads,
                              const std::function<void()>& after_flip) {
    SetAutoCentre(1);
    SetBlend(BLEND_ALPHA);
    SetClsColor(52, 84, 145);
    Cls();
    generate_content(content, screen_w, screen_h, threads, after_flip);
}

void generate_content(Content& content, int screen_w, int screen_h, int threads,
                      const std::function<void()>& after_flip) {
    create_vignette(content, screen_w, screen_h);
    DrawnProgress screen(FloatToInt(screen_w * 0.5), FloatToInt(screen_h * 0.5), after_flip);
    run_generation_phase(content, screen_w, screen_h, screen, threads);
}
