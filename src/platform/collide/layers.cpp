// The 32 collision layers and the free list of quads, and OverlapImage, which tests an image's
// quad against the layers and writes it into others. Depends on the drawing library for the
// image's pixmap, the collision matrix and the origin.
#include <algorithm>
#include <cstdint>

#include "platform/collide/collide.hpp"

namespace {
constexpr int kLayers = 32;

TQuad* g_layers[kLayers] = {};
TQuad* g_free = nullptr;

// Every quad ever made; layers and the free list only link them.
std::vector<std::unique_ptr<TQuad>>& Pool() {
    static std::vector<std::unique_ptr<TQuad>> pool;
    return pool;
}

bool LayerSet(int mask, int layer) {
    return (static_cast<uint32_t>(mask) >> layer) & 1u;
}

// A quad from the free list, or a new one when the list is empty.
TQuad* TakeQuad() {
    TQuad* q = g_free;
    if (q) {
        g_free = q->link;
    } else {
        Pool().push_back(std::make_unique<TQuad>());
        q = Pool().back().get();
    }
    q->link = nullptr;
    return q;
}

void FreeQuad(TQuad* q) {
    q->link = g_free;
    g_free = q;
}

// Quad q of `image` placed at (x, y) as DrawImage would place it: the image's handle, the
// collision matrix and the drawing origin; solid when the frame's pixmap has no alpha.
void BuildQuad(TQuad* q, const TImage& image, PixmapPtr pixmap, int x, int y, int frame,
               const TCollisionId& id) {
    float ix, iy, jx, jy, ox, oy;
    GetCollisionTransform(&ix, &iy, &jx, &jy);
    GetOrigin(&ox, &oy);
    const float hx = image.handle_x, hy = image.handle_y;
    const float w = float(image.width), h = float(image.height);
    const float fx = float(x), fy = float(y);
    auto sx = [&](float px, float py) { return px * ix + py * iy + fx + ox; };
    auto sy = [&](float px, float py) { return px * jx + py * jy + fy + oy; };
    q->SetCoords(sx(-hx, -hy), sy(-hx, -hy), sx(w - hx, -hy), sy(w - hx, -hy), sx(w - hx, h - hy),
                 sy(w - hx, h - hy), sx(-hx, h - hy), sy(-hx, h - hy));
    q->id = id;
    q->mask = FormatHasAlpha(pixmap->format) ? std::move(pixmap) : nullptr;
    q->frame = frame;
}

// Puts a copy of q at the head of `layer`.
void WriteQuad(const TQuad& q, int layer) {
    TQuad* w = TakeQuad();
    w->id = q.id;
    w->mask = q.mask;
    w->frame = q.frame;
    w->minx = q.minx, w->miny = q.miny, w->maxx = q.maxx, w->maxy = q.maxy;
    std::copy(q.xyuv, q.xyuv + 16, w->xyuv);
    w->link = g_layers[layer];
    g_layers[layer] = w;
}

// Appends the ids of the quads of the layers of `mask` that q overlaps; returns their number.
int TestLayers(const TQuad& q, int mask, std::vector<TCollisionId>* hits) {
    int count = 0;
    for (int j = 0; j < kLayers; ++j) {
        if (!LayerSet(mask, j)) continue;
        for (const TQuad* r = g_layers[j]; r; r = r->link) {
            if (!QuadsOverlap(q, *r)) continue;
            ++count;
            if (hits) hits->push_back(r->id);
        }
    }
    return count;
}
}  // namespace

void ClearCollisionLayers(int mask) {
    for (int j = 0; j < kLayers; ++j) {
        if (mask != 0 && !LayerSet(mask, j)) continue;
        while (TQuad* q = g_layers[j]) {
            g_layers[j] = q->link;
            FreeQuad(q);
        }
    }
}

int OverlapImage(const ImagePtr& image, int x, int y, int frame, int collide_mask, int write_mask,
                 const TCollisionId& id, std::vector<TCollisionId>* hits) {
    if (hits) hits->clear();
    // An image without that frame is not drawn, so it touches nothing and leaves nothing.
    PixmapPtr pixmap = image ? image->Lock(frame, 1, 0) : nullptr;
    if (!pixmap) return 0;
    TQuad* q = TakeQuad();
    BuildQuad(q, *image, std::move(pixmap), x, y, frame, id);
    const int count = TestLayers(*q, collide_mask, hits);
    for (int j = 0; j < kLayers; ++j)
        if (LayerSet(write_mask, j)) WriteQuad(*q, j);
    // The probe itself is in no layer: it keeps nobody's id or pixmap alive.
    q->id.reset();
    q->mask.reset();
    FreeQuad(q);
    return count;
}

std::vector<TCollisionId> OverlapImage(const ImagePtr& image, int x, int y, int frame,
                                       int collide_mask, int write_mask, TCollisionId id) {
    std::vector<TCollisionId> hits;
    OverlapImage(image, x, y, frame, collide_mask, write_mask, id, &hits);
    return hits;
}
