// Process entry of the game: runs it once and exits with its status.
#include "game/startup.hpp"

int main() {
    return RunGame();
}
