// PNG writing with a libpng recovery point, so a failing write reports instead of aborting.
#include "resources/pngWriter.h"

#include <png.h>

#include <cstdio>

namespace qvr {

namespace {

int colourType(int32_t channels)
{
    switch (channels) {
    case 1:
        return PNG_COLOR_TYPE_GRAY;
    case 3:
        return PNG_COLOR_TYPE_RGB;
    case 4:
        return PNG_COLOR_TYPE_RGBA;
    default:
        return -1;
    }
}

// Everything after opening the file; false when libpng reports an error.
bool writeRows(FILE* file, int32_t width, int32_t height, int32_t channels, const uint8_t* pixels)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 colourType(channels), PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    const size_t stride = static_cast<size_t>(width) * static_cast<size_t>(channels);
    for (int32_t y = 0; y < height; ++y) {
        png_write_row(png, pixels + stride * static_cast<size_t>(y));
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

bool writePngFile(const std::string& path, int32_t width, int32_t height, int32_t channels,
                  const uint8_t* pixels)
{
    if (width <= 0 || height <= 0 || colourType(channels) < 0 || !pixels) {
        std::fprintf(stderr, "writePngFile: %s: no image to write (%dx%d, %d channels)\n", path.c_str(),
                     static_cast<int>(width), static_cast<int>(height), static_cast<int>(channels));
        return false;
    }
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        std::fprintf(stderr, "writePngFile: cannot open %s for writing\n", path.c_str());
        return false;
    }
    const bool written = writeRows(file, width, height, channels, pixels);
    if (std::fclose(file) != 0 || !written) {
        std::fprintf(stderr, "writePngFile: could not write %s\n", path.c_str());
        std::remove(path.c_str());
        return false;
    }
    return true;
}

} // namespace qvr
