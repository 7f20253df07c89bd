// The drawing front end: the current state record, its validation, and the free operations that
// change it and forward to the record's driver. Opening and closing live in graphics_open.cpp.
#include "platform/draw/graphics.hpp"

#include "platform/base/numbers.hpp"
#include "platform/draw/image_font.hpp"

namespace {
TVorn2DGraphics* g_current = nullptr;

// The current record with a driver, or null: drawing before graphics are open does nothing.
TVorn2DGraphics* Ctx() {
    return g_current && g_current->_driver ? g_current : nullptr;
}

// The 2x2 matrix of a rotation in degrees and a scale: ix, iy, jx, jy.
void BuildTransform(float rot, float sx, float sy, float* m) {
    const float s = float(Sin(rot)), c = float(Cos(rot));
    m[0] = float(double(c) * sx);
    m[1] = float(-double(s) * sy);
    m[2] = float(double(s) * sx);
    m[3] = float(double(c) * sy);
}

// Rebuilds the matrix from rotation and scale and hands it to the driver.
void UpdateTransform(TVorn2DGraphics* g) {
    float m[4];
    BuildTransform(g->tform_rot, g->tform_scale_x, g->tform_scale_y, m);
    g->tform_ix = m[0], g->tform_iy = m[1], g->tform_jx = m[2], g->tform_jy = m[3];
    g->_driver->SetTransform(g->tform_ix, g->tform_iy, g->tform_jx, g->tform_jy);
}

// The collision layers' copy of the matrix. It lives outside the records because collision
// tests run with or without open graphics; opening graphics replays the record's rotation and
// scale, which brings it back in step with the drawing matrix.
struct TCollisionTransform {
    float rot = 0, scale_x = 1.0f, scale_y = 1.0f;
    float m[4] = {1, 0, 0, 1};
} g_collision;

void UpdateCollisionTransform() {
    BuildTransform(g_collision.rot, g_collision.scale_x, g_collision.scale_y, g_collision.m);
}
}  // namespace

void EmitFlipHook();  // flip_hook.cpp

std::shared_ptr<TVorn2DGraphics> TVorn2DGraphics::Create(TGraphics* graphics,
                                                         TVorn2DDriver* driver) {
    auto g = std::make_shared<TVorn2DGraphics>();
    g->_graphics = graphics;
    g->_driver = driver;
    const int w = graphics ? graphics->width : 0, h = graphics ? graphics->height : 0;
    g->viewport_w = w, g->viewport_h = h;
    g->vres_width = float(w), g->vres_height = float(h);
    g->image_font = BuiltinFont();
    return g;
}

TVorn2DGraphics* TVorn2DGraphics::Current() {
    return g_current;
}

void TVorn2DGraphics::ClearCurrent() {
    g_current = nullptr;
}

void TVorn2DGraphics::Validate() {
    ::SetLogicalSize(vres_width, vres_height);
    ::SetBlend(blend_mode);
    ::SetColor(color_red, color_green, color_blue);
    ::SetAlpha(color_alpha);
    ::SetClsColor(clscolor_red, clscolor_green, clscolor_blue);
    ::SetLineWidth(line_width);
    ::SetRotation(tform_rot);
    ::SetScale(tform_scale_x, tform_scale_y);
    ::SetViewport(viewport_x, viewport_y, viewport_w, viewport_h);
    ::SetOrigin(origin_x, origin_y);
    ::SetHandle(-handle_x, -handle_y);
    ::SetImageFont(image_font);
}

void TVorn2DGraphics::MakeCurrent() {
    g_current = this;
    Validate();
    if (_setup) return;
    ::Cls(), ::Flip(0), ::Cls(), ::Flip(0);  // both buffers start in the clear colour
    _setup = 1;
}

void SetColor(int r, int g, int b) {
    if (auto* c = Ctx()) {
        c->color_red = r, c->color_green = g, c->color_blue = b;
        c->_driver->SetColor(r, g, b);
    }
}

void SetAlpha(float alpha) {
    if (auto* c = Ctx()) {
        c->color_alpha = alpha;
        c->_driver->SetAlpha(alpha);
    }
}

