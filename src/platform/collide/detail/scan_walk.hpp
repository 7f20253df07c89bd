// The scanline walk behind QuadsOverlap: the per-polygon edge state and the walk over a set of
// polygons of x, y, u, v vertices. Depends on pixmap.hpp only.
#pragma once

#include "platform/draw/pixmap.hpp"

namespace collide_detail {

constexpr int kChannels = 4;     // x, y, u, v
constexpr int kMaxVertices = 4;  // quads
constexpr int kMaxPolys = 2;     // a pair of quads

// One polygon of the walk. The vertices are copied, so correcting the winding never touches
// the quad they came from.
struct TRPoly {
    const TPixmap* texture = nullptr;  // mask, or null for fully solid
    float data[kMaxVertices * kChannels] = {};
    int iy[kMaxVertices] = {};  // FloatToInt of each vertex y
    int count = 0;
    float ldat[kChannels] = {}, ladd[kChannels] = {}, rdat[kChannels] = {}, radd[kChannels] = {};
    int Left = 0, Right = 0;  // vertex ending the current left / right edge
    int top = 0;              // smallest vertex y, as integer
    int state = 0;            // 0 not yet reached, 1 active, 2 finished
};

// Fills `poly` from `count` vertices (x, y, u, v each) and puts them in screen-clockwise order.
void LoadPoly(TRPoly* poly, const float* xyuv, int count, const TPixmap* texture);

// The test of one scanline: whether some pixel of the overlap of the first two active spans is
// solid in two of the `count` active polygons.
bool SpansOverlap(TRPoly* const* active, int count);

// Walks the polygons scanline by scanline; true as soon as a scanline has a pixel solid in
// two of them.
bool ScanPolys(TRPoly* polys, int count);

}  // namespace collide_detail
