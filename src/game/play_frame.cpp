// The play frame in its fixed order: flight, relight, the scene back to front with the
// objects, the ship and its engines, the rules, the vignette. It never presents while
// playing; the main loop's next pass does.
#include "game/play_frame.hpp"

#include "game/flight.hpp"
#include "game/pause_view.hpp"
#include "game/play_rules.hpp"
#include "game/scene.hpp"
#include "game/ship_sprite.hpp"
#include "objects/object_state.hpp"
#include "platform/draw/draw.hpp"

namespace {
void Fly(TGameState& g, TPlayFrame& f) {
    steer_ship(g, f);
    thrust_ship(g, f);
    keep_ship_inside(g);
    light_ship(g, f);  // before the bumpers: the light is where the ship was
    relight_ship_sprite(f);
}

// Step 9: the hole, the trails, then the enemies (which also pass the token).
void UpdateObjects(TGameState& g, const TPlayFrame& f) {
    g.the_hole->draw();
    trail::update();
    SetAlpha(1);
    enemy::update(g.ship_x, g.ship_y, f.s, f.c);
}
}  // namespace

void play_frame() {
    TGameState& g = Game();
    if (g.pause_image) {
        draw_pause_view(g);
        return;
    }
    TPlayFrame f;
    Fly(g, f);
    draw_backdrop(g);
    draw_crosshair(g);
    draw_bumpers(g);
    draw_side_panel(g);
    UpdateObjects(g, f);
    draw_ship(g, f);
    draw_engines(g, f);
    play_rules(g);
    draw_vignette(g);
}
