// The browser build has no PNG library: a PNG the tools are asked for is an error there, and
// the content is written as bare RGBA (orbitrants-dump --raw) instead.
#include "support/png_file.hpp"

bool WritePngFile(const std::filesystem::path& path, const TPixmap&, std::string* error) {
    if (error) *error = path.string() + ": PNG files are written by the desktop build only";
    return false;
}
