// The desktop icon at any size: the lit player ship on a dark rounded plate with a light rim,
// so that it reads on a dark panel as on a light one. Pure processor work on pixmaps.
#pragma once

#include "platform/draw/pixmap.hpp"

// The plate's colours (ARGB, opaque): its rim, the top and bottom of its fill, and the glow
// behind the ship that keeps its dark flanks apart from the fill.
constexpr uint32_t kIconRim = 0xFF8CAAEBu, kIconFillTop = 0xFF1C2850u,
                   kIconFillBottom = 0xFF080C1Cu, kIconGlow = 0xFF5A78C8u;

// A new size x size RGBA32 icon holding `ship` (straight alpha) scaled into the plate; null when
// it cannot be made.
PixmapPtr IconTile(const TPixmap& ship, int size);
