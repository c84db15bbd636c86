// The demo's pictures: overlays with text, the glyph strip, and the textures materials sample.
// Pictures are stored top row first, as the renderer uploads them.
#include "content/contentFiles.h"
#include "content/meshBuilder.h"
#include "content/picture.h"

#include <cmath>
#include <cstdio>
#include <functional>

namespace qvr::content {

namespace {

constexpr float kPi = 3.14159265358979f;

// The palette: cold night blues and warm lantern light.
const cColour kLantern = {1.0f, 0.76f, 0.42f, 1.0f};
const cColour kLanternGlow = {1.0f, 0.55f, 0.2f, 1.0f};
const cColour kFrost = {0.72f, 0.86f, 1.0f, 1.0f};
const cColour kNight = {0.03f, 0.05f, 0.11f, 1.0f};

cColour withAlpha(cColour c, float a)
{
    c[3] = a;
    return c;
}

float smooth(float t)
{
    return t * t * (3 - 2 * t);
}

// Periodic value noise on a lattice of `cells` per side (tiles seamlessly), 0..1.
float latticeValue(int x, int y, int z, uint32_t seed)
{
    uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u +
                 static_cast<uint32_t>(z) * 2147483647u + seed * 144665u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return static_cast<float>((h ^ (h >> 16)) & 0xFFFF) / 65535.0f;
}

float tileNoise(float u, float v, float w, int cells, uint32_t seed)
{
    const float x = u * cells, y = v * cells, z = w * cells;
    const int x0 = static_cast<int>(std::floor(x)), y0 = static_cast<int>(std::floor(y)),
              z0 = static_cast<int>(std::floor(z));
    const float fx = smooth(x - x0), fy = smooth(y - y0), fz = smooth(z - z0);
    const auto at = [&](int i, int j, int k) {
        return latticeValue(((x0 + i) % cells + cells) % cells, ((y0 + j) % cells + cells) % cells,
                            ((z0 + k) % cells + cells) % cells, seed);
    };
    float value = 0.0f;
    for (int k = 0; k < 2; ++k) {
        const float a = at(0, 0, k) + (at(1, 0, k) - at(0, 0, k)) * fx;
        const float b = at(0, 1, k) + (at(1, 1, k) - at(0, 1, k)) * fx;
        value += (k ? fz : 1 - fz) * (a + (b - a) * fy);
    }
    return value;
}

// Fractal sum of tileable noise, 0..1.
float fractal(float u, float v, float w, int cells, int octaves, uint32_t seed)
{
    float sum = 0.0f, weight = 0.0f, amplitude = 1.0f;
    for (int o = 0; o < octaves; ++o) {
        sum += amplitude * tileNoise(u, v, w, cells << o, seed + static_cast<uint32_t>(o));
        weight += amplitude;
        amplitude *= 0.5f;
    }
    return sum / weight;
}

// An overlay: lines of text with a soft glow, over a light vignette, transparent elsewhere.
struct cTextLine {
    std::string text;
    int size;
    int baseline;
    cColour colour;
    bool bold;
    int spacing;
};

cPicture overlay(const std::vector<cTextLine>& lines, float vignette)
{
    cPicture picture(800, 600);
    if (vignette > 0.0f) {
        picture.vignette(vignette);
    }
    cFontRaster bold(kFontBold), regular(kFontRegular);
    for (const cTextLine& line : lines) {
        cFontRaster& font = line.bold ? bold : regular;
        int size = line.size;
        while (size > 8 && font.measure(line.text, size, line.spacing) > 720) {
            size -= 2;  // keep a margin on both sides
        }
        const cMask mask = textLine(font, line.text, size, 800, 600, line.baseline, line.spacing);
        const cColour glow = line.colour[0] > line.colour[2] ? kLanternGlow : cColour{0.3f, 0.5f, 1.0f, 1.0f};
        picture.paint(blurred(mask, size / 5 + 2), 0, 0, withAlpha(glow, 0.55f));
        picture.paint(mask, 0, 0, line.colour);
    }
    return picture;
}

cPicture glyphStrip()
{
    constexpr int kCell = 64;
    cPicture strip(kCell * kGlyphStripCells, kCell, {0.07f, 0.09f, 0.15f, 1.0f});
    cFontRaster font(kFontBold);
    for (int cell = 0; cell < kGlyphStripCells; ++cell) {
        const std::string text(1, static_cast<char>(32 + cell));
        cMask mask = textLine(font, text, 44, kCell, kCell, 48);
        strip.paint(blurred(mask, 3), cell * kCell, 0, withAlpha(kLanternGlow, 0.35f));
        strip.paint(mask, cell * kCell, 0, {0.86f, 0.93f, 1.0f, 1.0f});
    }
    return strip;
}

// Water ripples: normals of a tileable height field of a few waves, encoded 0..1.
cPicture waterNormals()
{
    cPicture picture(256, 256);
    const auto height = [](float u, float v) {
        return 0.5f * std::sin(2 * kPi * (3 * u + 2 * v)) + 0.3f * std::sin(2 * kPi * (-5 * u + 4 * v)) +
               0.2f * std::sin(2 * kPi * (7 * u - 9 * v)) + 0.6f * (fractal(u, v, 0, 8, 3, 7u) - 0.5f);
    };
    const float e = 1.0f / 256;
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x) {
            const float u = x * e, v = y * e;
            const float dx = (height(u + e, v) - height(u - e, v)) * 4.0f;
            const float dy = (height(u, v + e) - height(u, v - e)) * 4.0f;
            const cVec3f n = cVec3f(-dx, -dy, 1.0f).normalized();
            picture.at(x, y) = {n.x * 0.5f + 0.5f, n.y * 0.5f + 0.5f, n.z * 0.5f + 0.5f, 1.0f};
        }
    }
    return picture;
}

