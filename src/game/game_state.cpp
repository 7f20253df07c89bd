// The game's own state (ship, waves, hole glide, pause) lives here as the game grows.
