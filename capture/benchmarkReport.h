// Frame costs of a benchmark capture, per segment of the schedule: a table and a JSON document.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace capture {

struct cFrameCost {
    int32_t segmentFromMs = 0;
    //! The whole frame: the timeline's update and drawing, then glFinish.
    double frameMs = 0.0;
    //! The engine's own share: the same frame's scene-graph update, traversal and state order
    //! walked again by the null renderer. The rest of the frame is inside GL (llvmpipe does much
    //! of its work during the calls, not only in glFinish).
    double engineMs = 0.0;
    double glFinishMs = 0.0;
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
