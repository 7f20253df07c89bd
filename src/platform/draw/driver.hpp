// TVorn2DDriver: the back end that turns drawing state and primitives into OpenGL work.
// The front end (graphics.hpp) keeps the state record and forwards every change here.
#pragma once

#include <memory>

#include "platform/draw/image.hpp"
#include "platform/draw/pixmap.hpp"

class TGraphics;

class TVorn2DDriver {
  public:
    virtual ~TVorn2DDriver() = default;

    // Starts drawing into `graphics` (whose context is current); false when that fails.
    virtual bool AttachGraphics(TGraphics* graphics) = 0;
    // Stops drawing into the attached graphics and releases what belongs to its context.
    virtual void DetachGraphics() = 0;
    // Presents the back buffer, which keeps its content.
    virtual void Flip(int sync) = 0;
    // A texture frame holding `pixmap`; null when none can be made.
    virtual FramePtr CreateFrameFromPixmap(const PixmapPtr& pixmap, int flags) = 0;
    // Like CreateFrameFromPixmap, but may upload into `old` (a frame this driver made for the
    // same image slot) and return it when its texture fits.
    virtual FramePtr RebuildFrame(const PixmapPtr& pixmap, int flags, const FramePtr& old) {
        (void)old;
        return CreateFrameFromPixmap(pixmap, flags);
    }
    virtual void SetBlend(int mode) = 0;
    virtual void SetAlpha(float alpha) = 0;
    virtual void SetColor(int r, int g, int b) = 0;
    virtual void SetClsColor(int r, int g, int b) = 0;
    virtual void SetViewport(int x, int y, int w, int h) = 0;
    virtual void SetTransform(float ix, float iy, float jx, float jy) = 0;
    virtual void SetLineWidth(float width) = 0;
    virtual void Cls() = 0;
    virtual void Plot(float x, float y) = 0;
    virtual void DrawLine(float x0, float y0, float x1, float y1, float tx, float ty) = 0;
    virtual void DrawRect(float x0, float y0, float x1, float y1, float tx, float ty) = 0;
    virtual void DrawOval(float x0, float y0, float x1, float y1, float tx, float ty) = 0;
    // `xy` holds `count` points as x, y pairs.
    virtual void DrawPoly(const float* xy, int count, float handle_x, float handle_y, float tx,
                          float ty) = 0;
    virtual void DrawPixmap(const TPixmap& pixmap, int x, int y) = 0;
    // Reads the back-buffer rectangle with top-left (x, y) into a new RGBA32 pixmap, alpha 255.
    virtual PixmapPtr GrabPixmap(int x, int y, int w, int h) = 0;
    virtual void SetResolution(float w, float h) = 0;
    // Forgets the attached graphics without touching the 3D interface (already shut down).
    virtual void AbandonGraphics() {}
    // Waits until everything drawn so far is in the back buffer (benchmarks, tests).
    virtual void Finish() {}
    // Debug aid: draw every primitive as soon as it is queued (to compare with batching).
    virtual void SetFlushEachPrimitive(bool on) { (void)on; }
    // Draw calls issued since the driver was attached (tests of the batching).
    virtual int DrawCallCount() const { return 0; }
};

// The driver selected for new graphics, or null.
TVorn2DDriver* CurrentDriver();