void SetBlend(int mode) {
    if (auto* c = Ctx()) {
        c->blend_mode = mode;
        c->_driver->SetBlend(mode);
    }
}

void SetLineWidth(float width) {
    if (auto* c = Ctx()) {
        c->line_width = width;
        c->_driver->SetLineWidth(width);
    }
}

void SetClsColor(int r, int g, int b) {
    if (auto* c = Ctx()) {
        c->clscolor_red = r, c->clscolor_green = g, c->clscolor_blue = b;
        c->_driver->SetClsColor(r, g, b);
    }
}

void Cls() {
    if (auto* c = Ctx()) c->_driver->Cls();
}

void SetRotation(float degrees) {
    g_collision.rot = degrees;
    UpdateCollisionTransform();
    if (auto* c = Ctx()) {
        c->tform_rot = degrees;
        UpdateTransform(c);
    }
}

void SetScale(float sx, float sy) {
    g_collision.scale_x = sx, g_collision.scale_y = sy;
    UpdateCollisionTransform();
    if (auto* c = Ctx()) {
        c->tform_scale_x = sx, c->tform_scale_y = sy;
        UpdateTransform(c);
    }
}

void SetOrigin(float x, float y) {
    if (auto* c = Ctx()) c->origin_x = x, c->origin_y = y;
}

void SetHandle(float x, float y) {
    if (auto* c = Ctx()) c->handle_x = -x, c->handle_y = -y;
}

void SetViewport(int x, int y, int w, int h) {
    if (auto* c = Ctx()) {
        c->viewport_x = x, c->viewport_y = y, c->viewport_w = w, c->viewport_h = h;
        c->_driver->SetViewport(x, y, w, h);
    }
}

void SetLogicalSize(float w, float h) {
    if (auto* c = Ctx()) {
        c->vres_width = w, c->vres_height = h;
        // An unknown screen size (0) would divide by zero: keep the scale at 1 then.
        c->vres_mousexscale = ScreenWidth() > 0 ? float(double(w) / ScreenWidth()) : 1.0f;
        c->vres_mouseyscale = ScreenHeight() > 0 ? float(double(h) / ScreenHeight()) : 1.0f;
        c->_driver->SetResolution(w, h);
    }
}

void SetImageFont(std::shared_ptr<TImageFont> font) {
    if (auto* c = Ctx()) c->image_font = font ? std::move(font) : BuiltinFont();
}

void DrawRect(float x, float y, float w, float h) {
    if (auto* c = Ctx()) {
        c->_driver->DrawRect(c->handle_x, c->handle_y, c->handle_x + w, c->handle_y + h,
                             x + c->origin_x, y + c->origin_y);
    }
}

void DrawOval(float x, float y, float w, float h) {
    if (auto* c = Ctx()) {
        c->_driver->DrawOval(c->handle_x, c->handle_y, c->handle_x + w, c->handle_y + h,
                             x + c->origin_x, y + c->origin_y);
    }
}

void DrawLine(float x, float y, float x2, float y2, int draw_last_pixel) {
    auto* c = Ctx();
    if (!c) return;
    const float lx = c->handle_x + x2 - x, ly = c->handle_y + y2 - y;
    const float tx = x + c->origin_x, ty = y + c->origin_y;
    c->_driver->DrawLine(c->handle_x, c->handle_y, lx, ly, tx, ty);
    if (!draw_last_pixel) return;
    const double ex = double(lx) * c->tform_ix + double(ly) * c->tform_iy + tx;
    const double ey = double(lx) * c->tform_jx + double(ly) * c->tform_jy + ty;
    c->_driver->Plot(float(ex), float(ey));
}

void Plot(float x, float y) {
    if (auto* c = Ctx()) c->_driver->Plot(x + c->origin_x, y + c->origin_y);
}

void DrawPoly(const float* xy, int count) {
    if (auto* c = Ctx()) {
        c->_driver->DrawPoly(xy, count, c->handle_x, c->handle_y, c->origin_x, c->origin_y);
    }
}

void DrawPixmap(const PixmapPtr& pixmap, int x, int y) {
    auto* c = Ctx();
    if (!c || !pixmap) return;
    c->_driver->DrawPixmap(*pixmap, FloatToInt(x + double(c->origin_x)),
                           FloatToInt(y + double(c->origin_y)));
}

