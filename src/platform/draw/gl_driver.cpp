// The OpenGL driver's context life: shaders, vertex buffers and the back-buffer framebuffer that
// keeps its content across presents; state setters, clearing, presenting and reading back.
#include "platform/draw/detail/gl_driver.hpp"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/base/numbers.hpp"
#include "platform/system/window_graphics.hpp"

namespace {
TGLVorn2DDriver* g_attached = nullptr;

constexpr const char* kVertexShader = R"(
layout(location = 0) in vec2 a_pos;
layout(location = 2) in vec4 a_colour;
uniform vec2 u_scale;
flat out vec4 v_colour;
#if TEXTURED
layout(location = 1) in vec2 a_uv;
NOPERSPECTIVE out vec2 v_uv;
#endif
void main() {
    // Corners on a sixteenth of a pixel, the finest grid every rasteriser holds, so that each
    // fills the same pixels along an edge however many sub-pixel bits it keeps.
    vec2 p = floor(a_pos * 16.0 + 0.5) * 0.0625;
    gl_Position = vec4(p.x * u_scale.x - 1.0, 1.0 - p.y * u_scale.y, 0.0, 1.0);
#if WRITE_POINT_SIZE
    gl_PointSize = 1.0;
#endif
#if TEXTURED
    v_uv = a_uv;
#endif
    v_colour = a_colour;
}
)";

// Texture times vertex colour; the mask mode drops fragments whose alpha is below 128/255.
// That alpha is a texel byte times a vertex byte, a multiple of 1/65025: the test sits half a
// step below 128 * 255 on that grid, so no rounding of the byte conversions or of the product
// can move a fragment across it.
constexpr const char* kFragmentShader = R"(
uniform sampler2D u_texture;
flat in vec4 v_colour;
out vec4 o_colour;
#if TEXTURED
NOPERSPECTIVE in vec2 v_uv;
#endif
#if TEXTURED && FILTERED
// Bilinear filtering in whole numbers: weights on a 1/256 grid, the filtered texel rounded to
// 1/256 of a byte, the vertex colour's byte multiplied in and one rounding to a byte. Samplers
// keep weights and sums at different precisions (SwiftShader's and llvmpipe's turned sprites
// differed by 3 with the weights exact); this gives the same bytes everywhere. Every value
// stays a whole number below 2^24, so the float arithmetic is exact, fused or not; dividing by
// 256 is a product, which no implementation approximates. Edges clamp as GL_CLAMP_TO_EDGE does.
const float kByte = 1.0 / 256.0;
vec4 Texel(ivec2 at) {
    return floor(texelFetch(u_texture, at, 0) * 255.0 + 0.5);
}
vec4 Filtered(vec2 uv, vec4 colour) {
    ivec2 size = textureSize(u_texture, 0);
    vec2 t = uv * vec2(size) - 0.5;
    vec2 f = floor(t);
    vec2 w = floor((t - f) * 256.0 + 0.5), v = 256.0 - w;
    ivec2 lo = clamp(ivec2(f), ivec2(0), size - 1), hi = clamp(ivec2(f) + 1, ivec2(0), size - 1);
    vec4 top = Texel(lo) * v.x + Texel(ivec2(hi.x, lo.y)) * w.x;
    vec4 bottom = Texel(ivec2(lo.x, hi.y)) * v.x + Texel(hi) * w.x;
    vec4 texel = floor((top * v.y + bottom * w.y + 128.0) * kByte);  // 256 times the byte
    vec4 weighed = texel * floor(colour * 255.0 + 0.5);            // 65280 times the result
#if ALPHA_TEST
    // Alpha below 128/255 before the rounding, as the unfiltered test has it.
    if (weighed.a < 128.0 * 65280.0) discard;
#endif
    // y / 255 rounded down, exactly for y below 65535, with powers of two alone.
    vec4 y = floor((weighed + 32640.0) * kByte);
    return floor((y + 1.0 + floor(y * kByte)) * kByte) / 255.0;
}
#endif
void main() {
#if TEXTURED && FILTERED
    vec4 c = Filtered(v_uv, v_colour);
#elif TEXTURED
    vec4 c = texture(u_texture, v_uv) * v_colour;
#else
    vec4 c = v_colour;
#endif
#if ALPHA_TEST && !(TEXTURED && FILTERED)
    if (c.a * 65025.0 < 32639.5) discard;
#endif
#if PREMULTIPLY
    // The alpha and light blends get the colour already weighed by its alpha, on the byte grid:
    // the blender then rounds only the back buffer's share, and every rasteriser lands on the
    // same byte (rounding the two shares or their sum made SwiftShader and llvmpipe differ).
    c.rgb = floor(c.rgb * c.a * 255.0 + 0.5) / 255.0;
#endif
    o_colour = c;
}
)";

