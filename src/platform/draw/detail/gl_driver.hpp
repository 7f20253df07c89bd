// TGLVorn2DDriver: the OpenGL 3.3 core back end of the drawing layer. Primitives are queued in
// one streaming vertex buffer and drawn when a state change would otherwise alter the result.
// Internal to src/platform; depends on driver.hpp, gl_state.hpp and libepoxy.
#pragma once

#include <epoxy/gl.h>

#include <cstdint>
#include <vector>

#include "platform/draw/detail/gl_state.hpp"
#include "platform/draw/driver.hpp"

class TGraphics;

// One vertex as the shader reads it: position in logical pixels, texture coordinate, colour.
struct TGLVertex {
    float x, y, u, v;
    uint32_t rgba;  // bytes R, G, B, A in memory order
};

// The pipeline state a primitive is drawn with, apart from its texture. Setters only change
// the wanted state; it reaches OpenGL when primitives queued with it are drawn, so that a change
// undone before anything is drawn costs nothing.
struct TGLBatchState {
    int blend = 2;  // the blend mode in force (unknown modes leave the previous one in force)
    bool scissor = false;
    int box[4] = {0, 0, 0, 0};   // scissor box, rows counted from the bottom; zero when off
    float res_w = 1, res_h = 1;  // logical size projected onto the back buffer
    bool operator==(const TGLBatchState&) const = default;
};

class TGLVorn2DDriver final : public TVorn2DDriver {
  public:
    // Vertices held before a flush is forced; a named limit so nothing grows without bound.
    static constexpr int kMaxBatchVertices = 1 << 18;
    static constexpr int kMaxBatchIndices = 1 << 19;

    ~TGLVorn2DDriver() override;
    bool AttachGraphics(TGraphics* graphics) override;
    void DetachGraphics() override;
    void Flip(int sync) override;
    FramePtr CreateFrameFromPixmap(const PixmapPtr& pixmap, int flags) override;
    FramePtr RebuildFrame(const PixmapPtr& pixmap, int flags, const FramePtr& old) override;
    void SetBlend(int mode) override;
    void SetAlpha(float alpha) override;
    void SetColor(int r, int g, int b) override;
    void SetClsColor(int r, int g, int b) override;
    void SetViewport(int x, int y, int w, int h) override;
    void SetTransform(float ix, float iy, float jx, float jy) override;
    void SetLineWidth(float width) override;
    void Cls() override;
    void Plot(float x, float y) override;
    void DrawLine(float x0, float y0, float x1, float y1, float tx, float ty) override;
    void DrawRect(float x0, float y0, float x1, float y1, float tx, float ty) override;
    void DrawOval(float x0, float y0, float x1, float y1, float tx, float ty) override;
    void DrawPoly(const float* xy, int count, float handle_x, float handle_y, float tx,
                  float ty) override;
    void DrawPixmap(const TPixmap& pixmap, int x, int y) override;
    PixmapPtr GrabPixmap(int x, int y, int w, int h) override;
    void SetResolution(float w, float h) override;
    void Finish() override;
    void AbandonGraphics() override;
    void SetFlushEachPrimitive(bool on) override { flush_each_ = on; }
    int DrawCallCount() const override { return draw_calls_; }

    // Forgets the remembered blend mode, bound texture and cached state after a context reset.
    void ResetGLContext();
    // Queues the textured quad (x0, y0)-(x1, y1) of local points moved by (tx, ty), with the
    // texture coordinates (u0, v0)-(u1, v1) at its corners.
    void DrawTexturedQuad(GLuint texture, float x0, float y0, float x1, float y1, float tx,
                          float ty, float u0, float v0, float u1, float v1);
    // Draws what is queued.
    void Flush();
    // Draws what is queued if it uses `texture`, then deletes the texture.
    void ReleaseTexture(GLuint texture);
    // Binds `texture` for an upload (drawing first whatever is queued with it).
    void BindForUpload(GLuint texture);
    bool attached() const { return graphics_ != nullptr; }

  private:
    void BlitToWindow();
    enum Kind { kTriangles = 0, kLines = 1, kPoints = 2, kKindCount = 3 };

    TGLVertex Vertex(float x, float y, float u = 0, float v = 0) const {
        return {x, y, u, v, rgba_};
    }
    TGLVertex Transformed(float x, float y, float tx, float ty) const;
    void MakeRoom(Kind kind, GLuint texture, int vertices, int indices);
    void Queue(Kind kind, GLuint texture, const TGLVertex* v, int count);
    // Queues triangles given by `indices` into the `count` vertices `v`.
    void QueueTriangles(GLuint texture, const TGLVertex* v, int count, const uint32_t* indices,
                        int index_count);
    template <class PointAt>
    void QueueFan(int count, PointAt point);
    bool CreateObjects();
    void CreateVertexArray();
    void DeleteObjects();
    void ApplyState(const TGLBatchState& state);
    void UploadAndDraw();
    void DrawQueued(size_t base, const size_t* first, size_t index_at);

    TGraphics* graphics_ = nullptr;
    TGLStateCache cache_;
    // Shader variants: bit 0 samples the texture, bit 1 applies the mask mode's alpha test.
    // Keeping the test out of the other variants lets the rasteriser take its fast paths.
    static constexpr int kPrograms = 4;
    GLuint programs_[kPrograms] = {};
    GLint scale_locs_[kPrograms] = {};
    GLuint vao_ = 0, vbo_ = 0, ibo_ = 0, fbo_ = 0, colour_rb_ = 0, white_ = 0;

    int width_ = 0, height_ = 0;  // back buffer size in window pixels
    float ix_ = 1, iy_ = 0, jx_ = 0, jy_ = 1;
    uint8_t r_ = 255, g_ = 255, b_ = 255, a_ = 255;
    uint32_t rgba_ = 0xFFFFFFFFu;
    uint8_t cls_[3] = {0, 0, 0};
    float line_width_ = 1.0f;
    int blend_ = 0;               // remembered mode; 0 = none set since the context reset
    TGLBatchState state_;         // wanted by the next primitive
    TGLBatchState queued_state_;  // of the queued primitives

    std::vector<TGLVertex> queued_[kKindCount];
    std::vector<uint32_t> queued_indices_;  // triangles, into queued_[kTriangles]
    std::vector<TGLVertex> fan_vertices_;   // scratch: one piece of a fan
    std::vector<uint32_t> fan_indices_;     // scratch
    std::vector<TGLVertex> staging_;        // scratch: every kind in one run
    int queued_total_ = 0;
    int last_kind_ = -1;
    GLuint queued_texture_ = 0;
    size_t vbo_used_ = 0;  // vertices written into the current buffer storage
    size_t ibo_used_ = 0;  // indices likewise
    bool flush_each_ = false;
    int draw_calls_ = 0;
};

// The OpenGL driver that is attached to a context, or null.
TGLVorn2DDriver* AttachedGLDriver();

// What a texture frame of this driver holds (for tests and tools).
struct TGLFrameInfo {
    GLuint name;
    int tex_w, tex_h;
    float u1, v1, uscale, vscale;
    int seq;
};
// Fills `info` when `frame` is an OpenGL frame.
bool GLFrameInfo(const FramePtr& frame, TGLFrameInfo* info);
// Level 0 of the frame's texture as an RGBA32 pixmap; null when it is not of this context.
PixmapPtr ReadGLFrameTexture(const FramePtr& frame);
