// The pause view, drawn instead of a play frame while paused.
#include "game/pause_view.hpp"

#include "generate/content.hpp"
#include "platform/draw/draw.hpp"

void draw_pause_view(const TGameState& g) {
    SetRotation(0);
    SetScale(1, 1);
    SetAlpha(1);
    SetBlend(BLEND_ALPHA);
    SetColor(155, 125, 105);
    // One pixel up and to the left of where it was taken.
    DrawImage(g.pause_image, static_cast<float>(g.half_w - 1), static_cast<float>(g.half_h - 1));
    DrawImage(Generated().ring, static_cast<float>(g.half_w), static_cast<float>(g.half_h));
    DrawRect(static_cast<float>(g.half_w - 20), static_cast<float>(g.half_h - 30), 10, 60);
    DrawRect(static_cast<float>(g.half_w + 10), static_cast<float>(g.half_h - 30), 10, 60);
    Flip(1);
}
