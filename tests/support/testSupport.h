// Shared helpers for the engine tests: scratch directories and small files.
#pragma once

#include <string>
#include <vector>

namespace qvr::test {

//! A fresh directory under the system's temporary directory, removed with its contents when the
//! object goes. With enter = true the working directory moves into it until then.
class cScratchDir {
public:
    explicit cScratchDir(bool enter = false);
    ~cScratchDir();
    cScratchDir(const cScratchDir&) = delete;
    cScratchDir& operator=(const cScratchDir&) = delete;

    const std::string& path() const { return mPath; }
    //! path() + "/" + name.
    std::string file(const std::string& name) const;

private:
    std::string mPath;
    std::string mPreviousDir;
};

//! Path of a sample file kept in the source tree, relative to tests/ ("states/data/full.mat").
inline std::string sourcePath(const std::string& relative)
{
    return std::string(QVR_TEST_SOURCE_DIR) + "/" + relative;
}

//! Writes bytes to a file, replacing it (and creating missing parent directories).
void writeFile(const std::string& path, const std::string& bytes);
//! Writes an 8-bit PNG with 1 (grey), 3 (RGB) or 4 (RGBA) channels from rows top first.
void writePng(const std::string& path, int width, int height, int channels,
              const std::vector<unsigned char>& pixels);
//! A PNG of one 8-bit RGB colour.
void writeSolidPng(const std::string& path, int width, int height, unsigned char r,
                   unsigned char g, unsigned char b);

//! The whole content of a file; empty when it cannot be read.
std::string readFile(const std::string& path);

} // namespace qvr::test