GLuint CompileShader(GLenum type, const char* source) {
    GLuint shader = glCreateShader(type);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint ok = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        char log[1024] = {};
        glGetShaderInfoLog(shader, sizeof log, nullptr, log);
        std::fprintf(stderr, "shader compilation failed: %s\n", log);
        glDeleteShader(shader);
        return 0;
    }
    return shader;
}

// Links the two shaders into a program whose sampler reads texture unit 0; 0 on failure.
GLuint Link(GLuint vs, GLuint fs) {
    GLuint program = glCreateProgram();
    glAttachShader(program, vs);
    glAttachShader(program, fs);
    glLinkProgram(program);
    GLint ok = 0;
    glGetProgramiv(program, GL_LINK_STATUS, &ok);
    if (!ok) {
        glDeleteProgram(program);
        return 0;
    }
    glUseProgram(program);
    glUniform1i(glGetUniformLocation(program, "u_texture"), 0);
    return program;
}

// The program of variant `index` (bit 0 textured, bit 1 alpha test, bit 2 premultiplied,
// bit 3 filtered in the shader);
// 0 on failure.
GLuint LinkProgram(int index) {
    const std::string defines = std::string(glapi::ShaderPrologue()) + "#define TEXTURED " +
                                std::to_string(index & 1) + "\n#define ALPHA_TEST " +
                                std::to_string(index >> 1 & 1) + "\n#define PREMULTIPLY " +
                                std::to_string(index >> 2 & 1) + "\n#define FILTERED " +
                                std::to_string(index >> 3 & 1) + "\n";
    const std::string vertex = defines + kVertexShader, fragment = defines + kFragmentShader;
    GLuint vs = CompileShader(GL_VERTEX_SHADER, vertex.c_str());
    GLuint fs = CompileShader(GL_FRAGMENT_SHADER, fragment.c_str());
    const GLuint program = vs && fs ? Link(vs, fs) : 0;
    if (vs) glDeleteShader(vs);
    if (fs) glDeleteShader(fs);
    return program;
}

uint8_t ClampByte(int v) {
    return uint8_t(v < 0 ? 0 : v > 255 ? 255 : v);
}
}  // namespace

TGLVorn2DDriver* AttachedGLDriver() {
    return g_attached;
}

TGLVorn2DDriver::~TGLVorn2DDriver() {
    DetachGraphics();
}

bool TGLVorn2DDriver::AttachGraphics(TGraphics* graphics) {
    DetachGraphics();
    if (!graphics || graphics->width <= 0 || graphics->height <= 0) return false;
    graphics_ = graphics;
    width_ = graphics->width;
    height_ = graphics->height;
    if (!CreateObjects()) {
        DeleteObjects();
        graphics_ = nullptr;
        return false;
    }
    g_attached = this;
    draw_calls_ = unblended_ = skipped_ = 0;
    ResetGLContext();
    return true;
}

namespace {
// Whether the window's own framebuffer has alpha bits (true when that cannot be told).
bool WindowHasAlpha() {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    GLint bits = -1;
    glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, glapi::WindowColourBuffer(),
                                          GL_FRAMEBUFFER_ATTACHMENT_ALPHA_SIZE, &bits);
    GLenum error = glGetError();  // a refused query leaves its error behind: take it
    while (error != GL_NO_ERROR)
        error = glGetError();
    return bits != 0;
}
}  // namespace

bool TGLVorn2DDriver::CreateObjects() {
    window_alpha_ = WindowHasAlpha();
    for (int i = 0; i < kPrograms; ++i) {
        programs_[i] = LinkProgram(i);
        if (!programs_[i]) return false;
        scale_locs_[i] = glGetUniformLocation(programs_[i], "u_scale");
    }
    // The back buffer: an off-screen framebuffer of the window's size that keeps its content.
    glGenFramebuffers(1, &fbo_);
    glGenRenderbuffers(1, &colour_rb_);
    glBindRenderbuffer(GL_RENDERBUFFER, colour_rb_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width_, height_);
    glBindFramebuffer(GL_FRAMEBUFFER, fbo_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour_rb_);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) return false;
    CreateStreams();
    return true;
}

