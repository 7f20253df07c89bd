// Writing a pixmap as bare RGBA bytes, row after row with no padding: the form two builds'
// content is compared in where one of them has no PNG library (the browser build).
#pragma once

#include <filesystem>
#include <string>

#include "platform/draw/draw.hpp"

// `source` itself when it is RGBA32, else its RGBA32 copy, held in `*keep`; null when there is
// no memory for the copy.
const TPixmap* AsRgba32(const TPixmap& source, PixmapPtr* keep);

// Writes `pixmap` (converted to RGBA32 first when it has another format) to `path` whole or
// not at all; false with "PATH: reason" in `error`.
bool WriteRgbaFile(const std::filesystem::path& path, const TPixmap& pixmap, std::string* error);
