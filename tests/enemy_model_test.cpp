// Enemy movement and the token against an independent model, bit for bit, frame by frame.
// A scripted player chases the carrier, runs with the token past the bumpers and lets enemies
// take it back; deliveries, new ships and ships sent home keep the list changing. Every frame
// every ship's motion, heading, token state and the generator must agree exactly.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <sstream>
#include <string>

#include "enemy_model.hpp"
#include "objects_fixture.hpp"

namespace {
using EnemyModelTest = ObjectsTest;

// The model's copy of a ship the game has just made.
TModelShip Mirror(const enemy& e) {
    TModelShip m;
    m.ship = e.ship;
    m.size = e.size, m.rot_accuracy = e.rot_accuracy, m.max_speed = e.max_speed;
    std::copy(e.borders, e.borders + 4, m.borders);
    m.px = e.pos.x, m.py = e.pos.y, m.vx = e.vel.x, m.vy = e.vel.y;
    m.vrot = e.vrot, m.rot = e.rot;
    m.carrier = e.carrier, m.carrier_count = e.carrier_count, m.finished = e.finished;
    return m;
}

// The first field in which the game's ship differs from the model's, or "".
std::string Differs(const enemy& e, const TModelShip& m) {
    const std::pair<const char*, bool> fields[] = {
        {"pos", e.pos.x != m.px || e.pos.y != m.py},
        {"vel", e.vel.x != m.vx || e.vel.y != m.vy},
        {"dir", e.dir.x != m.dx || e.dir.y != m.dy},
        {"rot", e.rot != m.rot},
        {"vrot", e.vrot != m.vrot},
        {"ecos/esin", e.ecos != m.ecos || e.esin != m.esin},
        {"dist", e.dist != m.dist},
        {"carrier", e.carrier != m.carrier},
        {"carrier_count", e.carrier_count != m.carrier_count},
    };
    for (const auto& [name, differs] : fields)
        if (differs) return name;
    return "";
}

std::string Compare(const TEnemyModel& model) {
    std::ostringstream out;
    if (Objects().carrying != model.carrying) out << "carrying; ";
    if (RandomState() != model.rng) out << "generator; ";
    if (Objects().enemies.Count() != int(model.ships.size())) return out.str() + "ship count";
    size_t i = 0;
    Objects().enemies.ForEach([&](const EnemyPtr& e, auto&) {
        const std::string field = Differs(*e, model.ships[i]);
        if (!field.empty()) out << "ship " << i << " " << field << "; ";
        ++i;
    });
    return out.str();
}

// The scripted player and the rule events around the enemies, acting on game and model alike.
class TScript {
  public:
    TScript(TEnemyModel& model, unsigned seed) : model_(model), rng_(seed) {}

    // `n` ships made in one millisecond, as a wave is: identical, stacked on one spot.
    void Spawn(int n) {
        const int clock = 1 + int(rng_() % 100000);
        FixClock(clock);
        // On either side edge, and now and then in a corner: beyond two borders at once.
        const int x = rng_() % 2 ? kScreenW : 0, y = int(rng_() % 501);
        for (int i = 0; i < n; ++i)
            model_.ships.push_back(Mirror(*enemy::Create(x, y, 0, 0, 170, 210, 255, 0)));
        model_.rng = RandomJump(clock, 3);  // the last creation's reseed and three draws
    }

    // Rule events, then the player's move; returns the target and facing for this frame.
    void Step(int frame, float* tx, float* ty, float* sx, float* sy) {
        Events(frame);
        double gx = spots_[spot_][0], gy = spots_[spot_][1];
        if (model_.carrying == 0) {
            // Every other stretch the player hangs back near the carrier instead of taking
            // the token, so that the ships chasing the player run into the carrier.
            const double keep = frame / 300 % 2 ? 45 : 0;
            for (const TModelShip& e : model_.ships) {
                if (!e.carrier) continue;
                const double r = std::max(1.0, std::hypot(x_ - e.px, y_ - e.py));
                gx = e.px + (x_ - e.px) / r * keep, gy = e.py + (y_ - e.py) / r * keep;
            }
        } else if (std::hypot(gx - x_, gy - y_) < 20 && ++linger_ > 40) {
            spot_ = (spot_ + 1) % 8, linger_ = 0;  // stays a while for the ships to catch up
        }
        const double d = std::hypot(gx - x_, gy - y_);
        if (d > 0) {
            const double step = std::min(d, 11.0);
            x_ += (gx - x_) / d * step, y_ += (gy - y_) / d * step;
            heading_ = FloatToInt(std::atan2(-(gx - x_), gy - y_) * kRadToDeg);
        }
        *tx = float(x_), *ty = float(y_);
        *sx = float(Sin(heading_)), *sy = float(Cos(heading_));
    }