void PointVertexLayout(GLuint vbo, bool textured, size_t first) {
    glBindBuffer(GL_ARRAY_BUFFER, vbo);
    const GLsizei stride = textured ? sizeof(TGLVertex) : sizeof(TGLPlainVertex);
    const size_t at = first * size_t(stride);
    const size_t colour = textured ? offsetof(TGLVertex, rgba) : offsetof(TGLPlainVertex, rgba);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, stride, (void*)at);
    if (textured) {
        glEnableVertexAttribArray(1);
        glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, stride,
                              (void*)(at + offsetof(TGLVertex, u)));
    }
    glEnableVertexAttribArray(2);
    glVertexAttribPointer(2, 4, GL_UNSIGNED_BYTE, GL_TRUE, stride, (void*)(at + colour));
}

namespace {

// Quad q as the triangles (4q, 4q + 1, 4q + 2) and (4q, 4q + 2, 4q + 3).
std::vector<uint16_t> QuadIndices(int quads) {
    std::vector<uint16_t> indices;
    indices.reserve(size_t(quads) * 6);
    for (int q = 0; q < quads; ++q) {
        const uint16_t v = uint16_t(q * 4);
        indices.insert(indices.end(),
                       {v, uint16_t(v + 1), uint16_t(v + 2), v, uint16_t(v + 2), uint16_t(v + 3)});
    }
    return indices;
}
}  // namespace

// A ring of buffers per stream, each with its vertex array; the triangle streams' arrays share
// the fixed quad index buffer.
void TGLVorn2DDriver::CreateStreams() {
    glGenVertexArrays(kStreams * kRingBuffers, &vaos_[0][0]);
    glGenBuffers(kStreams * kRingBuffers, &vbos_[0][0]);
    glBindVertexArray(vaos_[0][0]);
    glGenBuffers(1, &quad_ibo_);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, quad_ibo_);
    const std::vector<uint16_t> indices = QuadIndices(kQuadsPerDraw);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(indices.size() * sizeof(uint16_t)),
                 indices.data(), GL_STATIC_DRAW);
    for (int s = 0; s < kStreams; ++s) {
        const bool textured = s == kTexturedQuads;
        const size_t unit = textured ? sizeof(TGLVertex) : sizeof(TGLPlainVertex);
        for (int k = 0; k < kRingBuffers; ++k) {
            glBindVertexArray(vaos_[s][k]);
            glBindBuffer(GL_ARRAY_BUFFER, vbos_[s][k]);
            glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(kStreamVertices[s] * unit), nullptr,
                         GL_STREAM_DRAW);
            PointVertexLayout(vbos_[s][k], textured, 0);
            if (s == kTexturedQuads || s == kQuads)
                glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, quad_ibo_);  // part of the array's state
        }
    }
}

void TGLVorn2DDriver::DeleteObjects() {
    for (auto& ring : fences_) {
        for (GLsync& fence : ring) {
            if (fence) glDeleteSync(fence);
        }
    }
    glDeleteVertexArrays(kStreams * kRingBuffers, &vaos_[0][0]);
    glDeleteBuffers(kStreams * kRingBuffers, &vbos_[0][0]);
    if (quad_ibo_) glDeleteBuffers(1, &quad_ibo_);
    if (fbo_) glDeleteFramebuffers(1, &fbo_);
    if (colour_rb_) glDeleteRenderbuffers(1, &colour_rb_);
    for (GLuint program : programs_) {
        if (program) glDeleteProgram(program);
    }
    ForgetObjects();
}

void TGLVorn2DDriver::ForgetObjects() {
    std::fill(std::begin(programs_), std::end(programs_), 0u);
    std::fill(&vaos_[0][0], &vaos_[0][0] + kStreams * kRingBuffers, 0u);
    std::fill(&vbos_[0][0], &vbos_[0][0] + kStreams * kRingBuffers, 0u);
    std::fill(&fences_[0][0], &fences_[0][0] + kStreams * kRingBuffers, nullptr);
    std::fill(std::begin(mapped_), std::end(mapped_), nullptr);  // deleted buffers unmap
    std::fill(std::begin(room_), std::end(room_), 0u);
    quad_ibo_ = fbo_ = colour_rb_ = 0;
}

