// TGLVorn2DDriver: the OpenGL 3.3 core back end of the drawing layer. Primitives are recorded
// as vertices written straight into mapped vertex buffers, one per kind, and as commands
// (state, texture, vertex run); what is recorded is drawn at once before anything needs the
// pixels: a present, a grab, a texture upload, or full buffers. Internal to src/platform;
// depends on driver.hpp, gl_state.hpp and gl_api.hpp.
#pragma once

#include "platform/draw/detail/gl_api.hpp"

#include <cstdint>
#include <vector>

#include "platform/draw/detail/gl_state.hpp"
#include "platform/draw/driver.hpp"

class TGraphics;

// One vertex of a textured primitive: position in logical pixels, texture coordinate, colour.
struct TGLVertex {
    float x, y, u, v;
    uint32_t rgba;  // bytes R, G, B, A in memory order
};

// One vertex of an untextured primitive: position and colour.
struct TGLPlainVertex {
    float x, y;
    uint32_t rgba;
};

// The pipeline state a primitive is drawn with, apart from its texture. Setters only change
// the wanted state; it reaches OpenGL when primitives recorded with it are drawn, so that a
// change undone before the next primitive costs nothing.
struct TGLBatchState {
    int blend = 2;  // the blend mode in force (unknown modes leave the previous one in force)
    bool scissor = false;
    int box[4] = {0, 0, 0, 0};   // scissor box, rows counted from the bottom; zero when off
    float res_w = 1, res_h = 1;  // logical size projected onto the back buffer
    bool operator==(const TGLBatchState&) const = default;
};

// A run of recorded vertices of one stream, drawn with one state and texture.
struct TGLCommand {
    TGLBatchState state;
    GLuint texture;
    bool filtered;  // the texture is sampled bilinearly, by the shader
    int stream;
    uint32_t first, count;  // vertices in the stream's array
};

class TGLVorn2DDriver final : public TVorn2DDriver {
  public:
    // Streams: one per primitive kind and vertex format. Every triangle primitive is a quad of
    // four vertices (fans become quads whose second triangle is empty), drawn through one fixed
    // index buffer, so nothing but vertices is written per primitive.
    // Lines of any width are quads too.
    enum Stream { kTexturedQuads = 0, kQuads = 1, kPoints = 2, kStreams = 3 };
    // Vertices each buffer of a stream holds: named limits, so that nothing grows without
    // bound; a stream that fills its buffer draws what is recorded and goes on in the next.
    static constexpr int kStreamVertices[kStreams] = {1 << 16, 1 << 18, 1 << 14};
    // Buffers each stream cycles through, so that new vertices never wait for draws still
    // reading older ones.
    static constexpr int kRingBuffers = 3;
    // Quads one draw call takes: the fixed index buffer holds 16-bit indices.
    static constexpr int kQuadsPerDraw = 16384;

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
    // Records the textured quad (x0, y0)-(x1, y1) of local points moved by (tx, ty), with the
    // texture coordinates (u0, v0)-(u1, v1) at its corners; `opaque` when every texel it can
    // sample has alpha 255, `filtered` when it is filtered bilinearly and `texel_sized` when the
    // quad is one texel a local pixel.
    void DrawTexturedQuad(GLuint texture, float x0, float y0, float x1, float y1, float tx,
                          float ty, float u0, float v0, float u1, float v1, bool opaque = false,
                          bool filtered = false, bool texel_sized = false);
    // Draws what is recorded.
    void Flush();
    // Draws what is recorded if any of it uses `texture`, then deletes the texture.
    void ReleaseTexture(GLuint texture);
    // Binds `texture` for an upload (drawing first whatever recorded uses its old content).
    void BindForUpload(GLuint texture);
    bool attached() const { return graphics_ != nullptr; }
    // Primitives recorded without blending, and primitives left out, because that changes no
    // pixel (since the driver was attached).
    int UnblendedCount() const { return unblended_; }
    int SkippedCount() const { return skipped_; }

