// Writing 8-bit PNG files with libpng: grey, RGB or RGBA rows, top row first.
#pragma once

#include <cstdint>
#include <string>

namespace qvr {

//! Writes width x height pixels of channels bytes each (1 grey, 3 RGB, 4 RGBA), rows top first.
//! Returns false (and writes a line on standard error naming the file) when the file cannot be
//! written completely; a partly written file is removed.
bool writePngFile(const std::string& path, int32_t width, int32_t height, int32_t channels,
                  const uint8_t* pixels);

} // namespace qvr