void TGLVorn2DDriver::DetachGraphics() {
    if (!graphics_) return;
    DropRecorded();
    DeleteObjects();
    graphics_ = nullptr;
    if (g_attached == this) g_attached = nullptr;
}

void TGLVorn2DDriver::AbandonGraphics() {
    DropRecorded();
    ForgetObjects();
    graphics_ = nullptr;
    if (g_attached == this) g_attached = nullptr;
}

void TGLVorn2DDriver::ResetGLContext() {
    unseen_ = false;  // a new window starts shown
    cache_.Forget();
    cache_.SetPrograms(programs_, scale_locs_, kPrograms);
    glActiveTexture(GL_TEXTURE0);
    glBindFramebuffer(GL_FRAMEBUFFER, fbo_);
    glViewport(0, 0, width_, height_);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    blend_ = 0;
    state_ = TGLBatchState{};
    state_.res_w = float(width_), state_.res_h = float(height_);
    ++version_;
    ApplyState(state_);
    cache_.BindTexture(0);
    DropRecorded();
    std::fill(std::begin(ring_at_), std::end(ring_at_), 0);
    std::fill(std::begin(ring_used_), std::end(ring_used_), size_t{0});
}

void TGLVorn2DDriver::SetBlend(int mode) {
    if (mode == blend_) return;
    blend_ = mode;
    // Modes outside the table change nothing but the remembered mode, as on the game's platform.
    if (mode >= 1 && mode <= 5 && mode != state_.blend) state_.blend = mode, ++version_;
}

void TGLVorn2DDriver::ApplyState(const TGLBatchState& state) {
    switch (state.blend) {
        case 3:  // alpha
            // source times alpha (the shader's), plus the back buffer times one minus alpha;
            // the alpha channel as the colour would be without the shader's weighing
            cache_.Blend(true, GL_ONE, GL_ONE_MINUS_SRC_ALPHA, GL_SRC_ALPHA);
            break;
        case 4:  // light: source times alpha (the shader's), added
            cache_.Blend(true, GL_ONE, GL_ONE, GL_SRC_ALPHA);
            break;
        case 5:  // shade
            cache_.Blend(true, GL_DST_COLOR, GL_ZERO);
            break;
        default:  // mask (its alpha test is a shader variant) and solid
            cache_.Blend(false, 0, 0);
            break;
    }
    cache_.Scissor(state.scissor);
    if (state.scissor) cache_.ScissorBox(state.box[0], state.box[1], state.box[2], state.box[3]);
    cache_.Projection(state.res_w, state.res_h);
}

void TGLVorn2DDriver::SetAlpha(float alpha) {
    if (!(alpha > 0.0f)) alpha = 0.0f;  // NaN too
    if (alpha > 1.0f) alpha = 1.0f;
    a_ = uint8_t(FloatToInt(double(alpha) * 255));
    const uint8_t bytes[4] = {r_, g_, b_, a_};
    std::memcpy(&rgba_, bytes, 4);
}

void TGLVorn2DDriver::SetColor(int r, int g, int b) {
    r_ = ClampByte(r), g_ = ClampByte(g), b_ = ClampByte(b);
    const uint8_t bytes[4] = {r_, g_, b_, a_};
    std::memcpy(&rgba_, bytes, 4);
}

void TGLVorn2DDriver::SetClsColor(int r, int g, int b) {
    cls_[0] = ClampByte(r), cls_[1] = ClampByte(g), cls_[2] = ClampByte(b);
}

void TGLVorn2DDriver::SetViewport(int x, int y, int w, int h) {
    state_.scissor = !(x == 0 && y == 0 && w == width_ && h == height_);
    // OpenGL refuses a negative box and would keep clipping to the previous one: a rectangle
    // of negative size holds no pixel, so it clips everything.
    if (w < 0) w = 0;
    if (h < 0) h = 0;
    // OpenGL counts rows from the bottom; in 64 bits, as y + h may pass the int range.
    int64_t bottom = int64_t{height_} - y - h;
    bottom = std::clamp<int64_t>(bottom, INT32_MIN, INT32_MAX);
    const int box[4] = {x, int(bottom), w, h};
    for (int i = 0; i < 4; ++i)
        state_.box[i] = state_.scissor ? box[i] : 0;
    ++version_;
}

