// The OpenGL driver's primitives and their recording. Each primitive writes its vertices into
// the mapped buffer of its stream and joins the open command, or opens a new one when it needs
// another stream, texture or state. Flush unmaps the buffers and draws the commands in order.
// Fill that changes no pixel is saved: primitives of alpha 0 under the blends that weigh by
// alpha are left out, opaque textures drawn opaque under the alpha blend go unblended.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/draw/detail/draw_geometry.hpp"
#include "platform/draw/detail/gl_driver.hpp"

namespace {
// Additive blending sums non-negative contributions with saturation, which gives the same
// bytes in any order; so under it lines, points and triangles may be recorded apart.
constexpr int kOrderFreeBlend = 4;
constexpr int kMaskBlend = 1;
constexpr int kSolidBlend = 2;
constexpr int kAlphaBlend = 3;

bool g_fill_saving = true;

uint8_t AlphaOf(uint32_t rgba) {
    uint8_t bytes[4];
    std::memcpy(bytes, &rgba, 4);
    return bytes[3];
}
}  // namespace

void SetGLFillSaving(bool on) {
    g_fill_saving = on;
}

// At vertex alpha 0 the alpha blend gives src * 0 + dst * 1 and the light blend dst + src * 0,
// in colour and alpha alike, and the mask's alpha test drops every fragment: nothing changes.
// The solid and shade blends do not weigh the source by its alpha.
bool TGLVorn2DDriver::Invisible() {
    if (!g_fill_saving || AlphaOf(rgba_) != 0) return false;
    const int b = state_.blend;
    if (b != kMaskBlend && b != kAlphaBlend && b != kOrderFreeBlend) return false;
    ++skipped_;
    return true;
}

void TGLVorn2DDriver::Transform(float x, float y, float tx, float ty, float* X, float* Y) const {
    *X = float(double(x) * ix_ + double(y) * iy_ + tx);
    *Y = float(double(x) * jx_ + double(y) * jy_ + ty);
}

void TGLVorn2DDriver::Corners(float x0, float y0, float x1, float y1, float tx, float ty,
                              float out[8]) const {
    // The products each corner shares with another, computed once: the same doubles.
    const double ax0 = double(x0) * ix_, ax1 = double(x1) * ix_;
    const double ay0 = double(y0) * iy_, ay1 = double(y1) * iy_;
    const double bx0 = double(x0) * jx_, bx1 = double(x1) * jx_;
    const double by0 = double(y0) * jy_, by1 = double(y1) * jy_;
    out[0] = float(ax0 + ay0 + tx), out[1] = float(bx0 + by0 + ty);
    out[2] = float(ax1 + ay0 + tx), out[3] = float(bx1 + by0 + ty);
    out[4] = float(ax1 + ay1 + tx), out[5] = float(bx1 + by1 + ty);
    out[6] = float(ax0 + ay1 + tx), out[7] = float(bx0 + by1 + ty);
}

bool TGLVorn2DDriver::OnWholePixels(const float corners[8]) const {
    if (ix_ != 1 || iy_ != 0 || jx_ != 0 || jy_ != 1) return false;
    if (state_.res_w != float(width_) || state_.res_h != float(height_)) return false;
    return std::all_of(corners, corners + 8, [](float v) { return v == std::floor(v); });
}

// Starts a command for `n` vertices of `stream`: in the open batch when it has the same state,
// texture and filter, and the order of kinds does not matter or is kept, else in a new batch.
void TGLVorn2DDriver::OpenCommand(int stream, GLuint texture, int n, bool filtered) {
    if (counts_[stream] + uint32_t(n) > room_[stream]) {
        if (mapped_[stream]) Flush();  // full: draw what is recorded, go on in fresh room
        Map(stream);
    }
    const bool same = open_stream_ >= 0 && texture == open_texture_ && filtered == open_filtered_ &&
                      state_ == open_state_;
    const bool keeps_order = stream == open_stream_ || state_.blend == kOrderFreeBlend;
    if (!same || !keeps_order) {
        std::fill(std::begin(open_command_), std::end(open_command_), -1);
        open_state_ = state_;
        open_texture_ = texture;
        open_filtered_ = filtered;
    }
    if (open_command_[stream] < 0) {
        open_command_[stream] = int(commands_.size());
        commands_.push_back(
            {open_state_, open_texture_, open_filtered_, stream, counts_[stream], 0});
    }
    open_stream_ = stream;
    open_version_ = version_;
}

