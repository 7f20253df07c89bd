// The scanline walk over a few polygons: winding correction, the top vertex, the left and
// right edge walk with its finish rules, and the per-scanline stepping. Depends on numbers.hpp.
#include <algorithm>
#include <cstdint>

#include "platform/base/numbers.hpp"
#include "platform/collide/detail/scan_walk.hpp"

namespace collide_detail {
namespace {

// Whether every fan cross product from vertex 0 is at least 0 (as integers), i.e. the
// vertices run counter-clockwise on screen (or the polygon has no area to speak of).
bool NeedsReversal(const TRPoly& p) {
    const float* d = p.data;
    const float x0 = d[0], y0 = d[1];
    for (int i = 2; i < p.count; ++i) {
        const float xa = d[(i - 1) * kChannels], ya = d[(i - 1) * kChannels + 1];
        const float xb = d[i * kChannels], yb = d[i * kChannels + 1];
        if (FloatToInt((xb - xa) * (ya - y0) - (xa - x0) * (yb - ya)) < 0) return false;
    }
    return true;
}

// Beyond 2^24 a float no longer tells neighbouring pixels apart, so clamping vertex positions
// there changes no quad that has pixel precision, and it bounds the walk of absurdly large
// ones (and keeps their spans far from the limits of int). Not-a-number passes unchanged.
constexpr float kFar = 16777216.0f;

float ClampFar(float v) {
    if (v > kFar) return kFar;
    return v < -kFar ? -kFar : v;
}

void ReverseVertices(TRPoly* p) {
    for (int k = 0, j = p->count - 1; k < j; ++k, --j)
        for (int c = 0; c < kChannels; ++c)
            std::swap(p->data[k * kChannels + c], p->data[j * kChannels + c]);
}

// Starts the next edge at scanline y walking in `step` (-1 left side, +1 right side) from
// *end. False when the walk comes back round or the edge is less than one scanline tall: the
// polygon is finished.
bool StartEdge(TRPoly* p, int64_t y, int step, int* end, float* dat, float* add) {
    int s = *end, e = s;
    for (;;) {
        e = (s + step + p->count) % p->count;
        if (e == *end) return false;
        if (p->iy[e] > y) break;
        s = e;
    }
    const int64_t dy = int64_t(p->iy[e]) - p->iy[s];
    if (dy < 1) return false;
    const float fdy = float(dy);
    for (int c = 0; c < kChannels; ++c) {
        const float vs = p->data[s * kChannels + c], ve = p->data[e * kChannels + c];
        add[c] = (ve - vs) / fdy;
        dat[c] = vs + add[c] * 0.5f;
    }
    *end = e;
    return true;
}

// The active polygons of the walk, in the order they became active.
struct TActiveList {
    TRPoly* items[kMaxPolys] = {};
    int count = 0;

    void Append(TRPoly* p) { items[count++] = p; }
    void Remove(TRPoly* p) {
        const int i = int(std::find(items, items + count, p) - items);
        if (i == count) return;
        std::copy(items + i + 1, items + count, items + i);
        --count;
    }
};

// Brings polygon p's edges up to scanline y; false when it has finished.
bool StepEdges(TRPoly* p, int64_t y, TActiveList* active) {
    if (y >= p->iy[p->Left]) {
        if (!StartEdge(p, y, -1, &p->Left, p->ldat, p->ladd)) return false;
        if (p->state == 0) p->state = 1, active->Append(p);
    }
    if (y >= p->iy[p->Right] && !StartEdge(p, y, +1, &p->Right, p->rdat, p->radd)) return false;
    return true;
}

void Advance(const TActiveList& active) {
    for (int i = 0; i < active.count; ++i) {
        TRPoly* p = active.items[i];
        for (int c = 0; c < kChannels; ++c)
            p->ldat[c] += p->ladd[c], p->rdat[c] += p->radd[c];
    }
}

}  // namespace

void LoadPoly(TRPoly* p, const float* xyuv, int count, const TPixmap* texture) {
    p->texture = texture;
    p->count = std::clamp(count, 0, kMaxVertices);
    std::copy(xyuv, xyuv + p->count * kChannels, p->data);
    for (int k = 0; k < p->count; ++k) {
        p->data[k * kChannels] = ClampFar(p->data[k * kChannels]);
        p->data[k * kChannels + 1] = ClampFar(p->data[k * kChannels + 1]);
    }
    if (NeedsReversal(*p)) ReverseVertices(p);
    for (int k = 0; k < p->count; ++k)
        p->iy[k] = FloatToInt(p->data[k * kChannels + 1]);
    int top = 0;
    for (int k = 1; k < p->count; ++k)
        if (p->iy[k] < p->iy[top]) top = k;
    p->top = p->count ? p->iy[top] : 0;
    p->Left = p->Right = top;
    p->state = 0;
}

bool ScanPolys(TRPoly* polys, int count) {
    if (count < 2 || count > kMaxPolys) return false;
    int64_t y_begin = polys[0].top, y_end = polys[0].top;
    for (int i = 0; i < count; ++i) {
        if (polys[i].count < 3) return false;  // no area: nothing can be solid
        y_begin = std::min<int64_t>(y_begin, polys[i].top);
        for (int k = 0; k < polys[i].count; ++k)
            y_end = std::max<int64_t>(y_end, polys[i].iy[k]);
    }
    TActiveList active;
    int unfinished = count;
    for (int64_t y = y_begin; y < y_end && unfinished >= 2; ++y) {
        for (int i = 0; i < count; ++i) {
            TRPoly* p = &polys[i];
            if (p->state == 2 || p->top > y || StepEdges(p, y, &active)) continue;
            p->state = 2, --unfinished;
            active.Remove(p);
        }
        if (active.count >= 2 && SpansOverlap(active.items, active.count)) return true;
        Advance(active);
    }
    return false;
}

}  // namespace collide_detail
