// The platform's collision library: 32 layers of image quads and the pixel-exact test of one
// image, placed as DrawImage would place it, against the quads written before. Depends on the
// drawing library (images, pixmaps and the collision matrix).
#pragma once

#include <memory>
#include <vector>

#include "platform/draw/draw.hpp"

// Whatever identifies the owner of a quad; handed back to callers on a hit.
using TCollisionId = std::shared_ptr<const void>;

// One placed image: its identity, its mask (null for a fully solid quad) and four vertices of
// x, y, u, v with their bounding box. Layers and the free list chain quads through `link`.
struct TQuad {
    TQuad* link = nullptr;
    TCollisionId id;
    PixmapPtr mask;
    int frame = 0;
    float minx = 0, miny = 0, maxx = 0, maxy = 0;
    float xyuv[16] = {};

    // Stores the corners with texture coordinates (0,0), (1,0), (1,1), (0,1) and their box.
    void SetCoords(float x0, float y0, float x1, float y1, float x2, float y2, float x3, float y3);
};

// Whether two quads share a solid pixel (bounding boxes first, then the scanline walk).
bool QuadsOverlap(const TQuad& a, const TQuad& b);

// Empties every layer whose bit is set in mask (all 32 when mask is 0); quads go to the free list.
void ClearCollisionLayers(int mask);

// The ids of the quads hit in the layers of collide_mask (once per layer hit, in order found),
// then writes the image into the layers of write_mask. Empty when nothing is hit.
std::vector<TCollisionId> OverlapImage(const ImagePtr& image, int x, int y, int frame,
                                       int collide_mask, int write_mask, TCollisionId id = nullptr);

// Allocation-free form for per-frame use: clears *hits, fills it, returns the number of hits.
// `hits` may be null: then only the count is returned.
int OverlapImage(const ImagePtr& image, int x, int y, int frame, int collide_mask, int write_mask,
                 const TCollisionId& id, std::vector<TCollisionId>* hits);
