// Which frames a capture runs, which of them it draws and which it keeps. The show's logic runs
// every frame from demo time 0 (clocks, random draws and seed morphs depend on the history), but
// only the frames kept and the few before them (to fill feedback textures) are drawn.
#pragma once

#include "capture/captureOptions.h"

#include <cstdint>
#include <vector>

namespace capture {

//! Frames drawn before each kept frame that follows undrawn ones.
constexpr int32_t kWarmUpFrames = 3;

struct cFramePlan {
    std::vector<int32_t> timesMs;
    std::vector<bool> draw;
    std::vector<bool> keep;
    //! The demo time the captured range ends at.
    int32_t endMs = 0;
    size_t keptCount() const;
};

cFramePlan planFrames(const cCaptureOptions& options);

} // namespace capture