  private:
    void Events(int frame) {
        held_ = model_.carrying ? held_ + 1 : 0;
        if (held_ > 150) {  // a delivery: the token is gone and new carriers arrive
            Objects().carrying = model_.carrying = 0;
            Spawn(3);
        }
        int chasing = 0;
        for (const TModelShip& e : model_.ships)
            chasing += e.finished == 0;
        if (frame % 45 == 0 && chasing > 2) {  // one ship sent home
            const size_t pick = rng_() % model_.ships.size();
            model_.ships[pick].finished = 1;
            size_t i = 0;
            Objects().enemies.ForEach([&](const EnemyPtr& e, auto&) {
                if (i++ == pick) e->finished = 1;
            });
        }
        if (frame % 20 == 0 && chasing < 4 && model_.ships.size() < 8) Spawn(1);
    }

    TEnemyModel& model_;
    std::mt19937 rng_;
    double x_ = 640, y_ = 250;
    int heading_ = 0, held_ = 0, spot_ = 0, linger_ = 0;
    // Where the player runs with the token: past each bumper, and into the corners.
    const double spots_[8][2] = {{256, 170}, {512, 345}, {768, 170}, {1024, 345},
                                 {1255, 25}, {25, 475},  {25, 25},   {1255, 475}};
};

// Runs `frames` frames from a fresh start, adding what fired to `counts`; stops at the first
// frame where game and model part.
void RunScript(unsigned seed, int frames, TModelCounts* counts) {
    ResetObjects();
    TEnemyModel model;
    model.counts = *counts;
    TScript script(model, seed);
    script.Spawn(3);
    for (int frame = 0; frame < frames; ++frame) {
        float tx, ty, sx, sy;
        script.Step(frame, &tx, &ty, &sx, &sy);
        SetRotation(float(frame % 360)), SetScale(1, 1);
        enemy::update(tx, ty, sx, sy);
        SetRotation(float(frame % 360)), SetScale(1, 1);
        model.Update(tx, ty, sx, sy);
        const std::string differs = Compare(model);
        EXPECT_EQ(differs, "") << "seed " << seed << ", frame " << frame;
        if (!differs.empty()) break;
        ++model.counts.frames;
        // Trails are not part of movement; dropping them keeps the run small.
        Objects().enemies.ForEach(
            [](const EnemyPtr& e, auto&) { e->trail_child.reset(), e->carry_trail_child.reset(); });
        Objects().trails.Clear();
    }
    *counts = model.counts;
}

TEST_F(EnemyModelTest, ShipsAndTokenFollowTheRulesFrameByFrame) {
    TModelCounts c;
    for (unsigned seed : {1u, 2u, 3u, 4u})
        RunScript(seed, 10000, &c);
    // Each rule fired often enough for a fault in it to show.
    EXPECT_EQ(c.frames, 40000);
    EXPECT_GE(c.passes, 100);
    EXPECT_GE(c.multipasses, 10);
    EXPECT_GE(c.taken, 50);
    EXPECT_GE(c.retaken, 50);
    EXPECT_GE(c.shoves, 10000);
    EXPECT_GE(c.snaps, 500);
    EXPECT_GE(c.corners, 20);
    EXPECT_GE(c.bounces, 500);
    EXPECT_GE(c.departures, 300);
    std::printf(
        "%d frames: token %d ship to ship (%d walks to several), %d to the player, %d "
        "back; %d shoves, %d border snaps (%d in corners), %d bounces, %d departures\n",
        c.frames, c.passes, c.multipasses, c.taken, c.retaken, c.shoves, c.snaps, c.corners,
        c.bounces, c.departures);
}
}  // namespace
