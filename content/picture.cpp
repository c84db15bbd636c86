// Float canvas, blur and PNG output.
#include "content/picture.h"

#include "resources/pngWriter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace qvr::content {

cPicture::cPicture(int width, int height, const cColour& fill)
    : mWidth(width), mHeight(height), mPixels(static_cast<size_t>(width * height), fill)
{
}

void cPicture::verticalGradient(const cColour& top, const cColour& bottom)
{
    for (int y = 0; y < mHeight; ++y) {
        const float t = mHeight > 1 ? static_cast<float>(y) / (mHeight - 1) : 0.0f;
        cColour c;
        for (size_t k = 0; k < 4; ++k) {
            c[k] = top[k] + (bottom[k] - top[k]) * t;
        }
        for (int x = 0; x < mWidth; ++x) {
            at(x, y) = c;
        }
    }
}

void cPicture::paint(const cMask& mask, int x0, int y0, const cColour& colour)
{
    for (int y = 0; y < mask.height; ++y) {
        for (int x = 0; x < mask.width; ++x) {
            const int px = x0 + x, py = y0 + y;
            if (px < 0 || py < 0 || px >= mWidth || py >= mHeight) {
                continue;
            }
            const float a = std::clamp(mask.at(x, y) * colour[3], 0.0f, 1.0f);
            if (a <= 0.0f) {
                continue;
            }
            cColour& d = at(px, py);
            // Straight-alpha "over".
            const float outA = a + d[3] * (1.0f - a);
            for (size_t k = 0; k < 3; ++k) {
                d[k] = outA > 0.0f ? (colour[k] * a + d[k] * d[3] * (1.0f - a)) / outA : 0.0f;
            }
            d[3] = outA;
        }
    }
}

void cPicture::vignette(float strength)
{
    cMask mask;
    mask.width = mWidth;
    mask.height = mHeight;
    mask.coverage.resize(static_cast<size_t>(mWidth * mHeight));
    for (int y = 0; y < mHeight; ++y) {
        for (int x = 0; x < mWidth; ++x) {
            const float dx = (x + 0.5f) / mWidth * 2 - 1, dy = (y + 0.5f) / mHeight * 2 - 1;
            const float r = std::sqrt(dx * dx + dy * dy) / std::sqrt(2.0f);
            mask.coverage[static_cast<size_t>(y * mWidth + x)] = std::pow(r, 2.5f);
        }
    }
    paint(mask, 0, 0, {0, 0, 0, strength});
}

bool cPicture::writePng(const std::string& path, bool withAlpha) const
{
    const int channels = withAlpha ? 4 : 3;
    std::vector<uint8_t> bytes(static_cast<size_t>(mWidth) * mHeight * channels);
    size_t next = 0;
    for (int y = 0; y < mHeight; ++y) {
        for (int x = 0; x < mWidth; ++x) {
            for (int k = 0; k < channels; ++k) {
                const float v = std::clamp(at(x, y)[static_cast<size_t>(k)], 0.0f, 1.0f);
                bytes[next++] = static_cast<uint8_t>(std::lround(v * 255.0f));
            }
        }
    }
    return qvr::writePngFile(path, mWidth, mHeight, channels, bytes.data());
}

namespace {

// One horizontal and one vertical box pass.
cMask boxPass(const cMask& in, int radius)
{
    cMask tmp = in, out = in;
    const float scale = 1.0f / (2 * radius + 1);
    for (int y = 0; y < in.height; ++y) {
        for (int x = 0; x < in.width; ++x) {
            float sum = 0.0f;
            for (int k = -radius; k <= radius; ++k) {
                sum += in.at(x + k, y);
            }
            tmp.coverage[static_cast<size_t>(y * in.width + x)] = sum * scale;
        }
    }
    for (int y = 0; y < in.height; ++y) {
        for (int x = 0; x < in.width; ++x) {
            float sum = 0.0f;
            for (int k = -radius; k <= radius; ++k) {
                sum += tmp.at(x, y + k);
            }
            out.coverage[static_cast<size_t>(y * in.width + x)] = sum * scale;
        }
    }
    return out;
}

} // namespace

cMask blurred(const cMask& mask, int radius)
{
    return boxPass(boxPass(boxPass(mask, radius), radius), radius);
}

cMask textLine(cFontRaster& font, const std::string& text, int pixelSize, int width, int height,
               int baseline, int spacing)
{
    cMask mask;
    mask.width = width;
    mask.height = height;
    mask.coverage.assign(static_cast<size_t>(width * height), 0.0f);
    const int textWidth = font.measure(text, pixelSize, spacing);
    font.draw(mask, text, pixelSize, (width - textWidth) / 2, baseline, spacing);
    return mask;
}

} // namespace qvr::content
