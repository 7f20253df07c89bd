// The hole: made anew in place of the last one, tinted and lit for where it stands against
// the light above the screen centre, relit stage by stage while it opens, drawn with an
// orange under-glow and a bloom while open. Depends on the generated hole stages and glows.
#include "objects/object_state.hpp"
#include "objects/playfield.hpp"

std::shared_ptr<hole> hole::Create(int x, int y) {
    auto h = std::make_shared<hole>();
    Objects().holes.Clear();
    h->pos.x = x;
    h->pos.y = y;
    h->generate();
    h->list_link = Objects().holes.AddLast(h);
    return h;
}

int hole::remove() {
    Objects().holes.Remove(list_link.lock());
    return 0;
}

int hole::generate() {
    light_x = static_cast<float>(pos.x - kHalfW);
    light_y = static_cast<float>(pos.y - kHalfH);
    light_z = kLightHeight;
    const double flat =
        static_cast<double>(light_x) * light_x + static_cast<double>(light_y) * light_y;
    // Distance from the screen centre in half screen widths: further out is a lighter blue.
    const float r = static_cast<float>(Sqrt(flat) / kHalfW);
    const double sum = flat + static_cast<double>(light_z) * light_z;
    if (sum != 0) {
        const double k = 1 / Sqrt(sum);
        light_x = static_cast<float>(light_x * k);
        light_y = static_cast<float>(light_y * k);
        light_z = static_cast<float>(light_z * k);
    }
    col.r = 55 + 25.0 * r;
    col.g = 85 + 27.0 * r;
    col.b = 155 + 40.0 * r;
    relight();
    return 0;
}

namespace {
// Whether the generated stages and the image they are lit into are there to use: nothing is
// before generation, and the rules keep `open` within the stages.
bool StageReady(const Content& c, int open) {
    const size_t area = static_cast<size_t>(c.hole_size) * c.hole_size;
    const size_t end = static_cast<size_t>(kHoleStages) * area;
    return c.hole_img && c.hole_img->width >= c.hole_size && c.hole_img->height >= c.hole_size &&
           open >= 0 && open < kHoleStages && c.hole_mask.size() >= end &&
           c.hole_normx.size() >= end && c.hole_normy.size() >= end && c.hole_normz.size() >= end;
}

// The pixel of sample i lit from (lx, ly, lz): deep blue unlit, near white fully lit.
uint32_t LitPixel(const Content& c, int i, float lx, float ly, float lz) {
    float l = static_cast<float>(static_cast<double>(c.hole_normx[i]) * lx +
                                 static_cast<double>(c.hole_normy[i]) * ly +
                                 static_cast<double>(c.hole_normz[i]) * lz);
    if (l < 0) l = 0;
    if (l > 1) l = 1;
    return static_cast<uint32_t>(c.hole_mask[i]) << 24 |
           static_cast<uint32_t>(FloatToInt(20 + 235.0 * l)) << 16 |
           static_cast<uint32_t>(FloatToInt(35 + 220.0 * l)) << 8 |
           static_cast<uint32_t>(FloatToInt(80 + 165.0 * l));
}
}  // namespace

void hole::relight() {
    Content& c = Generated();
    if (!StageReady(c, open)) return;
    c.work_pix = LockImage(c.hole_img, 0, 1, 1);
    const int size = c.hole_size;
    const int stage = open * size * size;
    for (float x = 0; x < size; x += 1) {
        for (float y = 0; y < size; y += 1) {
            const int i = FloatToInt(x + static_cast<double>(y) * size) + stage;
            WritePixel(c.work_pix, FloatToInt(x), FloatToInt(y),
                       LitPixel(c, i, light_x, light_y, light_z));
        }
    }
    UnlockImage(c.hole_img, 0);
}

int hole::draw() {
    const Content& c = Generated();
    SetAlpha(alpha);
    if (open > 0 && stillopen == 0) {
        SetColor(230, 100, 20);
        if (alpha == 1)
            DrawImage(c.hole_glow, static_cast<float>(pos.x), static_cast<float>(pos.y), 0);
        relight();
    } else {
        stillopen = 0;
    }
    // The frame after one at stage 1 skips its relight; closed, the image keeps its last look.
    if (open == 1) stillopen = 1;
    SetColor(FloatToInt(col.r), FloatToInt(col.g), FloatToInt(col.b));
    SetBlend(BLEND_ALPHA);
    DrawImage(c.hole_img, static_cast<float>(pos.x), static_cast<float>(pos.y), 0);
    if (open > 0 && alpha == 1) {
        const double bloom = open / 148.0;
        SetBlend(BLEND_LIGHT);
        SetColor(255, 240, 235);
        SetAlpha(static_cast<float>(bloom * bloom));
        SetScale(4, 4);
        DrawImage(c.glow_red, static_cast<float>(pos.x), static_cast<float>(pos.y), 0);
    }
    SetBlend(BLEND_ALPHA);
    SetScale(1, 1);
    return 0;
}
