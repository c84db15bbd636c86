// PNG decoding through libpng, without any pixel transform.
#pragma once

#include "resources/cImageLoader.h"

#include <png.h>

#include <cstdio>

namespace qvr {

//! Result codes of cPngLoader::readPng.
enum ePngStatus : int32_t {
    kPngDecoded = 0,
    kPngCannotOpen = 1,
    kPngNoSignature = 2,
    kPngNoReadStruct = 3,
    kPngNoInfoStruct = 4,
    kPngNoEndInfoStruct = 5,
    kPngCorrupt = 6,  //!< libpng reported an error while decoding (truncated or corrupt data)
};

class cPngLoader : public cImageLoader {
public:
    cPngLoader() = default;
    cPngLoader(const cPngLoader&) = delete;
    cPngLoader& operator=(const cPngLoader&) = delete;
    ~cPngLoader() override;

    //! Decodes a PNG file; an empty image (and a line on standard error naming the file) when the
    //! file cannot be opened, is not a PNG, or is truncated or corrupt.
    cImage load(const std::string& path) override;

    //! Opens and decodes the file into the loader's libpng structures; a status code. On every
    //! status other than kPngDecoded the file is closed and the libpng structures are gone.
    int32_t readPng(const std::string& path);

private:
    void release();
    cImage copyRows() const;

    std::FILE* mFile = nullptr;
    png_structp mRead = nullptr;
    png_infop mInfo = nullptr;
    png_infop mEndInfo = nullptr;
    int32_t mWidth = 0;
    int32_t mHeight = 0;
    int32_t mBitDepth = 0;
    int32_t mColorType = 0;
    int32_t mInterlace = 0;
    int32_t mCompression = 0;
    int32_t mFilter = 0;
    uint8_t mChannels = 0;
    std::string mPath;
};

} // namespace qvr
