// Shared helpers for the engine tests.
#include "tests/support/testSupport.h"

#include "resources/pngWriter.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>


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
    if (pixels.size() < static_cast<size_t>(width) * height * channels ||
        !writePngFile(path, width, height, channels, pixels.data())) {
        throw std::runtime_error("cannot write " + path);
    }
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