// Tileable noise, a different scale in each channel.
cPicture noise(int cells, uint32_t seed)
{
    cPicture picture(256, 256);
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x) {
            const float u = x / 256.0f, v = y / 256.0f;
            picture.at(x, y) = {fractal(u, v, 0, cells, 4, seed), fractal(u, v, 0, cells * 2, 3, seed + 11),
                                fractal(u, v, 0, cells * 4, 2, seed + 23), 1.0f};
        }
    }
    return picture;
}

// A 32^3 noise volume for a 3D texture. The renderer uploads the image bytes as they are, slice
// after slice, so image row z holds slice z: its 32 rows of 32 texels side by side.
cPicture noiseVolume()
{
    constexpr int kSide = 32;
    cPicture picture(kSide * kSide, kSide);
    for (int z = 0; z < kSide; ++z) {
        for (int y = 0; y < kSide; ++y) {
            for (int x = 0; x < kSide; ++x) {
                const float u = x / float(kSide), v = y / float(kSide), w = z / float(kSide);
                picture.at(y * kSide + x, z) = {fractal(u, v, w, 4, 3, 31u), fractal(u, v, w, 8, 2, 47u),
                                                tileNoise(u, v, w, 16, 59u), 1.0f};
            }
        }
    }
    return picture;
}

// One face of the night sky cube: cold gradient by height, a warm haze at the horizon, stars.
cPicture skyFace(int face)
{
    constexpr int kSize = 256;
    cPicture picture(kSize, kSize);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const float a = (x + 0.5f) / kSize * 2 - 1, b = (y + 0.5f) / kSize * 2 - 1;
            // Direction per face in the renderer's face order: +z, -y, -z, -x, +x, +y.
            const cVec3f dirs[6] = {{a, -b, 1}, {a, -1, b}, {-a, -b, -1}, {-1, -b, a}, {1, -b, -a}, {a, 1, -b}};
            const cVec3f d = dirs[face].normalized();
            const float up = std::max(d.y, 0.0f);
            const float haze = std::exp(-std::fabs(d.y) * 9.0f);
            cColour c;
            for (size_t k = 0; k < 3; ++k) {
                c[k] = kNight[k] * (1.0f - up) + cColour{0.0f, 0.01f, 0.04f, 1}[k] * up + kLanternGlow[k] * haze * 0.35f;
            }
            const float star = latticeValue(x, y, face, 991u);
            if (d.y > 0.05f && star > 0.9975f) {
                const float s = (star - 0.9975f) / 0.0025f;
                for (size_t k = 0; k < 3; ++k) {
                    c[k] += kFrost[k] * s;
                }
            }
            c[3] = 1.0f;
            picture.at(x, y) = c;
        }
    }
    return picture;
}

