// An image that scene code fills and changes at run time; textures of source 3 show it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qvr {

struct cDynamicImage {
    //! Set by scene code after changing the pixels; the renderer re-uploads and clears it.
    bool changed = false;
    int32_t height = 0;
    int32_t width = 0;
    int32_t depth = 1;
    //! width x height x depth pixels of bytesPerPixel bytes (16 bytes, four floats, for float
    //! textures).
    std::vector<uint8_t> pixels;
    //! 3 means RGB; anything else RGBA.
    uint8_t bytesPerPixel = 4;

    //! Bytes the pixels must hold for an upload of the given texel size.
    size_t bytesNeeded(size_t texelBytes) const
    {
        return static_cast<size_t>(width < 0 ? 0 : width) * static_cast<size_t>(height < 0 ? 0 : height) *
               static_cast<size_t>(depth < 1 ? 1 : depth) * texelBytes;
    }
};

} // namespace qvr
