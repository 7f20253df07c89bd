// Temporary stand-ins for the drawing layer while it is being written; removed by it.
#include "platform/driver.hpp"
#include "platform/graphics.hpp"

TVorn2DDriver* CurrentDriver() {
    return nullptr;
}
PixmapPtr MaskPixmap(const TPixmap& pixmap, int, int, int) {
    return pixmap.Convert(PIXFMT_RGBA32);
}
PixmapPtr ResizePixmap(const TPixmap& pixmap, int, int) {
    return pixmap.Copy();
}
