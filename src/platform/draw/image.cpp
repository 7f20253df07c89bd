// Images: creation, locking, pixmap replacement and the lazy texture of each frame.
#include "platform/draw/image.hpp"

#include "platform/draw/driver.hpp"

namespace {
int g_generation = 1;
int g_auto_flags = IMAGE_MASKED | IMAGE_FILTERED;
int g_auto_centre = 0;
int g_mask_r = 0, g_mask_g = 0, g_mask_b = 0;

bool ValidIndex(const TImage& image, int index) {
    return index >= 0 && index < image.FrameCount();
}
}  // namespace

int GraphicsGeneration() {
    return g_generation;
}

void AdvanceGraphicsGeneration() {
    g_generation = g_generation == -1 ? 1 : g_generation + 1;
    if (g_generation == 0) g_generation = 1;
}

void ResetImageDefaults() {
    g_auto_flags = IMAGE_MASKED | IMAGE_FILTERED;
    g_auto_centre = 0;
    g_mask_r = g_mask_g = g_mask_b = 0;
}

void SetAutoCentre(int enable) {
    g_auto_centre = enable;
}
int AutoCentre() {
    return g_auto_centre;
}
void SetAutoImageFlags(int flags) {
    g_auto_flags = flags;
}
int AutoImageFlags() {
    return g_auto_flags;
}

void SetMaskColor(int r, int g, int b) {
    g_mask_r = r;
    g_mask_g = g;
    g_mask_b = b;
}

void GetMaskColor(int* r, int* g, int* b) {
    *r = g_mask_r;
    *g = g_mask_g;
    *b = g_mask_b;
}

void CentreImageHandle(TImage& image) {
    image.handle_x = image.width * 0.5f;
    image.handle_y = image.height * 0.5f;
}

ImagePtr TImage::Create(int width, int height, int frames, int flags, int mask_r, int mask_g,
                        int mask_b) {
    auto image = std::make_shared<TImage>();
    image->width = width;
    image->height = height;
    image->flags = flags;
    image->mask_r = mask_r;
    image->mask_g = mask_g;
    image->mask_b = mask_b;
    if (frames < 0) frames = 0;
    image->pixmaps.resize(frames);
    image->frames.resize(frames);
    image->seqs.assign(frames, 0);
    image->retired.resize(frames);
    return image;
}

ImagePtr CreateImage(int width, int height, int frames, int flags) {
    if (flags == -1) flags = g_auto_flags;
    flags |= IMAGE_DYNAMIC;
    auto image = TImage::Create(width, height, frames, flags, g_mask_r, g_mask_g, g_mask_b);
    if (g_auto_centre) CentreImageHandle(*image);
    return image;
}

PixmapPtr TImage::Lock(int index, int, int write) {
    if (!ValidIndex(*this, index)) return nullptr;
    if (write) Retire(index);
    if (!pixmaps[index]) pixmaps[index] = CreatePixmap(width, height, PIXFMT_RGBA32, 4);
    return pixmaps[index];
}

void TImage::SetPixmap(int index, PixmapPtr pixmap) {
    if (!ValidIndex(*this, index)) return;
    if ((flags & IMAGE_MASKED) && pixmap && !FormatHasAlpha(pixmap->format)) {
        pixmap = MaskPixmap(*pixmap, mask_r, mask_g, mask_b);
    }
    pixmaps[index] = std::move(pixmap);
    Retire(index);
}

const FramePtr& TImage::Frame(int index) {
    static const FramePtr kNone;
    if (!ValidIndex(*this, index)) return kNone;
    if (seqs[index] == g_generation) return frames[index];
    TVorn2DDriver* driver = CurrentDriver();
    PixmapPtr p = Lock(index, 1, 0);
    FramePtr f = driver ? driver->RebuildFrame(p, flags, retired[index]) : nullptr;
    retired[index] = nullptr;
    frames[index] = std::move(f);
    seqs[index] = frames[index] ? g_generation : 0;
    return frames[index];
}

void TImage::Retire(int index) {
    seqs[index] = 0;
    if (frames[index]) retired[index] = std::move(frames[index]);
    frames[index] = nullptr;
}

PixmapPtr LockImage(const ImagePtr& image, int frame, int read, int write) {
    return image ? image->Lock(frame, read, write) : nullptr;
}

void UnlockImage(const ImagePtr&, int) {}

void CaptureImage(const ImagePtr& image, int x, int y, int frame) {
    TVorn2DDriver* driver = CurrentDriver();
    if (!image || !driver) return;
    PixmapPtr p = driver->GrabPixmap(x, y, image->width, image->height);
    if (p && (image->flags & IMAGE_MASKED)) p = MaskPixmap(*p, g_mask_r, g_mask_g, g_mask_b);
    if (p) image->SetPixmap(frame, p);  // a rectangle too large to hold leaves the frame alone
}
