// Text and glyphs from a free font through FreeType, for the generated pictures and the charset.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdint>
#include <string>
#include <vector>

namespace qvr::content {

//! The fonts the content uses (Debian's fonts-dejavu-core).
constexpr const char* kFontRegular = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
constexpr const char* kFontBold = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";

//! A coverage mask (0..1 per pixel), row 0 at the top.
struct cMask {
    int width = 0;
    int height = 0;
    std::vector<float> coverage;
    float at(int x, int y) const
    {
        return (x < 0 || y < 0 || x >= width || y >= height) ? 0.0f : coverage[static_cast<size_t>(y * width + x)];
    }
};

class cFontRaster {
public:
    //! Opens a font file; ok() says whether it worked.
    explicit cFontRaster(const char* path);
    ~cFontRaster();
    cFontRaster(const cFontRaster&) = delete;
    cFontRaster& operator=(const cFontRaster&) = delete;

    bool ok() const { return mFace != nullptr; }
    //! Width in pixels of text at a pixel size (with extra letter spacing in pixels).
    int measure(const std::string& text, int pixelSize, int spacing = 0);
    //! Adds the coverage of text to mask with its baseline's left end at (x, y).
    void draw(cMask& mask, const std::string& text, int pixelSize, int x, int y, int spacing = 0);
    //! The coverage bitmap of one character at a pixel size, with where it sits relative to the
    //! pen: left offset, top above the baseline, and the pen advance.
    cMask glyph(char c, int pixelSize, int& left, int& top, int& advance);

private:
    FT_Library mLibrary = nullptr;
    FT_Face mFace = nullptr;
};

} // namespace qvr::content