void TGLVorn2DDriver::DropRecorded() {
    commands_.clear();
    std::fill(std::begin(counts_), std::end(counts_), 0u);
    std::fill(std::begin(open_command_), std::end(open_command_), -1);
    open_stream_ = -1;
}

bool TGLVorn2DDriver::Uses(GLuint texture) const {
    for (const TGLCommand& c : commands_) {
        if (c.stream == kTexturedQuads && c.texture == texture) return true;
    }
    return false;
}

void TGLVorn2DDriver::Flush() {
    size_t base[kStreams] = {};
    bool used[kStreams] = {};
    for (int s = 0; s < kStreams; ++s)
        used[s] = Unmap(s, &base[s]);
    for (const TGLCommand& c : commands_) {
        if (c.count > 0 && !unseen_) DrawCommand(c, base[c.stream]);
    }
    FenceUsedBuffers(used);
    DropRecorded();
}

namespace {
// Waits until the draws before `*fence` are done with their buffer, then forgets the fence.
void WaitFor(GLsync* fence) {
    if (!*fence) return;
    GLenum status = GL_TIMEOUT_EXPIRED;
    while (status == GL_TIMEOUT_EXPIRED)
        status = glClientWaitSync(*fence, GL_SYNC_FLUSH_COMMANDS_BIT, 100000000);
    glDeleteSync(*fence);
    *fence = nullptr;
}

size_t VertexSize(int stream) {
    return stream == TGLVorn2DDriver::kTexturedQuads ? sizeof(TGLVertex) : sizeof(TGLPlainVertex);
}
}  // namespace

// Maps the unwritten rest of the stream's buffer, or of the next buffer of the ring when less
// than half is left.
void TGLVorn2DDriver::Map(int s) {
    const size_t capacity = size_t(kStreamVertices[s]), unit = VertexSize(s);
    if (capacity - ring_used_[s] < capacity / 2) {
        ring_at_[s] = (ring_at_[s] + 1) % kRingBuffers;
        ring_used_[s] = 0;
        WaitFor(&fences_[s][ring_at_[s]]);  // normally long done: it was drawn rings ago
    }
    const size_t room = capacity - ring_used_[s];
    glBindBuffer(GL_ARRAY_BUFFER, vbos_[s][ring_at_[s]]);
    // Unsynchronized: no draw still to be done reads this range.
    const GLbitfield access = GL_MAP_WRITE_BIT | GL_MAP_INVALIDATE_RANGE_BIT |
                              GL_MAP_UNSYNCHRONIZED_BIT | GL_MAP_FLUSH_EXPLICIT_BIT;
    mapped_[s] = nullptr;
    if (glapi::kBufferMapping) {
        mapped_[s] = glMapBufferRange(GL_ARRAY_BUFFER, GLintptr(ring_used_[s] * unit),
                                      GLsizeiptr(room * unit), access);
    }
    if (!mapped_[s]) {
        unmappable_[s].resize(room * unit);
        mapped_[s] = unmappable_[s].data();
    }
    room_[s] = uint32_t(room);
}

