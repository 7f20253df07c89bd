// The token changing hands by touch: a carrier whose wait is over passes it to every ship its
// sprite overlaps, and to the player's ship when that overlaps it; while the player carries
// it, a ship whose wait is over takes it back on contact. Depends on the collision layers.
#include "objects/object_state.hpp"
#include "platform/collide/collide.hpp"

namespace {
constexpr int kPassWait = 20;    // frames before a giver may pass the token on again
constexpr int kTakeWait = 40;    // frames before the player may take back what a ship took
constexpr int kCarrierMask = 1;  // the carrier is written into layer 0

// Number of quads `image` placed (truncated) at (x, y) touches in the layers of `collide`,
// after which it is written into the layers of `write`. A ship without a sprite touches
// nothing and writes nothing.
int Touches(const ImagePtr& image, double x, double y, int collide, int write) {
    if (!image) return 0;
    static const TCollisionId kNoId;  // the quads' owners are never asked for
    return OverlapImage(image, FloatToInt(x), FloatToInt(y), 0, collide, write, kNoId, nullptr);
}
}  // namespace

void enemy::exchange_token(float tx, float ty) {
    TObjectState& o = Objects();
    if (carrier == 1) {
        ClearCollisionLayers(0);
        SetRotation(0);
        SetScale(1, 1);
        Touches(ship, pos.x, pos.y, 0, kCarrierMask);
        if (carrier_count != 0) {
            carrier_count -= 1;
            return;
        }
        // Every ship touching the carrier is handed the token; the walk goes on after a pass.
        o.enemies.ForEach([&](const EnemyPtr& e, const auto&) {
            if (e.get() == this || Touches(e->ship, e->pos.x, e->pos.y, kCarrierMask, 0) == 0)
                return;
            carrier = 0;
            e->carrier = 1;
            carrier_count = kPassWait;
        });
        // The carrier's sprite placed on the player's ship overlaps the carrier: they touch.
        if (Touches(ship, tx, ty, kCarrierMask, 0) > 0) {
            carrier = 0;
            carrier_count = kPassWait;
            o.carrying = 1;
        }
    } else if (o.carrying == 1) {
        if (carrier_count != 0) {
            carrier_count -= 1;
            return;
        }
        ClearCollisionLayers(0);
        Touches(ship, pos.x, pos.y, 0, kCarrierMask);
        if (Touches(ship, tx, ty, kCarrierMask, 0) > 0) {
            carrier = 1;
            carrier_count = kTakeWait;
            o.carrying = 0;
        }
    }
}
