// The one place where presenting a frame tells the rest of the program: the flip hook.
// Kept apart so that the hook system can be wired in here without touching the drawing code.

// Runs the flip hook before every present (Flip). Nothing listens yet.
void EmitFlipHook() {}