  private:
    void BlitToWindow();
    // The four corners (x0, y0), (x1, y0), (x1, y1), (x0, y1) moved by (tx, ty), transformed in
    // double as one vertex at a time would be; `out` receives x, y pairs.
    void Corners(float x0, float y0, float x1, float y1, float tx, float ty, float out[8]) const;
    void Transform(float x, float y, float tx, float ty, float* X, float* Y) const;
    // Whether the corners land unturned and unscaled on whole back-buffer pixels: drawn one
    // texel a pixel, such a quad samples texel centres, which every sampler gets right without
    // the shader's filter.
    bool OnWholePixels(const float corners[8]) const;
    TGLPlainVertex Plain(float x, float y) const { return {x, y, rgba_}; }
    // Whether the next primitive would leave every byte of the back buffer as it is.
    bool Invisible();
    // Where to write `n` vertices of `stream` (drawn with `texture`): they join the current
    // command.
    TGLPlainVertex* ReservePlain(int stream, int n) {
        const uint32_t at = Admit(stream, 0, n);  // may map the buffer first
        return static_cast<TGLPlainVertex*>(mapped_[stream]) + at;
    }
    TGLVertex* ReserveTextured(GLuint texture, bool filtered) {
        const uint32_t at = Admit(kTexturedQuads, texture, 4, filtered);
        return static_cast<TGLVertex*>(mapped_[kTexturedQuads]) + at;
    }
    // The index in the mapped range of `stream` where `n` new vertices go; the current command
    // grows by them.
    uint32_t Admit(int stream, GLuint texture, int n, bool filtered = false) {
        if (stream != open_stream_ || texture != open_texture_ || filtered != open_filtered_ ||
            version_ != open_version_ || counts_[stream] + uint32_t(n) > room_[stream]) {
            OpenCommand(stream, texture, n, filtered);
        }
        const uint32_t at = counts_[stream];
        counts_[stream] += uint32_t(n);
        commands_[open_command_[stream]].count += uint32_t(n);
        return at;
    }
    void OpenCommand(int stream, GLuint texture, int n, bool filtered);
    // After each primitive: the debug mode draws it at once.
    void Recorded() {
        if (flush_each_) Flush();
    }
    template <class PointAt>
    void QueueFan(int count, PointAt point);
    bool Uses(GLuint texture) const;
    void DropRecorded();
    bool CreateObjects();
    void CreateStreams();
    void DeleteObjects();
    // Forgets the names of every OpenGL object without deleting them.
    void ForgetObjects();
    void ApplyState(const TGLBatchState& state);
    void Map(int stream);
    bool Unmap(int stream, size_t* base);
    void DrawCommand(const TGLCommand& c, size_t base);
    void FenceUsedBuffers(const bool* used);

    TGraphics* graphics_ = nullptr;
    TGLStateCache cache_;
    // Shader variants: bit 0 samples the texture, bit 1 applies the mask mode's alpha test,
    // bit 2 weighs the colour by its alpha for the alpha and light blends, bit 3 filters the
    // texture in the shader. Keeping the test out of the other variants lets the rasteriser
    // take its fast paths.
    static constexpr int kPrograms = 16;
    GLuint programs_[kPrograms] = {};
    GLint scale_locs_[kPrograms] = {};
    GLuint fbo_ = 0, colour_rb_ = 0, quad_ibo_ = 0;
    GLuint vbos_[kStreams][kRingBuffers] = {};
    GLuint vaos_[kStreams][kRingBuffers] = {};
    GLsync fences_[kStreams][kRingBuffers] = {};
    int ring_at_[kStreams] = {};       // the buffer each stream writes into
    size_t ring_used_[kStreams] = {};  // vertices written into it

    int width_ = 0, height_ = 0;  // back buffer size in window pixels
    bool window_alpha_ = true;    // the window's surface has an alpha channel
    float ix_ = 1, iy_ = 0, jx_ = 0, jy_ = 1;
    uint8_t r_ = 255, g_ = 255, b_ = 255, a_ = 255;
    uint32_t rgba_ = 0xFFFFFFFFu;
    uint8_t cls_[3] = {0, 0, 0};
    float line_width_ = 1.0f;
    int blend_ = 0;        // remembered mode; 0 = none set since the context reset
    TGLBatchState state_;  // wanted by the next primitive
    int version_ = 0;      // advanced whenever state_ changes

    // What is recorded: vertices per stream, written into the mapped part of its buffer (or,
    // should mapping fail, into memory of our own uploaded at the flush), and the commands
    // that draw them, in order.
    void* mapped_[kStreams] = {};
    uint32_t room_[kStreams] = {};  // vertices the mapped range holds; 0 while unmapped
    std::vector<uint8_t> unmappable_[kStreams];
    uint32_t counts_[kStreams] = {};
    std::vector<TGLCommand> commands_;
    // The open batch: the last commands, sharing one state, texture and filter, that new primitives
    // may join (one per stream; -1 where none).
    int open_command_[kStreams] = {-1, -1, -1};
    int open_stream_ = -1;  // stream of the last primitive; -1 when no batch is open
    GLuint open_texture_ = 0;
    bool open_filtered_ = false;
    int open_version_ = -1;
    TGLBatchState open_state_;

    bool flush_each_ = false;
    bool unseen_ = false;  // the window was minimised or hidden at the last present
    int draw_calls_ = 0;
    int unblended_ = 0, skipped_ = 0;
};

// Whether drivers leave out fill that changes no pixel (on by default; tests turn it off to
// compare against the plain draws). Applies to primitives recorded after the call.
void SetGLFillSaving(bool on);

// Points the bound vertex array's attributes at `vbo`, holding vertices of the textured or the
// plain layout, starting at vertex `first`.
void PointVertexLayout(GLuint vbo, bool textured, size_t first);

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
