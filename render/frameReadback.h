// Reading back what the renderer drew, and waiting for GL to finish, for tools that record frames.
#pragma once

#include <cstdint>
#include <vector>

namespace qvr {

//! Blocks until GL has carried out every command given so far.
void finishGl();
//! The current framebuffer's width x height pixels as RGB bytes, rows top first.
void readFramebuffer(int32_t width, int32_t height, std::vector<uint8_t>& rgb);

} // namespace qvr
