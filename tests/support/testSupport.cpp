// Shared helpers for the engine tests.
#include "tests/support/testSupport.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include <png.h>

#include <cstdio>
#include <stdlib.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace qvr::test {

cScratchDir::cScratchDir(bool enter)
{
    std::string pattern = (fs::temp_directory_path() / "qvr-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        throw std::runtime_error("cannot create a scratch directory");
    }
    mPath = pattern;
    if (enter) {
        mPreviousDir = fs::current_path().string();
        fs::current_path(mPath);
    }
}

cScratchDir::~cScratchDir()
{
    std::error_code ignored;
    if (!mPreviousDir.empty()) {
        fs::current_path(mPreviousDir, ignored);
    }
    fs::remove_all(mPath, ignored);
}

std::string cScratchDir::file(const std::string& name) const
{
    return mPath + "/" + name;
}

void writeFile(const std::string& path, const std::string& bytes)
{
    const fs::path parent = fs::path(path).parent_path();
    if (!parent.empty()) {
        fs::create_directories(parent);
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void writePng(const std::string& path, int width, int height, int channels,
              const std::vector<unsigned char>& pixels)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        throw std::runtime_error("cannot write " + path);
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, file);
    const int type = channels == 1 ? PNG_COLOR_TYPE_GRAY
                                   : (channels == 3 ? PNG_COLOR_TYPE_RGB : PNG_COLOR_TYPE_RGBA);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8, type,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) {
        png_write_row(png, &pixels[static_cast<size_t>(y * width * channels)]);
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
}

void writeSolidPng(const std::string& path, int width, int height, unsigned char r,
                   unsigned char g, unsigned char b)
{
    std::vector<unsigned char> pixels;
    for (int i = 0; i < width * height; ++i) {
        pixels.insert(pixels.end(), {r, g, b});
    }
    writePng(path, width, height, 3, pixels);
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

} // namespace qvr::test
