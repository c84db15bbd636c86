// Frame costs of a benchmark capture, per segment of the schedule: a table and a JSON document.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace capture {

struct cFrameCost {
    int32_t segmentFromMs = 0;
    //! The engine's share on the CPU (clock, scene updates, traversal, state application,
    //! command submission) and the wait for GL to finish the frame.
    double cpuMs = 0.0;
    double glMs = 0.0;
};

struct cBenchmarkReport {
    std::vector<cFrameCost> frames;
    double startupMs = 0.0;
    long peakRssKb = 0;
    int32_t fromMs = 0;
    int32_t toMs = 0;
    int32_t fps = 30;

    //! The table, one row per segment in range and one for the whole range.
    std::string table() const;
    std::string json() const;
};

} // namespace capture
