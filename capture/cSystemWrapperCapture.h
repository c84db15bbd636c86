// The system layer of the capture tool: a clock that moves only when told, one fixed step per
// frame. It asks no question, opens no audio device and never waits.
#pragma once

#include "core/cSystemWrapper.h"

#include <cstdint>

namespace capture {

class cSystemWrapperCapture : public qvr::cSystemWrapper {
public:
    void present() override {}
    void setDefaultClearColor() override {}
    uint32_t getTimeMs() override { return mNowMs; }
    //! Sets the clock; the next updateFrameTime measures the step to it.
    void setTimeMs(uint32_t now) { mNowMs = now; }

private:
    uint32_t mNowMs = 0;
};

//! Demo time of frame k at fps frames per second: whole milliseconds, so that the steps between
//! frames (33, 33, 34, ... at 30) add up exactly.
inline int32_t frameTimeMs(int64_t frame, int32_t fps)
{
    return static_cast<int32_t>(frame * 1000 / fps);
}

} // namespace capture
