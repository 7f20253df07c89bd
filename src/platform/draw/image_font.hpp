// TImageFont: a bitmap font whose glyphs are images, and the built-in 8 x 16 font.
// Depends on image.hpp.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/draw/image.hpp"

class TImageFont {
  public:
    std::vector<ImagePtr> glyphs;  // glyph g is glyphs[g]
    std::vector<float> offsets;    // x, y offset per glyph
    float advance = 8.0f;
    int first_char = 32;

    // The glyph index of UTF-16 unit `c`, or -1 when the font has none.
    int CharToGlyph(int c) const;
    // Draws `text` with the pen starting at (x, y) and moving along the matrix (ix, iy, jx, jy).
    void Draw(const std::string& text, float x, float y, float ix, float iy, float jx,
              float jy) const;
};

// The shared built-in font (96 glyphs for codes 32..127), built on first use.
std::shared_ptr<TImageFont> BuiltinFont();
// The 1536 bytes of the built-in font: 16 scan lines of 96 bytes, lowest bit leftmost.
const uint8_t* BuiltinFontSheet();
// A font of the 8 x 16 glyphs of a sheet in that layout.
std::shared_ptr<TImageFont> FontFromSheet(const uint8_t* sheet);