void TGLVorn2DDriver::SetTransform(float ix, float iy, float jx, float jy) {
    ix_ = ix, iy_ = iy, jx_ = jx, jy_ = jy;
}

void TGLVorn2DDriver::SetLineWidth(float width) {
    line_width_ = width;
}

void TGLVorn2DDriver::SetResolution(float w, float h) {
    state_.res_w = w, state_.res_h = h;
    ++version_;
}

void TGLVorn2DDriver::Cls() {
    if (!graphics_) return;
    // Everything recorded would be painted over: drop it rather than draw it.
    DropRecorded();
    glClearColor(cls_[0] / 255.0f, cls_[1] / 255.0f, cls_[2] / 255.0f, 1.0f);
    cache_.Scissor(false);  // the whole back buffer, whatever the viewport
    glClear(GL_COLOR_BUFFER_BIT);
}

void TGLVorn2DDriver::Flip(int sync) {
    if (!graphics_) return;
    Flush();
    graphics_->Present(sync, [this] { BlitToWindow(); });
    glBindFramebuffer(GL_FRAMEBUFFER, fbo_);
    // The next frame is recorded in full either way; only its rasterising is left out while
    // nobody can see it, so the game's own work, its random draws and timing stay the same.
    unseen_ = graphics_->Unseen();
}

// Copies the back buffer into the window's framebuffer (scaled on a HiDPI drawable).
void TGLVorn2DDriver::BlitToWindow() {
    int dw = width_, dh = height_;
    graphics_->GetDrawableSize(&dw, &dh);
    cache_.Scissor(false);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    const GLenum filter = (dw == width_ && dh == height_) ? GL_NEAREST : GL_LINEAR;
    glBlitFramebuffer(0, 0, width_, height_, 0, 0, dw, dh, GL_COLOR_BUFFER_BIT, filter);
    // Blending leaves the back buffer's alpha below opaque; where the window's surface has an
    // alpha channel that would make the game see-through. The window gets alpha 1, the back
    // buffer (which captures read) keeps its own. A surface without alpha needs nothing: the
    // masked clear costs a full-screen pass on a software rasteriser.
    if (window_alpha_) {
        glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_TRUE);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    }
}

void TGLVorn2DDriver::Finish() {
    Flush();
    if (graphics_) glFinish();
}

PixmapPtr TGLVorn2DDriver::GrabPixmap(int x, int y, int w, int h) {
    PixmapPtr p = CreatePixmap(w, h, PIXFMT_RGBA32, 4);
    if (!p || !graphics_ || w <= 0 || h <= 0) return p;
    Flush();
    std::vector<uint8_t> rows(size_t(w) * 4 * size_t(h));
    glReadPixels(x, height_ - y - h, w, h, GL_RGBA, GL_UNSIGNED_BYTE, rows.data());
    for (int row = 0; row < h; ++row) {
        const uint8_t* src = rows.data() + size_t(h - 1 - row) * w * 4;
        uint8_t* dst = p->PixelPtr(0, row);
        std::memcpy(dst, src, size_t(w) * 4);
        for (int i = 0; i < w; ++i)
            dst[i * 4 + 3] = 0xFF;
    }
    return p;
}

std::shared_ptr<TVorn2DDriver> CreateGLDriver() {
    return std::make_shared<TGLVorn2DDriver>();
}

void TGLVorn2DDriver::DrawPixmap(const TPixmap& pixmap, int x, int y) {
    if (!graphics_ || pixmap.width <= 0 || pixmap.height <= 0) return;
    // A one-off unfiltered texture of exactly the pixmap's size, drawn untransformed.
    PixmapPtr p = pixmap.Convert(PIXFMT_RGBA32);
    if (!p) return;
    GLuint texture = 0;
    glGenTextures(1, &texture);
    BindForUpload(texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, p->pitch / 4);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, p->width, p->height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 p->pixels);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    const uint32_t keep = rgba_;
    const float m[4] = {ix_, iy_, jx_, jy_};
    rgba_ = 0xFFFFFFFFu;
    ix_ = 1, iy_ = 0, jx_ = 0, jy_ = 1;
    DrawTexturedQuad(texture, 0, 0, float(p->width), float(p->height), float(x), float(y), 0, 0, 1,
                     1);
    rgba_ = keep;
    ix_ = m[0], iy_ = m[1], jx_ = m[2], jy_ = m[3];
    ReleaseTexture(texture);
}
