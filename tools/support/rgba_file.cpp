// Bare RGBA rows into a whole-or-nothing file.
#include "support/rgba_file.hpp"

#include <cstring>
#include <vector>

#include "support/safe_file.hpp"

const TPixmap* AsRgba32(const TPixmap& source, PixmapPtr* keep) {
    if (source.format == PIXFMT_RGBA32) return &source;
    *keep = source.Convert(PIXFMT_RGBA32);
    return keep->get();
}

bool WriteRgbaFile(const std::filesystem::path& path, const TPixmap& source, std::string* error) {
    PixmapPtr converted;
    const TPixmap* pix = AsRgba32(source, &converted);
    if (!pix) {
        if (error) *error = path.string() + ": no memory for the conversion";
        return false;
    }
    const size_t row = size_t(pix->width) * 4;
    std::vector<uint8_t> bytes(row * size_t(pix->height));
    for (int y = 0; y < pix->height; ++y)
        std::memcpy(bytes.data() + row * size_t(y), pix->PixelPtr(0, y), row);
    return WriteWholeFile(path.string(), bytes.data(), bytes.size(), error);
}