void DrawImage(const ImagePtr& image, float x, float y, int frame) {
    auto* c = Ctx();
    if (!c || !image) return;
    const FramePtr& f = image->Frame(frame);
    if (!f) return;
    const float x0 = -image->handle_x, y0 = -image->handle_y;
    f->Draw(x0, y0, x0 + float(image->width), y0 + float(image->height), x + c->origin_x,
            y + c->origin_y, 0, 0, float(image->width), float(image->height));
}

void DrawText(const std::string& text, float x, float y) {
    auto* c = Ctx();
    if (!c || !c->image_font) return;
    const double px = x + double(c->origin_x) + double(c->handle_x) * c->tform_ix +
                      double(c->handle_y) * c->tform_iy;
    const double py = y + double(c->origin_y) + double(c->handle_x) * c->tform_jx +
                      double(c->handle_y) * c->tform_jy;
    c->image_font->Draw(text, float(px), float(py), c->tform_ix, c->tform_iy, c->tform_jx,
                        c->tform_jy);
}

void Flip(int sync) {
    auto* c = Ctx();
    if (!c) return;
    EmitFlipHook();
    c->_driver->Flip(sync);
}

PixmapPtr GrabPixmap(int x, int y, int w, int h) {
    auto* c = Ctx();
    if (!c) return nullptr;
    return c->_driver->GrabPixmap(x, y, w, h);
}

int TextWidth(const std::string& text) {
    auto* c = Ctx();
    if (!c || !c->image_font) return 0;
    int units = 0;
    for (unsigned char ch : text)
        units += c->image_font->CharToGlyph(ch) >= 0;
    return FloatToInt(double(units) * c->image_font->advance);
}

namespace {
// The record the getters read: the current one, or a record of initial values.
const TVorn2DGraphics& ReadRecord() {
    static const TVorn2DGraphics defaults;
    return g_current ? *g_current : defaults;
}
}  // namespace

void GetColor(int* r, int* g, int* b) {
    const auto& c = ReadRecord();
    *r = c.color_red, *g = c.color_green, *b = c.color_blue;
}
float GetAlpha() {
    return ReadRecord().color_alpha;
}
int GetBlend() {
    return ReadRecord().blend_mode;
}
float GetLineWidth() {
    return ReadRecord().line_width;
}
void GetClsColor(int* r, int* g, int* b) {
    const auto& c = ReadRecord();
    *r = c.clscolor_red, *g = c.clscolor_green, *b = c.clscolor_blue;
}
float GetRotation() {
    return ReadRecord().tform_rot;
}
void GetScale(float* sx, float* sy) {
    *sx = ReadRecord().tform_scale_x, *sy = ReadRecord().tform_scale_y;
}
void GetTransform(float* ix, float* iy, float* jx, float* jy) {
    const auto& c = ReadRecord();
    *ix = c.tform_ix, *iy = c.tform_iy, *jx = c.tform_jx, *jy = c.tform_jy;
}
void GetCollisionTransform(float* ix, float* iy, float* jx, float* jy) {
    *ix = g_collision.m[0], *iy = g_collision.m[1], *jx = g_collision.m[2], *jy = g_collision.m[3];
}
void GetViewport(int* x, int* y, int* w, int* h) {
    const auto& c = ReadRecord();
    *x = c.viewport_x, *y = c.viewport_y, *w = c.viewport_w, *h = c.viewport_h;
}
void GetOrigin(float* x, float* y) {
    *x = ReadRecord().origin_x, *y = ReadRecord().origin_y;
}
void GetHandle(float* x, float* y) {
    *x = -ReadRecord().handle_x, *y = -ReadRecord().handle_y;
}
void GetLogicalSize(float* w, float* h) {
    *w = ReadRecord().vres_width, *h = ReadRecord().vres_height;
}
void GetLogicalScale(float* x, float* y) {
    *x = ReadRecord().vres_mousexscale, *y = ReadRecord().vres_mouseyscale;
}
std::shared_ptr<TImageFont> GetImageFont() {
    return ReadRecord().image_font ? ReadRecord().image_font : BuiltinFont();
}
