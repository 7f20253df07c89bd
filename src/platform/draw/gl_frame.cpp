// Texture frames of the OpenGL driver: power-of-two textures holding a pixmap with a one-texel
// smear beyond its last column and row, optional mipmaps, and re-upload into a texture that fits.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/draw/detail/gl_driver.hpp"
#include "platform/draw/image.hpp"

namespace {
// Flags that shape a texture object.
constexpr int kTextureFlags = IMAGE_FILTERED | IMAGE_MIPMAPPED;

class TGLImageFrame final : public TImageFrame {
  public:
    float u0 = 0, v0 = 0, u1 = 0, v1 = 0;
    float uscale = 0, vscale = 0;
    GLuint name = 0;
    int seq = 0;
    int tex_w = 0, tex_h = 0, flags = 0;
    int up_w = 0, up_h = 0;  // the uploaded pixels, before the smeared column and row
    bool opaque = false;     // level 0 holds alpha 255 up to and including the smear
    TGLVorn2DDriver* driver = nullptr;

    ~TGLImageFrame() override {
        // A texture of an older context went with that context.
        if (name && seq == GraphicsGeneration() && driver == AttachedGLDriver())
            driver->ReleaseTexture(name);
    }
    void Draw(float x0, float y0, float x1, float y1, float tx, float ty, float sx, float sy,
              float sw, float sh) override {
        if (seq != GraphicsGeneration() || driver != AttachedGLDriver()) return;
        driver->DrawTexturedQuad(
            name, x0, y0, x1, y1, tx, ty, sx * uscale, sy * vscale, (sx + sw) * uscale,
            (sy + sh) * vscale, SamplesOpaque(sx, sy, sw, sh),
            (flags & kTextureFlags) == IMAGE_FILTERED, x1 - x0 == sw && y1 - y0 == sh);
    }
    // Whether a quad showing texels [sx, sx + sw) x [sy, sy + sh) samples only opaque ones:
    // filtering reaches at most one texel past the rectangle, into the smear or the clamped
    // edge when the rectangle lies within the uploaded pixels.
    bool SamplesOpaque(float sx, float sy, float sw, float sh) const {
        return opaque && sx >= 0 && sy >= 0 && sx + sw <= float(up_w) && sy + sh <= float(up_h);
    }
};

// The texture size for a w x h pixmap, halved while the implementation refuses it; false when
// not even 1 x 1 is accepted.
bool TextureSize(int w, int h, int* tw, int* th) {
    *tw = TextureSide(w), *th = TextureSide(h);
    while (!glapi::TextureSizeAccepted(*tw, *th)) {
        if (*tw == 1 && *th == 1) return false;
        if (*tw > 1) *tw /= 2;
        if (*th > 1) *th /= 2;
    }
    return true;
}

// The pixmap in a format OpenGL reads directly, with a pitch that is a whole number of pixels.
PixmapPtr Uploadable(const PixmapPtr& p) {
    const bool direct =
        p->format == PIXFMT_RGBA32 || (glapi::kBgraUploads && p->format == PIXFMT_BGRA32);
    if (direct && p->pitch % 4 == 0) return p;
    return p->Convert(PIXFMT_RGBA32);
}

// Uploads the w x h rectangle at (x, y) of the texture from `src` rows starting at `pixels`.
void SubImage(const TPixmap& src, const uint8_t* pixels, int x, int y, int w, int h,
              int level = 0) {
    const GLenum format = src.format == PIXFMT_BGRA32 ? glapi::kBgra : GL_RGBA;
    glPixelStorei(GL_UNPACK_ROW_LENGTH, src.pitch / 4);
    glTexSubImage2D(GL_TEXTURE_2D, level, x, y, w, h, format, GL_UNSIGNED_BYTE, pixels);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
}

// Level 0 of a texture: the pixels, then one smeared column and row where the texture is larger.
void UploadSmeared(const TPixmap& p, int tw, int th) {
    const int w = p.width, h = p.height;
    SubImage(p, p.PixelPtr(0, 0), 0, 0, w, h);
    if (w < tw) SubImage(p, p.PixelPtr(w - 1, 0), w, 0, 1, h);
    if (h < th) SubImage(p, p.PixelPtr(0, h - 1), 0, h, w, 1);
    if (w < tw && h < th) SubImage(p, p.PixelPtr(w - 1, h - 1), w, h, 1, 1);
}

// Every level from `level0` down to 1 x 1, each resampled from the one before (left empty if a
// level's pixmap cannot be made).
void UploadMipmaps(PixmapPtr level, int tw, int th) {
    for (int i = 0;; ++i) {
        glTexImage2D(GL_TEXTURE_2D, i, GL_RGBA8, tw, th, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
        if (level) SubImage(*level, level->pixels, 0, 0, tw, th, i);
        if (tw == 1 && th == 1) break;
        tw = tw > 1 ? tw / 2 : 1;
        th = th > 1 ? th / 2 : 1;
        if (level) level = ResizePixmap(*level, tw, th);
    }
}

void SetFilters(int flags) {
    const bool filtered = flags & IMAGE_FILTERED, mipmapped = flags & IMAGE_MIPMAPPED;
    GLint min = filtered ? GL_LINEAR : GL_NEAREST;
    if (mipmapped) min = filtered ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_NEAREST;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, min);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filtered ? GL_LINEAR : GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, mipmapped ? 1000 : 0);
}

