// Frame read-back with glReadPixels; GL's rows run bottom up, images top down.
#include "render/frameReadback.h"

#include <GL/glew.h>

#include <algorithm>

namespace qvr {

void finishGl()
{
    glFinish();
}

void readFramebuffer(int32_t width, int32_t height, std::vector<uint8_t>& rgb)
{
    const size_t stride = static_cast<size_t>(width) * 3;
    rgb.resize(stride * static_cast<size_t>(height));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    for (int32_t y = 0; y < height / 2; ++y) {
        std::swap_ranges(rgb.begin() + static_cast<std::ptrdiff_t>(stride * y),
                         rgb.begin() + static_cast<std::ptrdiff_t>(stride * (y + 1)),
                         rgb.begin() + static_cast<std::ptrdiff_t>(stride * (height - 1 - y)));
    }
}

} // namespace qvr