// A tower facade: a grid of windows, some lit warm.
cPicture facade()
{
    cPicture picture(256, 256, {0.09f, 0.1f, 0.13f, 1.0f});
    for (int row = 0; row < 16; ++row) {
        for (int col = 0; col < 8; ++col) {
            const float lit = latticeValue(col, row, 0, 73u);
            const cColour window = lit > 0.55f ? cColour{1.0f * lit, 0.75f * lit, 0.4f * lit, 1.0f}
                                               : cColour{0.04f, 0.07f, 0.12f, 1.0f};
            for (int y = row * 16 + 4; y < row * 16 + 13; ++y) {
                for (int x = col * 32 + 6; x < col * 32 + 26; ++x) {
                    picture.at(x, y) = window;
                }
            }
        }
    }
    return picture;
}

// A 64 x 64 sprite: colour with alpha from shape(u, v) over -1..1.
cPicture sprite(const cColour& colour, const std::function<float(float, float)>& shape)
{
    cPicture picture(64, 64);
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            const float u = (x + 0.5f) / 32 - 1, v = (y + 0.5f) / 32 - 1;
            picture.at(x, y) = withAlpha(colour, std::clamp(shape(u, v), 0.0f, 1.0f));
        }
    }
    return picture;
}

cPicture paletteRamp(const cColour& from, const cColour& middle, const cColour& to)
{
    cPicture picture(256, 4);
    for (int x = 0; x < 256; ++x) {
        const float t = x / 255.0f;
        const cColour& a = t < 0.5f ? from : middle;
        const cColour& b = t < 0.5f ? middle : to;
        const float s = t < 0.5f ? t * 2 : t * 2 - 1;
        for (int y = 0; y < 4; ++y) {
            for (size_t k = 0; k < 4; ++k) {
                picture.at(x, y)[k] = a[k] + (b[k] - a[k]) * s;
            }
        }
    }
    return picture;
}

cPicture pattern(int size, const std::function<float(float, float)>& value)
{
    cPicture picture(size, size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const float g = std::clamp(value((x + 0.5f) / size, (y + 0.5f) / size), 0.0f, 1.0f);
            picture.at(x, y) = {g, g, g, 1.0f};
        }
    }
    return picture;
}

} // namespace

