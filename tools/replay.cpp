// orbitrants-replay --frames N [--clock MS] [--input FILE] [--shot F:PATH.png]...
//                   [--trace PATH.csv] [--enemies PATH.csv]
// Runs the real start-up and N passes of the main loop headless with the clock fixed, feeding
// a script's input events through the platform pump, and writes chosen back buffers as PNG and
// CSV traces of the game state and of every enemy per pass, each file whole or not at all.
// Developer tool; depends on the game and the tools' support library.
#include <cstdio>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "game/game_state.hpp"
#include "game/game_trace.hpp"
#include "game/startup.hpp"
#include "platform/draw/draw.hpp"
#include "support/enemy_trace.hpp"
#include "support/png_file.hpp"
#include "support/replay.hpp"
#include "support/replay_options.hpp"
#include "support/rgba_file.hpp"
#include "support/safe_file.hpp"
#include "support/tool_args.hpp"

namespace {
constexpr const char* kTool = "orbitrants-replay";

[[noreturn]] void Fail(const std::string& message) {
    ToolFail(kTool, message);
}

TReplayScript ReadScript(const std::string& path) {
    TReplayScript script;
    if (path.empty()) return script;
    std::ifstream in(path);
    if (!in) Fail("cannot read " + path);
    std::string error;
    if (!ParseReplayScript(in, &script, &error)) Fail(path + ": " + error);
    return script;
}

void WriteShot(const std::string& path) {
    const TGameState& g = Game();
    const PixmapPtr screen = GrabPixmap(0, 0, g.screen_w, g.screen_h);
    if (!screen) Fail("cannot read the back buffer for " + path);
    std::string error;
    const bool raw = path.ends_with(".rgba");  // the browser build has no PNG encoder
    if (!(raw ? WriteRgbaFile(path, *screen, &error) : WritePngFile(path, *screen, &error)))
        Fail("cannot write " + error);
}

// A trace, written whole when the run ends (or not at all when it fails).
class TTraceOut {
  public:
    TTraceOut(const std::string& path, const std::string& header) : path_(path) {
        if (!path_.empty() && !file_.Open(path_)) Fail("cannot write " + file_.Error());
        Text(header + "\n");
    }
    // Appends `text` (whole lines); nothing when no file was asked for.
    void Text(const std::string& text) {
        if (path_.empty()) return;
        if (!file_.Write(text.data(), text.size())) Fail("cannot write " + file_.Error());
    }
    bool Wanted() const { return !path_.empty(); }
    void Finish() {
        if (!path_.empty() && !file_.Commit()) Fail("cannot write " + file_.Error());
    }

  private:
    std::string path_;
    TSafeFile file_;
};
}  // namespace

int main(int argc, char** argv) {
    const TReplayOptions options = OptionsOrFail(kTool, ParseReplayOptions(ToolArgs(argc, argv)));
    const TReplayScript script = ReadScript(options.input);
    TTraceOut trace(options.trace, trace_header());
    TTraceOut enemies(options.enemies, enemy_trace_header());
    RunHeadless(options.clock);
    if (!StartUp()) Fail("cannot open graphics: " + LastGraphicsError());
    const int passes = RunReplay(script, options.frames, [&](int pass) {
        if (trace.Wanted()) trace.Text(format_trace_row(trace_row(pass)) + "\n");
        if (enemies.Wanted()) enemies.Text(enemy_trace_rows(pass));
        const auto [first, last] = options.shots.equal_range(pass);
        for (auto it = first; it != last; ++it)
            WriteShot(it->second);
    });
    trace.Finish();  // the passes that ran are a whole trace even when a shot is missing
    enemies.Finish();
    ShutDown();
    // A shot asked for a pass that Escape did not let run is missing: say so.
    const auto missing = options.shots.lower_bound(passes);
    if (missing != options.shots.end())
        Fail("Escape ended the replay after " + std::to_string(passes) +
             " passes; no shot of pass " + std::to_string(missing->first));
    return 0;
}