// Ends the stream's mapping; true when it holds recorded vertices, which then start at *base
// in its buffer.
bool TGLVorn2DDriver::Unmap(int s, size_t* base) {
    if (!mapped_[s]) return false;
    const size_t n = counts_[s], unit = VertexSize(s);
    glBindBuffer(GL_ARRAY_BUFFER, vbos_[s][ring_at_[s]]);
    if (mapped_[s] == static_cast<void*>(unmappable_[s].data())) {
        glBufferSubData(GL_ARRAY_BUFFER, GLintptr(ring_used_[s] * unit), GLsizeiptr(n * unit),
                        mapped_[s]);
    } else {
        glapi::UnmapArrayBuffer(GLsizeiptr(n * unit));
    }
    mapped_[s] = nullptr;
    room_[s] = 0;
    *base = ring_used_[s];
    ring_used_[s] += n;
    return n > 0;
}

void TGLVorn2DDriver::FenceUsedBuffers(const bool* used) {
    if (!glapi::kBufferMapping) return;  // glBufferSubData orders itself after earlier draws
    for (int s = 0; s < kStreams; ++s) {
        if (!used[s]) continue;
        GLsync& fence = fences_[s][ring_at_[s]];
        if (fence) glDeleteSync(fence);
        fence = glFenceSync(GL_SYNC_GPU_COMMANDS_COMPLETE, 0);
    }
}

// Issues the draw calls of one command whose stream was uploaded at `base`.
void TGLVorn2DDriver::DrawCommand(const TGLCommand& c, size_t base) {
    ApplyState(c.state);
    const bool textured = c.stream == kTexturedQuads;
    if (textured) cache_.BindTexture(c.texture);
    const bool weighed = c.state.blend == kAlphaBlend || c.state.blend == kOrderFreeBlend;
    cache_.UseProgram((textured ? 1 : 0) | (c.state.blend == kMaskBlend ? 2 : 0) |
                      (weighed ? 4 : 0) | (textured && c.filtered ? 8 : 0));
    cache_.BindVertexArray(vaos_[c.stream][ring_at_[c.stream]]);
    const GLint first = GLint(base + c.first);
    if (c.stream == kPoints) {
        glDrawArrays(GL_POINTS, first, GLsizei(c.count));
        ++draw_calls_;
        return;
    }
    const uint32_t quads = c.count / 4;
    for (uint32_t q = 0; q < quads; q += kQuadsPerDraw) {
        const uint32_t n = std::min<uint32_t>(kQuadsPerDraw, quads - q);
        const GLint base = first + GLint(q * 4);
        if (glapi::kBaseVertexDraws) {
            glapi::DrawElementsBaseVertex(GL_TRIANGLES, GLsizei(n * 6), GL_UNSIGNED_SHORT, base);
        } else {  // the indices count from the vertex the attributes start at
            PointVertexLayout(vbos_[c.stream][ring_at_[c.stream]], textured, size_t(base));
            glDrawElements(GL_TRIANGLES, GLsizei(n * 6), GL_UNSIGNED_SHORT, nullptr);
        }
        ++draw_calls_;
    }
}

void TGLVorn2DDriver::ReleaseTexture(GLuint texture) {
    if (Uses(texture)) Flush();
    if (cache_.BoundTexture() == texture) cache_.BindTexture(0);
    if (open_texture_ == texture) open_stream_ = -1;  // a new texture may get the same name
    glDeleteTextures(1, &texture);
}

void TGLVorn2DDriver::BindForUpload(GLuint texture) {
    // Recorded primitives that sample this texture must see its old content.
    if (Uses(texture)) Flush();
    cache_.BindTexture(texture);
}

void TGLVorn2DDriver::Plot(float x, float y) {
    if (!graphics_ || Invisible()) return;
    *ReservePlain(kPoints, 1) = Plain(x + 0.5f, y + 0.5f);
    Recorded();
}