bool writePictures(const std::string& root, std::vector<cPictureEntry>& written)
{
    bool ok = true;
    const auto save = [&](const std::string& name, const cPicture& picture, bool alpha, const std::string& purpose) {
        const std::string path = "Assets/Tex/" + name + ".png";
        if (!picture.writePng(root + "/" + path, alpha)) {
            std::fprintf(stderr, "content: cannot write %s/%s\n", root.c_str(), path.c_str());
            ok = false;
        }
        written.push_back({path, purpose});
    };
    const cColour title = kLantern, cold = kFrost;
    save("title", overlay({{"LANTERNS ON THE QUARRY", 50, 300, title, true, 3},
                           {"a Quorvane demo", 22, 346, cold, false, 2}}, 0.45f),
         true, "overlay: title over the opening scene");
    save("glyphstrip", glyphStrip(), false, "title city: 66 glyph cells of 64 x 64 from the space character");
    save("waternormal", waterNormals(), false, "water ripple normal map (tileable)");
    save("noise", noise(4, 3u), false, "tileable noise, three scales in R, G, B");
    save("noisevolume", noiseVolume(), false, "3D noise 32 x 32 x 32: image row z is slice z");
    const char* faces[6] = {"skypz", "skyny", "skynz", "skynx", "skypx", "skypy"};
    for (int f = 0; f < 6; ++f) {
        save(faces[f], skyFace(f), false, std::string("night sky cube face ") + faces[f] + " (cube face id " + std::to_string(f) + ")");
    }
    save("facade", facade(), false, "block facade with lit windows");
    save("particle", sprite(kFrost, [](float u, float v) { return std::exp(-(u * u + v * v) * 4.0f); }),
         true, "soft round particle sprite");
    save("rain", sprite(kFrost, [](float u, float v) { return std::exp(-u * u * 60.0f) * (1.0f - std::fabs(v)); }),
         true, "rain streak sprite");
    save("splash", sprite(kFrost, [](float u, float v) {
             const float r = std::sqrt(u * u + v * v);
             return std::exp(-(r - 0.6f) * (r - 0.6f) * 40.0f) + 0.4f * std::exp(-r * r * 12.0f);
         }), true, "splash ring sprite");
    save("letter", pattern(128, [](float, float v) { return 0.55f + 0.45f * std::exp(-(v - 0.3f) * (v - 0.3f) * 30.0f); }),
         false, "letter surface: a light band across brushed grey");
    const cColour deep = {0.02f, 0.04f, 0.1f, 1}, ice = {0.6f, 0.85f, 1.0f, 1}, warm = {1.0f, 0.6f, 0.25f, 1};
    const char* scenes[6] = {"city", "sculpture", "extrusion", "ice", "corridor", "titlecity"};
    const cColour middles[6] = {warm, ice, {0.9f, 0.3f, 0.4f, 1}, ice, {0.3f, 0.9f, 0.8f, 1}, warm};
    for (int s = 0; s < 6; ++s) {
        save(std::string("ramp") + scenes[s], paletteRamp(deep, middles[s], {1, 1, 1, 1}), false,
             std::string("palette ramp of the ") + scenes[s] + " scene");
    }
    for (int c = 0; c < 4; ++c) {
        save("clouds" + std::to_string(c + 1), noise(2 << c, 101u + static_cast<uint32_t>(c)), false,
             "tileable cloud noise, scale " + std::to_string(2 << c));
    }
    save("glowwarm", sprite(kLantern, [](float u, float v) { return std::exp(-(u * u + v * v) * 2.5f); }), true, "warm glow disc");
    save("glowcold", sprite(kFrost, [](float u, float v) { return std::exp(-(u * u + v * v) * 2.5f); }), true, "cold glow disc");
    save("stripesh", pattern(64, [](float, float v) { return 0.5f + 0.5f * std::sin(v * 16 * kPi); }), false, "horizontal stripes");
    save("stripesv", pattern(64, [](float u, float) { return 0.5f + 0.5f * std::sin(u * 16 * kPi); }), false, "vertical stripes");
    save("dots", pattern(64, [](float u, float v) {
             const float du = std::fmod(u * 8, 1.0f) - 0.5f, dv = std::fmod(v * 8, 1.0f) - 0.5f;
             return du * du + dv * dv < 0.09f ? 1.0f : 0.0f;
         }), false, "dot grid");
    save("grid", pattern(64, [](float u, float v) {
             return (std::fmod(u * 8, 1.0f) < 0.08f || std::fmod(v * 8, 1.0f) < 0.08f) ? 1.0f : 0.0f;
         }), false, "line grid");
    save("black", pattern(4, [](float, float) { return 0.0f; }), false, "black");
    save("white", pattern(4, [](float, float) { return 1.0f; }), false, "white");
    // Indices 34..38: the overlays the later scenes name.
    save("sculpture", overlay({{"FIGURES IN COLD LIGHT", 40, 520, cold, true, 4}}, 0.0f), true,
         "overlay: the sculpture scene");
    save("credits1", overlay({{"code", 26, 270, cold, false, 6}, {"the Quorvane engine", 46, 330, title, true, 2}}, 0.3f),
         true, "overlay: first closing credit");
    save("credits2", overlay({{"music", 26, 270, cold, false, 6}, {"tideglass", 46, 330, title, true, 2}}, 0.3f),
         true, "overlay: second closing credit");
    save("credits3", overlay({{"every mesh, picture and note", 38, 290, title, true, 1},
                              {"made from source", 38, 340, title, true, 1}}, 0.3f),
         true, "overlay: third closing credit");
    save("closing", overlay({{"thank you for watching", 30, 280, cold, false, 3},
                             {"LANTERNS ON THE QUARRY", 40, 340, title, true, 3}}, 0.5f),
         true, "overlay: closing picture of the last scene");
    return ok;
}

} // namespace qvr::content
