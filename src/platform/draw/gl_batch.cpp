// The OpenGL driver's primitives and their batching. Each primitive becomes triangles, lines or
// points in a queue; the queue is drawn when a primitive needs another texture, blend mode,
// scissor or projection, before presents, grabs and uploads of its texture, and when primitive
// kinds would be reordered.
#include <algorithm>
#include <cstring>

#include "platform/base/numbers.hpp"
#include "platform/draw/detail/draw_geometry.hpp"
#include "platform/draw/detail/gl_driver.hpp"

namespace {
// Additive blending sums non-negative contributions with saturation, which gives the same
// bytes in any order; so under it lines, points and triangles may be queued apart.
constexpr int kOrderFreeBlend = 4;
// A quad's corners 0..3 as the fan (0, 1, 2), (0, 2, 3).
constexpr uint32_t kQuadFan[6] = {0, 1, 2, 0, 2, 3};
}  // namespace

TGLVertex TGLVorn2DDriver::Transformed(float x, float y, float tx, float ty) const {
    const double X = double(x) * ix_ + double(y) * iy_ + tx;
    const double Y = double(x) * jx_ + double(y) * jy_ + ty;
    return Vertex(float(X), float(Y));
}

// Draws what is queued first if appending `vertices` and `indices` of `kind` with `texture`
// would change the result or overflow the buffers.
void TGLVorn2DDriver::MakeRoom(Kind kind, GLuint texture, int vertices, int indices) {
    if (queued_total_ == 0) return;
    const bool reorders = kind != last_kind_ && state_.blend != kOrderFreeBlend;
    const bool full = queued_total_ + vertices > kMaxBatchVertices ||
                      int(queued_indices_.size()) + indices > kMaxBatchIndices;
    if (texture != queued_texture_ || !(state_ == queued_state_) || reorders || full) Flush();
}

void TGLVorn2DDriver::Queue(Kind kind, GLuint texture, const TGLVertex* v, int count) {
    if (!graphics_ || count <= 0) return;
    MakeRoom(kind, texture, count, 0);
    queued_texture_ = texture;
    queued_state_ = state_;
    queued_[kind].insert(queued_[kind].end(), v, v + count);
    queued_total_ += count;
    last_kind_ = kind;
    if (flush_each_) Flush();
}

void TGLVorn2DDriver::QueueTriangles(GLuint texture, const TGLVertex* v, int count,
                                     const uint32_t* indices, int index_count) {
    if (!graphics_ || count <= 0 || index_count <= 0) return;
    MakeRoom(kTriangles, texture, count, index_count);
    queued_texture_ = texture;
    queued_state_ = state_;
    const uint32_t base = uint32_t(queued_[kTriangles].size());
    queued_[kTriangles].insert(queued_[kTriangles].end(), v, v + count);
    for (int i = 0; i < index_count; ++i)
        queued_indices_.push_back(base + indices[i]);
    queued_total_ += count;
    last_kind_ = kTriangles;
    if (flush_each_) Flush();
}

// A convex fan of `count` points, point(i) giving point i, as triangles (0, i, i + 1). A fan
// larger than the buffers goes in pieces that share the first point: the same triangles in the
// same order, so the same pixels.
template <class PointAt>
void TGLVorn2DDriver::QueueFan(int count, PointAt point) {
    constexpr int kPiece = std::min(kMaxBatchVertices, kMaxBatchIndices / 3 + 2);  // points
    for (int start = 1; start + 1 < count;) {
        const int n = std::min(count - start, kPiece - 1);  // points after the first
        fan_vertices_.clear();
        fan_vertices_.push_back(point(0));
        for (int i = 0; i < n; ++i)
            fan_vertices_.push_back(point(start + i));
        fan_indices_.clear();
        for (uint32_t i = 1; i + 1 <= uint32_t(n); ++i)
            fan_indices_.insert(fan_indices_.end(), {0u, i, i + 1});
        QueueTriangles(white_, fan_vertices_.data(), n + 1, fan_indices_.data(),
                       int(fan_indices_.size()));
        start += n - 1;
    }
}

void TGLVorn2DDriver::Flush() {
    if (queued_total_ == 0) return;
    UploadAndDraw();
    for (auto& q : queued_)
        q.clear();
    queued_indices_.clear();
    queued_total_ = 0;
    last_kind_ = -1;
}

// Copies `bytes` into the streaming buffer bound at `target` at *used (in units of `unit`
// bytes), starting fresh storage of `capacity` units when it would not fit; returns the offset.
static size_t Stream(GLenum target, const void* data, size_t count, size_t unit, size_t capacity,
                     size_t* used) {
    if (*used + count > capacity) {
        // Fresh storage, so the writes below never wait for draws still reading the old one.
        glBufferData(target, capacity * unit, nullptr, GL_STREAM_DRAW);
        *used = 0;
    }
    const GLbitfield access =
        GL_MAP_WRITE_BIT | GL_MAP_INVALIDATE_RANGE_BIT | GL_MAP_UNSYNCHRONIZED_BIT;
    void* dst = glMapBufferRange(target, *used * unit, count * unit, access);
    if (dst) {
        std::memcpy(dst, data, count * unit);
        glUnmapBuffer(target);
    }
    const size_t at = *used;
    *used += count;
    return at;
}

