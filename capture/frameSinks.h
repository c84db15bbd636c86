// Where kept frames go: numbered PNG files, an ffmpeg video, one PNG, a contact sheet.
#pragma once

#include "capture/captureOptions.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace capture {

//! One RGB frame, rows top first.
struct cFrame {
    int32_t width = 0;
    int32_t height = 0;
    int32_t demoMs = 0;
    std::vector<uint8_t> rgb;
};

class cFrameSink {
public:
    virtual ~cFrameSink() = default;
    //! false when the frame could not be stored (the capture stops).
    virtual bool take(const cFrame& frame) = 0;
    //! Completes the output; false when it could not be completed.
    virtual bool finish() = 0;
    //! Gives up: nothing is left under the output's name.
    virtual void abort() {}
};

//! The sink of a mode that writes frames; null for the benchmark.
std::unique_ptr<cFrameSink> makeFrameSink(const cCaptureOptions& options, int32_t width, int32_t height);

//! A thumbnail strip label: demo time as m:ss.s.
std::string formatDemoTime(int32_t demoMs);

} // namespace capture
