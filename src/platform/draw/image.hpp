// TImage: a drawable image of one or more frames, each a pixmap turned lazily into a texture
// frame by the current drawing driver. Depends on pixmap.hpp and the driver interface.
#pragma once

#include <memory>
#include <vector>

#include "platform/draw/pixmap.hpp"

constexpr int IMAGE_MASKED = 1;
constexpr int IMAGE_FILTERED = 2;
constexpr int IMAGE_MIPMAPPED = 4;
constexpr int IMAGE_DYNAMIC = 8;

// One frame of an image as a texture of the driver that made it.
class TImageFrame {
  public:
    virtual ~TImageFrame() = default;
    // Draws the source rectangle (sx, sy, sw, sh) of the frame onto the quad (x0, y0)-(x1, y1)
    // transformed by the current matrix and moved by (tx, ty).
    virtual void Draw(float x0, float y0, float x1, float y1, float tx, float ty, float sx,
                      float sy, float sw, float sh) = 0;
};
using FramePtr = std::shared_ptr<TImageFrame>;

class TImage;
using ImagePtr = std::shared_ptr<TImage>;

class TImage {
  public:
    int width = 0;
    int height = 0;
    int flags = 0;
    int mask_r = 0;
    int mask_g = 0;
    int mask_b = 0;
    float handle_x = 0;
    float handle_y = 0;
    std::vector<PixmapPtr> pixmaps;
    std::vector<FramePtr> frames;
    std::vector<int> seqs;
    // Frames dropped by a write lock or SetPixmap, offered back to the driver so that a frame of
    // unchanged size is uploaded into its existing texture.
    std::vector<FramePtr> retired;

    // The texture of frame `index`, built anew when stale; null when it cannot be made or
    // when the image has no such frame. A reference, valid until the frame is next rebuilt or
    // dropped: drawing copies no shared pointer.
    const FramePtr& Frame(int index);
    // The pixmap of frame `index` (created RGBA32 on first need); a write lock drops the
    // texture so the next draw rebuilds it.
    PixmapPtr Lock(int index, int read, int write);
    // Replaces the pixmap of frame `index`, masking it first when the image is masked and the
    // pixmap has no alpha.
    void SetPixmap(int index, PixmapPtr pixmap);
    int FrameCount() const { return static_cast<int>(pixmaps.size()); }

    // Drops the texture of frame `index` so that the next draw rebuilds it.
    void Retire(int index);

    static ImagePtr Create(int width, int height, int frames, int flags, int mask_r, int mask_g,
                           int mask_b);
};

// A new image; flags -1 means the automatic flags; IMAGE_DYNAMIC is always added; mid-handled
// when automatic centring is on.
ImagePtr CreateImage(int width, int height, int frames, int flags);
PixmapPtr LockImage(const ImagePtr& image, int frame, int read, int write);
void UnlockImage(const ImagePtr& image, int frame);
// Copies the back-buffer rectangle (x, y, image width, image height) into `frame`.
void CaptureImage(const ImagePtr& image, int x, int y, int frame);
void SetAutoCentre(int enable);
int AutoCentre();
void CentreImageHandle(TImage& image);
void SetAutoImageFlags(int flags);
int AutoImageFlags();
void SetMaskColor(int r, int g, int b);
void GetMaskColor(int* r, int* g, int* b);
// Puts the automatic flags, the mask colour and automatic centring back to their initial values.
void ResetImageDefaults();

// The graphics generation: never 0; advanced when a driver is chosen, when a context has
// been opened and when it is closed. A texture is valid only for the generation it was made in.
int GraphicsGeneration();
void AdvanceGraphicsGeneration();
