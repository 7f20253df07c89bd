// Quads: their corners and bounding box, and the overlap test of two of them (box rejection,
// then the scanline walk of detail/scan_walk.hpp).
#include <algorithm>

#include "platform/collide/collide.hpp"
#include "platform/collide/detail/scan_walk.hpp"

void TQuad::SetCoords(float x0, float y0, float x1, float y1, float x2, float y2, float x3,
                      float y3) {
    const float v[16] = {x0, y0, 0, 0, x1, y1, 1, 0, x2, y2, 1, 1, x3, y3, 0, 1};
    std::copy(v, v + 16, xyuv);
    minx = maxx = x0, miny = maxy = y0;
    for (int k = 1; k < 4; ++k) {
        const float x = xyuv[k * 4], y = xyuv[k * 4 + 1];
        if (x < minx) minx = x;
        if (x > maxx) maxx = x;
        if (y < miny) miny = y;
        if (y > maxy) maxy = y;
    }
}

bool QuadsOverlap(const TQuad& a, const TQuad& b) {
    if (!(a.maxx >= b.minx && a.maxy >= b.miny && a.minx <= b.maxx && a.miny <= b.maxy)) {
        return false;
    }
    using namespace collide_detail;
    TRPoly polys[2];
    LoadPoly(&polys[0], a.xyuv, 4, a.mask.get());
    LoadPoly(&polys[1], b.xyuv, 4, b.mask.get());
    return ScanPolys(polys, 2);
}