void TGLVorn2DDriver::UploadAndDraw() {
    // One contiguous run: triangles, then lines, then points.
    staging_.clear();
    size_t first[kKindCount];
    for (int k = 0; k < kKindCount; ++k) {
        first[k] = staging_.size();
        staging_.insert(staging_.end(), queued_[k].begin(), queued_[k].end());
    }
    const size_t base = Stream(GL_ARRAY_BUFFER, staging_.data(), staging_.size(), sizeof(TGLVertex),
                               kMaxBatchVertices, &vbo_used_);
    size_t index_at = 0;
    if (!queued_indices_.empty()) {
        index_at = Stream(GL_ELEMENT_ARRAY_BUFFER, queued_indices_.data(), queued_indices_.size(),
                          sizeof(uint32_t), kMaxBatchIndices, &ibo_used_);
    }
    DrawQueued(base, first, index_at);
}

// Issues one draw call per kind of what UploadAndDraw put at `base` (vertices, with each kind at
// `first`) and `index_at` (triangle indices).
void TGLVorn2DDriver::DrawQueued(size_t base, const size_t* first, size_t index_at) {
    ApplyState(queued_state_);
    cache_.BindTexture(queued_texture_);
    const bool alpha_test = queued_state_.blend == 1;
    cache_.UseProgram((queued_texture_ != white_ ? 1 : 0) | (alpha_test ? 2 : 0));
    static constexpr GLenum kModes[kKindCount] = {GL_TRIANGLES, GL_LINES, GL_POINTS};
    if (!queued_indices_.empty()) {
        glDrawElementsBaseVertex(GL_TRIANGLES, GLsizei(queued_indices_.size()), GL_UNSIGNED_INT,
                                 (void*)(index_at * sizeof(uint32_t)), GLint(base + first[0]));
        ++draw_calls_;
    }
    for (int k = kLines; k < kKindCount; ++k) {
        if (queued_[k].empty()) continue;
        glDrawArrays(kModes[k], GLint(base + first[k]), GLsizei(queued_[k].size()));
        ++draw_calls_;
    }
}

void TGLVorn2DDriver::ReleaseTexture(GLuint texture) {
    if (queued_total_ > 0 && queued_texture_ == texture) Flush();
    if (cache_.BoundTexture() == texture) cache_.BindTexture(white_);
    if (queued_texture_ == texture) queued_texture_ = white_;
    glDeleteTextures(1, &texture);
}

void TGLVorn2DDriver::BindForUpload(GLuint texture) {
    // Queued primitives that sample this texture must see its old content. Others bind their own
    // texture when they are drawn.
    if (queued_total_ > 0 && queued_texture_ == texture) Flush();
    cache_.BindTexture(texture);
}

void TGLVorn2DDriver::Plot(float x, float y) {
    const TGLVertex v = Vertex(x + 0.5f, y + 0.5f);
    Queue(kPoints, white_, &v, 1);
}

void TGLVorn2DDriver::DrawLine(float x0, float y0, float x1, float y1, float tx, float ty) {
    const TGLVertex a = Transformed(x0, y0, tx, ty), b = Transformed(x1, y1, tx, ty);
    if (line_width_ <= 1.0f) {
        const TGLVertex line[2] = {Vertex(a.x + 0.5f, a.y + 0.5f), Vertex(b.x + 0.5f, b.y + 0.5f)};
        Queue(kLines, white_, line, 2);
        return;
    }
    float xy[8];
    WideLineStrip(a.x, a.y, b.x, b.y, line_width_, xy);
    TGLVertex s[4];
    for (int i = 0; i < 4; ++i)
        s[i] = Vertex(xy[i * 2], xy[i * 2 + 1]);
    static constexpr uint32_t kStrip[6] = {0, 1, 2, 2, 1, 3};  // the strip's two triangles
    QueueTriangles(white_, s, 4, kStrip, 6);
}

void TGLVorn2DDriver::DrawRect(float x0, float y0, float x1, float y1, float tx, float ty) {
    const TGLVertex q[4] = {Transformed(x0, y0, tx, ty), Transformed(x1, y0, tx, ty),
                            Transformed(x1, y1, tx, ty), Transformed(x0, y1, tx, ty)};
    QueueTriangles(white_, q, 4, kQuadFan, 6);
}

void TGLVorn2DDriver::DrawOval(float x0, float y0, float x1, float y1, float tx, float ty) {
    const std::vector<float> xy = OvalOutline(x0, y0, x1, y1);
    QueueFan(int(xy.size() / 2),
             [&](size_t i) { return Transformed(xy[i * 2], xy[i * 2 + 1], tx, ty); });
}

void TGLVorn2DDriver::DrawPoly(const float* xy, int count, float handle_x, float handle_y, float tx,
                               float ty) {
    if (!xy || count < 3) return;
    QueueFan(count, [&](size_t i) {
        return Transformed(xy[i * 2] + handle_x, xy[i * 2 + 1] + handle_y, tx, ty);
    });
}

void TGLVorn2DDriver::DrawTexturedQuad(GLuint texture, float x0, float y0, float x1, float y1,
                                       float tx, float ty, float u0, float v0, float u1, float v1) {
    TGLVertex q[4] = {Transformed(x0, y0, tx, ty), Transformed(x1, y0, tx, ty),
                      Transformed(x1, y1, tx, ty), Transformed(x0, y1, tx, ty)};
    q[0].u = u0, q[0].v = v0, q[1].u = u1, q[1].v = v0;
    q[2].u = u1, q[2].v = v1, q[3].u = u0, q[3].v = v1;
    QueueTriangles(texture, q, 4, kQuadFan, 6);
}
