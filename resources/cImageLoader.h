// Decoded images and the interface of the image file loaders.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace qvr {

//! An uncompressed image: rows top first, pixels exactly as the file stores them (palette
//! indices stay indices, 16-bit samples stay 16-bit). An image that failed to load is empty:
//! 0 x 0 and no pixels.
struct cImage {
    int32_t height = 0;
    int32_t width = 0;
    int32_t reserved = 0;
    //! height x row bytes; the caller owns it and may release it after the texture upload.
    std::unique_ptr<uint8_t[]> pixels;
    //! Row bytes / width, rounded down: 0 for images with fewer than 8 bits per pixel.
    uint8_t bytesPerPixel = 0;

    bool empty() const { return !pixels; }
};

class cImageLoader {
public:
    virtual ~cImageLoader() = default;
    //! Decodes the file at path; an empty image when it cannot.
    virtual cImage load(const std::string& path) = 0;
};

} // namespace qvr
