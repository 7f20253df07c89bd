// Writing a pixmap as an 8-bit RGBA PNG file with straight alpha: exactly the bytes of the
// pixmap (converted to RGBA32 first when it has another format). Depends on libpng.
#pragma once

#include <filesystem>

#include "platform/draw/draw.hpp"

// Writes `pixmap` to `path`; false when the file cannot be written.
bool WritePngFile(const std::filesystem::path& path, const TPixmap& pixmap);
