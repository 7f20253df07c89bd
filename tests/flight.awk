# Random flying from a seed, as a replay script: turns of every size, thrust held and released,
# Q presses for crowds that bounce off the bumpers and pass the token, pauses and focus changes.
# Usage: awk -v seed=S -v n=PASSES -f tests/flight.awk
BEGIN {
    srand(seed); down = 0; paused = 0
    for (f = 1; f < n; f += 1 + int(rand() * 6)) {
        r = rand()
        if (r < 0.55) printf "%d move %d 250\n", f, 640 + int((rand() - 0.5) * 90)
        else if (r < 0.75) { printf "%d %s 1\n", f, down ? "up" : "down"; down = !down }
        else if (r < 0.85 && f < n / 3) printf "%d key 81\n", f
        else if (r < 0.81) { printf "%d key 80\n", f; paused = !paused }
        else if (r < 0.82) printf "%d focus-out\n%d focus-in\n", f, f + 3
        else if (r < 0.83) printf "%d leave\n", f
    }
    if (paused) printf "%d key 80\n", n - 1
}
