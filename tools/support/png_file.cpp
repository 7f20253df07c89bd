// PNG writing through libpng's write structures, into a whole-or-nothing file.
#include "support/png_file.hpp"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "support/rgba_file.hpp"
#include "support/safe_file.hpp"

namespace {
// The caller reports the failure with the file's name; libpng's own line would only repeat it.
[[noreturn]] void QuietError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

// Encodes `height` rows of RGBA bytes; false on failure. Plain data only here, because libpng
// reports errors by longjmp.
bool EncodePng(FILE* file, const uint8_t* pixels, int width, int height, int pitch) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, QuietError, nullptr);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y)
        png_write_row(png, pixels + static_cast<size_t>(y) * pitch);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

bool Report(const std::string& reason, std::string* error) {
    if (error) *error = reason;
    return false;
}
}  // namespace

bool WritePngFile(const std::filesystem::path& path, const TPixmap& source, std::string* error) {
    PixmapPtr converted;
    const TPixmap* pix = AsRgba32(source, &converted);
    if (!pix) return Report(path.string() + ": no memory for the conversion", error);
    TSafeFile file;
    if (!file.Open(path.string())) return Report(file.Error(), error);
    errno = 0;
    if (!EncodePng(file.Stream(), pix->pixels, pix->width, pix->height, pix->pitch)) {
        // libpng gives up on a failed write; the reason is the write's.
        const std::string reason = errno != 0 ? std::strerror(errno) : "cannot encode PNG";
        file.Abandon();
        return Report(path.string() + ": " + reason, error);
    }
    if (!file.Commit()) return Report(file.Error(), error);
    return true;
}
