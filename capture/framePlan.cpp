// Frame plans for each capture mode.
#include "capture/framePlan.h"

#include "capture/cSystemWrapperCapture.h"

#include <algorithm>

namespace capture {

size_t cFramePlan::keptCount() const
{
    return static_cast<size_t>(std::count(keep.begin(), keep.end(), true));
}

namespace {

void markWarmUp(cFramePlan& plan)
{
    plan.draw = plan.keep;
    for (size_t k = 0; k < plan.keep.size(); ++k) {
        if (plan.keep[k]) {
            for (size_t back = 1; back <= kWarmUpFrames && back <= k; ++back) {
                plan.draw[k - back] = true;
            }
        }
    }
}

} // namespace

cFramePlan planFrames(const cCaptureOptions& options)
{
    cFramePlan plan;
    const int32_t end = options.mode == eMode::kSingle ? options.atMs : options.toMs;
    for (int64_t k = 0; frameTimeMs(k, options.fps) < end; ++k) {
        plan.timesMs.push_back(frameTimeMs(k, options.fps));
    }
    if (options.mode == eMode::kSingle) {
        plan.timesMs.push_back(options.atMs);
    }
    plan.keep.assign(plan.timesMs.size(), false);
    if (options.mode == eMode::kSingle) {
        plan.keep.back() = true;
    } else if (options.mode == eMode::kSheet) {
        int32_t next = options.fromMs;
        for (size_t k = 0; k < plan.timesMs.size(); ++k) {
            if (plan.timesMs[k] >= next) {
                plan.keep[k] = true;
                next += options.sheetEverySeconds * 1000;
            }
        }
    } else {
        for (size_t k = 0; k < plan.timesMs.size(); ++k) {
            plan.keep[k] = plan.timesMs[k] >= options.fromMs;
        }
    }
    markWarmUp(plan);
    plan.endMs = end;
    return plan;
}

} // namespace capture
