// Pictures for the content generator: a float RGBA canvas with the few operations the demo's
// images need, written as 8-bit PNG.
#pragma once

#include "content/fontRaster.h"

#include <array>
#include <string>
#include <vector>

namespace qvr::content {

using cColour = std::array<float, 4>;

class cPicture {
public:
    cPicture(int width, int height, const cColour& fill = {0, 0, 0, 0});

    int width() const { return mWidth; }
    int height() const { return mHeight; }
    cColour& at(int x, int y) { return mPixels[static_cast<size_t>(y * mWidth + x)]; }
    const cColour& at(int x, int y) const { return mPixels[static_cast<size_t>(y * mWidth + x)]; }

    //! Top colour at row 0 to bottom colour at the last row.
    void verticalGradient(const cColour& top, const cColour& bottom);
    //! Paints colour over the picture with the mask's coverage (times alpha) at offset (x, y).
    void paint(const cMask& mask, int x, int y, const cColour& colour);
    //! Darkens alpha-transparent pictures towards the edges with black of the given strength.
    void vignette(float strength);

    //! Writes an 8-bit PNG, RGBA or RGB. False when the file cannot be written.
    bool writePng(const std::string& path, bool withAlpha) const;

private:
    int mWidth;
    int mHeight;
    std::vector<cColour> mPixels;
};

//! The mask spread out by a box blur of the given radius (repeated three times: nearly Gaussian).
cMask blurred(const cMask& mask, int radius);

//! A text line centred horizontally at baseline y, drawn into a fresh mask of the picture's size.
cMask textLine(cFontRaster& font, const std::string& text, int pixelSize, int width, int height,
               int baseline, int spacing = 0);

} // namespace qvr::content