void TGLVorn2DDriver::DrawLine(float x0, float y0, float x1, float y1, float tx, float ty) {
    if (!graphics_ || Invisible()) return;
    float ax, ay, bx, by;
    Transform(x0, y0, tx, ty, &ax, &ay);
    Transform(x1, y1, tx, ty, &bx, &by);
    float s[8];
    if (line_width_ > 1.0f) {
        WideLineStrip(ax, ay, bx, by, line_width_, s);
    } else if (!ThinLineStrip(ax, ay, bx, by, s)) {
        return;
    }
    // The strip's triangles (0, 1, 2) and (2, 1, 3) as the quad 1, 3, 2, 0: the same two
    // triangles, each with its corners in the same turning order; they share only an edge and a
    // colour, so which goes first changes no pixel.
    TGLPlainVertex* v = ReservePlain(kQuads, 4);
    v[0] = Plain(s[2], s[3]), v[1] = Plain(s[6], s[7]);
    v[2] = Plain(s[4], s[5]), v[3] = Plain(s[0], s[1]);
    Recorded();
}

void TGLVorn2DDriver::DrawRect(float x0, float y0, float x1, float y1, float tx, float ty) {
    if (!graphics_ || Invisible()) return;
    float c[8];
    Corners(x0, y0, x1, y1, tx, ty, c);
    TGLPlainVertex* v = ReservePlain(kQuads, 4);
    for (int i = 0; i < 4; ++i)
        v[i] = Plain(c[i * 2], c[i * 2 + 1]);
    Recorded();
}

// A convex fan of `count` points, point(i) giving point i, as triangles (0, i, i + 1) in order,
// each recorded as a quad whose second triangle is empty.
template <class PointAt>
void TGLVorn2DDriver::QueueFan(int count, PointAt point) {
    if (!graphics_ || count < 3 || Invisible()) return;
    const TGLPlainVertex first = point(0);
    TGLPlainVertex previous = point(1);
    for (int i = 2; i < count; ++i) {
        const TGLPlainVertex next = point(i);
        TGLPlainVertex* v = ReservePlain(kQuads, 4);
        v[0] = first, v[1] = previous, v[2] = next, v[3] = next;
        previous = next;
    }
    Recorded();
}

void TGLVorn2DDriver::DrawOval(float x0, float y0, float x1, float y1, float tx, float ty) {
    const std::vector<float> xy = OvalOutline(x0, y0, x1, y1);
    QueueFan(int(xy.size() / 2), [&](size_t i) {
        float X, Y;
        Transform(xy[i * 2], xy[i * 2 + 1], tx, ty, &X, &Y);
        return Plain(X, Y);
    });
}

void TGLVorn2DDriver::DrawPoly(const float* xy, int count, float handle_x, float handle_y, float tx,
                               float ty) {
    if (!xy) return;
    QueueFan(count, [&](size_t i) {
        float X, Y;
        Transform(xy[i * 2] + handle_x, xy[i * 2 + 1] + handle_y, tx, ty, &X, &Y);
        return Plain(X, Y);
    });
}

void TGLVorn2DDriver::DrawTexturedQuad(GLuint texture, float x0, float y0, float x1, float y1,
                                       float tx, float ty, float u0, float v0, float u1, float v1,
                                       bool opaque, bool filtered, bool texel_sized) {
    if (!graphics_ || Invisible()) return;
    float c[8];
    Corners(x0, y0, x1, y1, tx, ty, c);
    // Opaque texels at vertex alpha 255 under the alpha blend give src * 1 + dst * 0, alpha
    // included: drawn unblended, the rasteriser neither reads nor blends the back buffer, and
    // tiles the quad covers whole drop what was drawn into them before.
    const bool unblended =
        opaque && g_fill_saving && state_.blend == kAlphaBlend && AlphaOf(rgba_) == 255;
    if (unblended) state_.blend = kSolidBlend, ++version_, ++unblended_;
    // The shader filters what the sampler might not get the same everywhere.
    TGLVertex* q = ReserveTextured(texture, filtered && !(texel_sized && OnWholePixels(c)));
    q[0] = {c[0], c[1], u0, v0, rgba_};
    q[1] = {c[2], c[3], u1, v0, rgba_};
    q[2] = {c[4], c[5], u1, v1, rgba_};
    q[3] = {c[6], c[7], u0, v1, rgba_};
    if (unblended) state_.blend = kAlphaBlend, ++version_;
    Recorded();
}
