// FreeType rendering of text into coverage masks.
#include "content/fontRaster.h"

#include <algorithm>

namespace qvr::content {

cFontRaster::cFontRaster(const char* path)
{
    if (FT_Init_FreeType(&mLibrary) != 0) {
        mLibrary = nullptr;
        return;
    }
    if (FT_New_Face(mLibrary, path, 0, &mFace) != 0) {
        mFace = nullptr;
    }
}

cFontRaster::~cFontRaster()
{
    if (mFace) {
        FT_Done_Face(mFace);
    }
    if (mLibrary) {
        FT_Done_FreeType(mLibrary);
    }
}

int cFontRaster::measure(const std::string& text, int pixelSize, int spacing)
{
    if (!mFace) {
        return 0;
    }
    FT_Set_Pixel_Sizes(mFace, 0, static_cast<FT_UInt>(pixelSize));
    int width = 0;
    for (unsigned char c : text) {
        if (FT_Load_Char(mFace, c, FT_LOAD_DEFAULT) == 0) {
            width += static_cast<int>(mFace->glyph->advance.x >> 6) + spacing;
        }
    }
    return width - (text.empty() ? 0 : spacing);
}

void cFontRaster::draw(cMask& mask, const std::string& text, int pixelSize, int x, int y, int spacing)
{
    if (!mFace) {
        return;
    }
    FT_Set_Pixel_Sizes(mFace, 0, static_cast<FT_UInt>(pixelSize));
    int pen = x;
    for (unsigned char c : text) {
        if (FT_Load_Char(mFace, c, FT_LOAD_RENDER) != 0) {
            continue;
        }
        const FT_GlyphSlot g = mFace->glyph;
        for (unsigned row = 0; row < g->bitmap.rows; ++row) {
            for (unsigned col = 0; col < g->bitmap.width; ++col) {
                const int px = pen + g->bitmap_left + static_cast<int>(col);
                const int py = y - g->bitmap_top + static_cast<int>(row);
                if (px < 0 || py < 0 || px >= mask.width || py >= mask.height) {
                    continue;
                }
                float& cell = mask.coverage[static_cast<size_t>(py * mask.width + px)];
                const float value = g->bitmap.buffer[row * static_cast<unsigned>(g->bitmap.pitch) + col] / 255.0f;
                cell = std::min(1.0f, cell + value);
            }
        }
        pen += static_cast<int>(g->advance.x >> 6) + spacing;
    }
}

cMask cFontRaster::glyph(char c, int pixelSize, int& left, int& top, int& advance)
{
    cMask mask;
    left = top = advance = 0;
    if (!mFace) {
        return mask;
    }
    FT_Set_Pixel_Sizes(mFace, 0, static_cast<FT_UInt>(pixelSize));
    if (FT_Load_Char(mFace, static_cast<unsigned char>(c), FT_LOAD_RENDER) != 0) {
        return mask;
    }
    const FT_GlyphSlot g = mFace->glyph;
    mask.width = static_cast<int>(g->bitmap.width);
    mask.height = static_cast<int>(g->bitmap.rows);
    mask.coverage.resize(static_cast<size_t>(mask.width * mask.height));
    for (int row = 0; row < mask.height; ++row) {
        for (int col = 0; col < mask.width; ++col) {
            mask.coverage[static_cast<size_t>(row * mask.width + col)] =
                g->bitmap.buffer[row * g->bitmap.pitch + col] / 255.0f;
        }
    }
    left = g->bitmap_left;
    top = g->bitmap_top;
    advance = static_cast<int>(g->advance.x >> 6);
    return mask;
}

} // namespace qvr::content
