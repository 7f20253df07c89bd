// PNG writing through libpng's write structures.
#include "support/png_file.hpp"

#include <png.h>

#include <cstdio>

namespace {
// Encodes `height` rows of RGBA bytes; false on failure. Plain data only here, because libpng
// reports errors by longjmp.
bool EncodePng(FILE* file, const uint8_t* pixels, int width, int height, int pitch) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
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
}  // namespace

bool WritePngFile(const std::filesystem::path& path, const TPixmap& source) {
    PixmapPtr converted;
    const TPixmap* pix = &source;
    if (source.format != PIXFMT_RGBA32) {
        converted = source.Convert(PIXFMT_RGBA32);
        pix = converted.get();
    }
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const bool encoded = EncodePng(file, pix->pixels, pix->width, pix->height, pix->pitch);
    return std::fclose(file) == 0 && encoded;
}