// Whether every pixel of `p` has alpha 255.
bool EveryPixelOpaque(const TPixmap& p) {
    const bool bytes = p.format == PIXFMT_RGBA32 || p.format == PIXFMT_BGRA32;
    for (int y = 0; y < p.height; ++y) {
        const uint8_t* row = p.PixelPtr(0, y);
        for (int x = 0; x < p.width; ++x) {
            const bool opaque = bytes ? row[x * 4 + 3] == 255 : p.ReadPixel(x, y) >> 24 == 255;
            if (!opaque) return false;
        }
    }
    return true;
}

// Whether `old` is a frame of `driver` in this context, held only by its image, whose texture
// has the size and flags wanted, so that new pixels can be uploaded into it.
bool Fits(const FramePtr& old, const TGLVorn2DDriver* driver, int tw, int th, int flags) {
    auto* f = dynamic_cast<TGLImageFrame*>(old.get());
    return f && old.use_count() == 1 && f->seq == GraphicsGeneration() && f->driver == driver &&
           f->tex_w == tw && f->tex_h == th && f->flags == (flags & kTextureFlags);
}

// Fills the bound texture of tw x th from `p`; `fresh` when its storage must be made first.
// False when the pixels cannot be brought into an uploadable form (no memory).
bool Upload(const PixmapPtr& p, int tw, int th, int flags, bool fresh) {
    if (flags & IMAGE_MIPMAPPED) {
        PixmapPtr level0 =
            (p->width < tw || p->height < th) ? SmearPixmap(*p, tw, th) : p->Convert(PIXFMT_RGBA32);
        if (!level0) return false;
        UploadMipmaps(level0, tw, th);
        return true;
    }
    PixmapPtr direct = Uploadable(p);
    if (!direct) return false;
    if (fresh)
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, tw, th, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    UploadSmeared(*direct, tw, th);
    return true;
}
}  // namespace

bool GLFrameInfo(const FramePtr& frame, TGLFrameInfo* info) {
    auto* f = dynamic_cast<TGLImageFrame*>(frame.get());
    if (!f) return false;
    *info = {f->name, f->tex_w, f->tex_h, f->u1, f->v1, f->uscale, f->vscale, f->seq};
    return true;
}

PixmapPtr ReadGLFrameTexture(const FramePtr& frame) {
    TGLFrameInfo info{};
    TGLVorn2DDriver* driver = AttachedGLDriver();
    if (!driver || !GLFrameInfo(frame, &info) || info.seq != GraphicsGeneration()) return nullptr;
    PixmapPtr p = CreatePixmap(info.tex_w, info.tex_h, PIXFMT_RGBA32, 4);
    if (!p) return nullptr;
    driver->BindForUpload(info.name);
    glapi::ReadTexture(info.name, info.tex_w, info.tex_h, p->pixels);
    return p;
}

FramePtr TGLVorn2DDriver::CreateFrameFromPixmap(const PixmapPtr& pixmap, int flags) {
    return RebuildFrame(pixmap, flags, nullptr);
}

FramePtr TGLVorn2DDriver::RebuildFrame(const PixmapPtr& pixmap, int flags, const FramePtr& old) {
    if (!graphics_ || !pixmap || pixmap->width <= 0 || pixmap->height <= 0) return nullptr;
    int tw = 0, th = 0;
    if (!TextureSize(pixmap->width, pixmap->height, &tw, &th)) {
        std::fprintf(stderr, "Unable to calculate tex size\n");
        return nullptr;
    }
    PixmapPtr p = pixmap;
    const int w = std::min(p->width, tw), h = std::min(p->height, th);
    if (w != p->width || h != p->height) p = ResizePixmap(*p, w, h);
    if (!p) return nullptr;
    const bool fits = Fits(old, this, tw, th, flags);
    std::shared_ptr<TGLImageFrame> frame;
    if (fits) {
        frame = std::static_pointer_cast<TGLImageFrame>(old);
        BindForUpload(frame->name);
    } else {
        frame = std::make_shared<TGLImageFrame>();
        glGenTextures(1, &frame->name);
        BindForUpload(frame->name);
        SetFilters(flags);
    }
    if (!Upload(p, tw, th, flags, !fits)) {
        if (!fits) ReleaseTexture(frame->name), frame->name = 0;  // a reused one goes with `old`
        return nullptr;
    }
    frame->tex_w = tw, frame->tex_h = th;
    frame->up_w = w, frame->up_h = h;
    // Mipmap levels also resample the transparent padding beyond the smear.
    frame->opaque = !(flags & IMAGE_MIPMAPPED) && EveryPixelOpaque(*p);
    frame->flags = flags & kTextureFlags;
    frame->uscale = 1.0f / float(tw), frame->vscale = 1.0f / float(th);
    frame->u1 = float(w) * frame->uscale, frame->v1 = float(h) * frame->vscale;
    frame->seq = GraphicsGeneration();
    frame->driver = this;
    return frame;
}
