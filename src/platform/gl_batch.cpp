// The OpenGL driver's primitives and their batching. Each primitive becomes triangles, lines or
// points in a queue; the queue is drawn when the texture, blend mode, scissor or projection
// changes, before presents, grabs and uploads, and when primitive kinds would be reordered.
#include <cstring>

#include "platform/draw_geometry.hpp"
#include "platform/gl_driver.hpp"
#include "platform/numbers.hpp"

namespace {
// Additive blending sums non-negative contributions with saturation, which gives the same
// bytes in any order; so under it lines, points and triangles may be queued apart.
constexpr int kOrderFreeBlend = 4;
}  // namespace

TGLVertex TGLVorn2DDriver::Transformed(float x, float y, float tx, float ty) const {
    const double X = double(x) * ix_ + double(y) * iy_ + tx;
    const double Y = double(x) * jx_ + double(y) * jy_ + ty;
    return Vertex(float(X), float(Y));
}

void TGLVorn2DDriver::Queue(Kind kind, GLuint texture, const TGLVertex* v, int count) {
    if (!graphics_ || count <= 0) return;
    if (queued_total_ > 0) {
        const bool reorders = kind != last_kind_ && blend_ != kOrderFreeBlend;
        if (texture != queued_texture_ || reorders || queued_total_ + count > kMaxBatchVertices)
            Flush();
    }
    queued_texture_ = texture;
    queued_[kind].insert(queued_[kind].end(), v, v + count);
    queued_total_ += count;
    last_kind_ = kind;
    if (flush_each_) Flush();
}

// A convex fan of `count` points as triangles (0, i, i + 1).
void TGLVorn2DDriver::QueueFan(GLuint texture, const TGLVertex* v, int count) {
    if (count < 3) return;
    TGLVertex tri[3];
    std::vector<TGLVertex> list;
    list.reserve(size_t(count - 2) * 3);
    for (int i = 1; i + 1 < count; ++i) {
        tri[0] = v[0], tri[1] = v[i], tri[2] = v[i + 1];
        list.insert(list.end(), tri, tri + 3);
    }
    Queue(kTriangles, texture, list.data(), int(list.size()));
}

void TGLVorn2DDriver::Flush() {
    if (queued_total_ == 0) return;
    UploadAndDraw();
    for (auto& q : queued_)
        q.clear();
    queued_total_ = 0;
    last_kind_ = -1;
}

void TGLVorn2DDriver::UploadAndDraw() {
    const size_t need = size_t(queued_total_);
    if (vbo_used_ + need > size_t(kMaxBatchVertices)) {
        // Fresh storage, so the writes below never wait for draws still reading the old one.
        glBufferData(GL_ARRAY_BUFFER, kMaxBatchVertices * sizeof(TGLVertex), nullptr,
                     GL_STREAM_DRAW);
        vbo_used_ = 0;
    }
    const GLbitfield access =
        GL_MAP_WRITE_BIT | GL_MAP_INVALIDATE_RANGE_BIT | GL_MAP_UNSYNCHRONIZED_BIT;
    auto* dst = static_cast<TGLVertex*>(glMapBufferRange(
        GL_ARRAY_BUFFER, vbo_used_ * sizeof(TGLVertex), need * sizeof(TGLVertex), access));
    if (!dst) return;
    size_t first[kKindCount], at = 0;
    for (int k = 0; k < kKindCount; ++k) {
        first[k] = vbo_used_ + at;
        if (!queued_[k].empty())
            std::memcpy(dst + at, queued_[k].data(), queued_[k].size() * sizeof(TGLVertex));
        at += queued_[k].size();
    }
    glUnmapBuffer(GL_ARRAY_BUFFER);
    vbo_used_ += need;
    cache_.BindTexture(queued_texture_);
    static constexpr GLenum kModes[kKindCount] = {GL_TRIANGLES, GL_LINES, GL_POINTS};
    for (int k = 0; k < kKindCount; ++k) {
        if (queued_[k].empty()) continue;
        glDrawArrays(kModes[k], GLint(first[k]), GLsizei(queued_[k].size()));
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
    Flush();
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
    const TGLVertex tris[6] = {s[0], s[1], s[2], s[2], s[1], s[3]};  // the strip's two triangles
    Queue(kTriangles, white_, tris, 6);
}

void TGLVorn2DDriver::DrawRect(float x0, float y0, float x1, float y1, float tx, float ty) {
    const TGLVertex q[4] = {Transformed(x0, y0, tx, ty), Transformed(x1, y0, tx, ty),
                            Transformed(x1, y1, tx, ty), Transformed(x0, y1, tx, ty)};
    const TGLVertex tris[6] = {q[0], q[1], q[2], q[0], q[2], q[3]};  // the quad's fan
    Queue(kTriangles, white_, tris, 6);
}

void TGLVorn2DDriver::DrawOval(float x0, float y0, float x1, float y1, float tx, float ty) {
    const std::vector<float> xy = OvalOutline(x0, y0, x1, y1);
    const int n = int(xy.size() / 2);
    std::vector<TGLVertex> fan(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        fan[i] = Transformed(xy[i * 2], xy[i * 2 + 1], tx, ty);
    QueueFan(white_, fan.data(), n);
}

void TGLVorn2DDriver::DrawPoly(const float* xy, int count, float handle_x, float handle_y, float tx,
                               float ty) {
    if (!xy || count < 3) return;
    std::vector<TGLVertex> fan(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        fan[i] = Transformed(xy[i * 2] + handle_x, xy[i * 2 + 1] + handle_y, tx, ty);
    QueueFan(white_, fan.data(), count);
}

void TGLVorn2DDriver::DrawTexturedQuad(GLuint texture, float x0, float y0, float x1, float y1,
                                       float tx, float ty, float u0, float v0, float u1, float v1) {
    TGLVertex q[4] = {Transformed(x0, y0, tx, ty), Transformed(x1, y0, tx, ty),
                      Transformed(x1, y1, tx, ty), Transformed(x0, y1, tx, ty)};
    q[0].u = u0, q[0].v = v0, q[1].u = u1, q[1].v = v0;
    q[2].u = u1, q[2].v = v1, q[3].u = u0, q[3].v = v1;
    const TGLVertex tris[6] = {q[0], q[1], q[2], q[0], q[2], q[3]};
    Queue(kTriangles, texture, tris, 6);
}
