// An enemy's sprites, computed from its size alone: a dome-shaped height field, the white dome
// sprite whose opacity follows it, and a soft black shadow from the field blurred twice.
// Depends on the blur of the content generators and the image layer.
#include "generate/blur.hpp"
#include "objects/enemy.hpp"

namespace {
constexpr int kImageFlags = 11;  // masked, filtered, dynamic

// Height of the dome at sprite pixel (x, y): a hemisphere of radius 0.3125 * size about the
// sprite centre, zero outside.
float DomeHeight(float x, float y, float size, float half) {
    const double offset = size - double{1.3f} * size;
    const float u = static_cast<float>(double{1.6f} * x + offset);
    const float v = static_cast<float>(double{1.6f} * y + offset);
    // Only u, v and h are stored as floats; the rest stays double until h is stored.
    const double nu = (static_cast<double>(half) - u) / half;
    const double nv = (static_cast<double>(half) - v) / half;
    const double d = Sqrt(nu * nu + nv * nv);
    float h = static_cast<float>(1 - Pow(d, 2));
    if (h > 1) h = 1;
    if (h < 0) h = 0;
    return static_cast<float>(Pow(h, 0.5));
}

// Index of sample (x, y) in a field S wide, computed in floating point.
int FieldIndex(float x, float y, int S) {
    return FloatToInt(x + static_cast<double>(y) * S);
}

void FillBump(enemy& e, int S) {
    for (float x = 0; x < S; x += 1)
        for (float y = 0; y < S; y += 1)
            e.bump[FieldIndex(x, y, S)] = DomeHeight(x, y, e.size, e.half);
}

// Writes the shadow: alpha = softened height * 128, black.
void WriteShadow(enemy& e, int S, const FloatField& soft) {
    e.shadow = CreateImage(S, S, 1, kImageFlags);
    PixmapPtr pix = LockImage(e.shadow, 0, 1, 1);
    for (float x = 0; x < S; x += 1) {
        for (float y = 0; y < S; y += 1) {
            const int a = FloatToInt(soft[FieldIndex(x, y, S)] * 128.0);
            WritePixel(pix, FloatToInt(x), FloatToInt(y), static_cast<uint32_t>(a) << 24);
        }
    }
    UnlockImage(e.shadow, 0);
}

// Writes the ship: white, alpha = height * 255; its pixmap stays in `ship_pix`.
void WriteShip(enemy& e, int S) {
    e.ship_pix = LockImage(e.ship, 0, 1, 1);
    for (float x = 0; x < S; x += 1) {
        for (float y = 0; y < S; y += 1) {
            const int a = FloatToInt(e.bump[FieldIndex(x, y, S)] * 255.0);
            WritePixel(e.ship_pix, FloatToInt(x), FloatToInt(y),
                       static_cast<uint32_t>(a) << 24 | 0xFFFFFFu);
        }
    }
    UnlockImage(e.ship, 0);
}
}  // namespace

int enemy::generatealt() {
    // Every ship the game makes has a whole size; a fractional one is built at its whole part,
    // so the pixel loops never reach past the S x S sprite.
    const int S = FloatToInt(size);
    const size_t n = static_cast<size_t>(S) * S;
    // A ship of no size (kinds other than 0) gets no sprites rather than empty images: drawing
    // and touching then simply skip it.
    if (S < 1) {
        ship = shadow = nullptr;
        ship_pix = nullptr;
        bump.clear(), paint.clear();
        return 0;
    }
    ship = CreateImage(S, S, 1, kImageFlags);
    bump.assign(n, 0.0f);
    paint.assign(n, 0.0f);
    FillBump(*this, S);
    FloatField soft(bump), scratch(n, 0.0f);
    blur(1, soft.data(), scratch.data(), S, S);
    blur(2, soft.data(), scratch.data(), S, S);
    WriteShadow(*this, S, soft);
    WriteShip(*this, S);
    return 0;
}
