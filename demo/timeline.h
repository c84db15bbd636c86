// The show's schedule: the start-up callback that builds every scene and starts the music, and the
// per-frame callback that advances the demo clock, runs the segment of the schedule and draws.
#pragma once

#include "core/cSystemWrapper.h"

#include <cstdint>

namespace demo {

//! Length of the show; the frame whose demo clock reaches it ends the process with status 0.
constexpr int32_t kShowEndMs = 184000;
//! Frame times from this long on are stalls and are not added to the demo clock.
constexpr int32_t kStallMs = 10000;

//! Frame event 2: input listener, buildShow, then the music.
void initDemo();
//! The six scene builders in the show's order, then the renderer prepares the whole graph.
void buildShow();
//! Frame event 0: clear, clock, end of show, the segment's hides and update, draw.
void updateTimeline();

//! One operation of a segment, by the name of the scene function it runs.
struct cTimelineOperation {
    const char* name;
    void (*run)();
};
//! A segment of the schedule: from its start (inclusive) to the next segment's start.
struct cTimelineSegment {
    int32_t fromMs;
    const cTimelineOperation* operations;
    int32_t count;
};
//! The schedule, in time order.
const cTimelineSegment* timelineSegments(int32_t* count);
//! The segment containing demoMs (0 <= demoMs < kShowEndMs).
const cTimelineSegment& segmentAt(int32_t demoMs);

//! Where the frame time and the process exit come from; the system layer and std::exit unless
//! replaced (tests). A replaced exit may return: the frame then draws nothing.
void setTimelineClock(qvr::cSystemWrapper* system);
void setTimelineExit(void (*exitFunction)(int status));
//! Called with each operation's name before it runs (null: none).
void setTimelineTrace(void (*trace)(const char* name));
//! Checks for GL errors after each frame and prints timing lines (the show test turns it on).
void setTimelineDebug(bool on);
//! Back to the first frame (the next frame time is dropped again).
void resetTimeline();

} // namespace demo
