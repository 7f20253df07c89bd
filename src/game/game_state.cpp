// The process's one game state record.
#include "game/game_state.hpp"

namespace {
TGameState g_game;
}

TGameState& Game() {
    return g_game;
}

void ResetGame() {
    g_game = TGameState{};
}
