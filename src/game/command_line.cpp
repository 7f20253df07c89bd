// --version, --help and the complaint about anything else.
#include "game/command_line.hpp"

namespace {
constexpr const char* kHelp =
    "Usage: orbitrants [--help | --version]\n"
    "A mouse-only arcade game: steal the glowing token from the enemy ships and fly it into\n"
    "the hole. It takes no other arguments and no configuration.\n"
    "\n"
    "Controls:\n"
    "  mouse left and right      turn the ship\n"
    "  left button               thrust\n"
    "  P                         pause and resume (drag the window while paused)\n"
    "  Q                         add an enemy\n"
    "  Page Up, Page Down        tune the trails' fading\n"
    "  Up, Down                  tune the trails' speed\n"
    "  Escape                    quit\n"
    "\n"
    "Escape is the only way out: the window's close button and Alt+F4 are ignored, so a\n"
    "stray shortcut never ends a run.\n";
}  // namespace

const char* GameVersion() {
    return ORB_VERSION;
}

TCommandLine ReadCommandLine(const std::vector<std::string>& args) {
    TCommandLine c;
    if (args.empty()) return c;
    c.play = false;
    if (args.size() == 1 && args[0] == "--version") {
        c.out = std::string("orbitrants ") + GameVersion() + "\n";
    } else if (args.size() == 1 && args[0] == "--help") {
        c.out = kHelp;
    } else {
        const bool first_known = args[0] == "--version" || args[0] == "--help";
        const std::string& odd = first_known ? args[1] : args[0];
        c.status = 2;
        c.err = "orbitrants: unexpected argument '" + odd + "' (try orbitrants --help)\n";
    }
    return c;
}
