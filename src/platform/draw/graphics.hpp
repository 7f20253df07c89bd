// The 2D drawing front end: one state record per open context, free operations that change it
// and forward to the current driver, and opening/closing the game's graphics.
#pragma once

#include <memory>
#include <string>

#include "platform/draw/driver.hpp"
#include "platform/draw/image.hpp"
#include "platform/system/window_graphics.hpp"

constexpr int BLEND_MASK = 1;
constexpr int BLEND_SOLID = 2;
constexpr int BLEND_ALPHA = 3;
constexpr int BLEND_LIGHT = 4;
constexpr int BLEND_SHADE = 5;

class TImageFont;

class TVorn2DGraphics {
  public:
    int color_red = 255, color_green = 255, color_blue = 255;
    float color_alpha = 1.0f;
    int clscolor_red = 0, clscolor_green = 0, clscolor_blue = 0;
    float line_width = 1.0f;
    float tform_rot = 0;
    float tform_scale_x = 1.0f, tform_scale_y = 1.0f;
    float tform_ix = 1, tform_iy = 0, tform_jx = 0, tform_jy = 1;
    int viewport_x = 0, viewport_y = 0, viewport_w = 0, viewport_h = 0;
    float origin_x = 0, origin_y = 0;
    float handle_x = 0, handle_y = 0;  // stored negated
    std::shared_ptr<TImageFont> image_font;
    int blend_mode = BLEND_MASK;
    float vres_width = 0, vres_height = 0;
    float vres_mousexscale = 1.0f, vres_mouseyscale = 1.0f;
    TGraphics* _graphics = nullptr;
    TVorn2DDriver* _driver = nullptr;
    int _setup = 0;

    // Replays every field into the driver, in the fixed order.
    void Validate();
    // Makes this record and its driver current; the first time, clears both buffers.
    void MakeCurrent();
    static std::shared_ptr<TVorn2DGraphics> Create(TGraphics* graphics, TVorn2DDriver* driver);
    static TVorn2DGraphics* Current();
    static void ClearCurrent();
};

// Chooses the back end for later OpenGraphics calls; `default_flags` are or-ed into theirs.
void SelectGraphicsDriver(std::shared_ptr<TVorn2DDriver> driver, int default_flags);
// The OpenGL back end.
std::shared_ptr<TVorn2DDriver> CreateGLDriver();
// Opens the window and its drawing context and makes it current; null on failure, with the
// reason in LastGraphicsError().
TGraphics* OpenGraphics(int width, int height, int depth, int hertz, int flags);
// Why the last OpenGraphics failed; empty after a success.
const std::string& LastGraphicsError();
// Closes the open graphics (if any); their textures become stale.
void CloseGraphics();
// Closes the graphics, forgets the chosen driver and its default flags, and puts the image
// defaults back (ResetImageDefaults): the layer as a fresh process has it (tests, tools).
void ResetDrawingState();
// Size the open graphics were asked for (0 while none are open).
int ScreenWidth();
int ScreenHeight();

// Drawing state. Every operation acts on the current record and does nothing while no
// graphics are open.

// Drawing colour; the driver clamps each channel to 0..255.
void SetColor(int r, int g, int b);
// Drawing alpha; the driver clamps to 0..1 and truncates alpha * 255 to a byte.
void SetAlpha(float alpha);
// Blend mode, one of BLEND_MASK .. BLEND_SHADE.
void SetBlend(int mode);
// Line width: 1 or less draws thin lines, more draws quads.
void SetLineWidth(float width);
// Clear colour; Cls fills the whole back buffer with it, alpha 255.
void SetClsColor(int r, int g, int b);
void Cls();
// Rotation (positive turns clockwise on screen) and scale of everything drawn after; they also
// set the collision matrix, with or without open graphics.
void SetRotation(float degrees);
void SetScale(float sx, float sy);
// Translation added to every drawing position.
void SetOrigin(float x, float y);
// Global handle of rectangles, ovals, lines and text (stored negated).
void SetHandle(float x, float y);
// Clip rectangle in window pixels; the whole window turns clipping off.
void SetViewport(int x, int y, int w, int h);
// Size of the area projected onto the window (the window size by default).
void SetLogicalSize(float w, float h);
// Font of DrawText; null selects the built-in font.
void SetImageFont(std::shared_ptr<TImageFont> font);
// Filled rectangle, and the filled ellipse inscribed in it.
void DrawRect(float x, float y, float w, float h);
void DrawOval(float x, float y, float w, float h);
// Line from (x, y) to (x2, y2); its end pixel is plotted when draw_last_pixel is non-zero.
void DrawLine(float x, float y, float x2, float y2, int draw_last_pixel = 1);
// One pixel at (x, y) plus the origin, untransformed.
void Plot(float x, float y);
// Frame `frame` of `image` with its handle at (x, y); nothing for a frame it does not have.
void DrawImage(const ImagePtr& image, float x, float y, int frame = 0);
// Text in the current font; characters the font lacks are skipped without advancing.
void DrawText(const std::string& text, float x, float y);
// Presents the back buffer (emitting the flip hook first); the back buffer keeps its content.
void Flip(int sync);

// Filled convex polygon of `count` points (x, y pairs), moved by the handle and origin.
void DrawPoly(const float* xy, int count);
// Draws `pixmap` unscaled with its top-left corner at (x, y) plus the origin.
void DrawPixmap(const PixmapPtr& pixmap, int x, int y);
// The back-buffer rectangle with top-left (x, y) as a new RGBA32 pixmap with alpha 255.
PixmapPtr GrabPixmap(int x, int y, int w, int h);
// Width in pixels of `text` in the current font at scale 1.
int TextWidth(const std::string& text);

// Getters of the current record (initial values while no graphics are open).
void GetColor(int* r, int* g, int* b);
float GetAlpha();
int GetBlend();
float GetLineWidth();
void GetClsColor(int* r, int* g, int* b);
float GetRotation();
void GetScale(float* sx, float* sy);
// The 2x2 drawing matrix built from rotation and scale (the collision layers use it too).
void GetTransform(float* ix, float* iy, float* jx, float* jy);
// The collision layers' copy of that matrix: kept by SetRotation and SetScale also while no
// graphics are open (collision tests need no context).
void GetCollisionTransform(float* ix, float* iy, float* jx, float* jy);
void GetViewport(int* x, int* y, int* w, int* h);
void GetOrigin(float* x, float* y);
// The global handle as passed to SetHandle (the record holds it negated).
void GetHandle(float* x, float* y);
void GetLogicalSize(float* w, float* h);
// Virtual-to-window scale for mouse positions.
void GetLogicalScale(float* x, float* y);
std::shared_ptr<TImageFont> GetImageFont();
