// The timeline: start-up, the segment table and the per-frame clock.
#include "demo/timeline.h"

#include "core/cFrameListenerRegistry.h"
#include "core/cInputSystemSDL.h"
#include "demo/corridorScene.h"
#include "demo/demoState.h"
#include "demo/extrusionScene.h"
#include "demo/iceTreeScene.h"
#include "demo/music.h"
#include "demo/sculptureScene.h"
#include "demo/snakeCityScene.h"
#include "demo/titleCityScene.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace demo {

namespace {

void extrusionRain() { updateExtrusionScene(1, 0, 0); }
void extrusionRainCloud() { updateExtrusionScene(1, 0, 1); }
void extrusionAll() { updateExtrusionScene(1, 1, 1); }

#define QVR_OP(function) cTimelineOperation{#function, function}

const cTimelineOperation kCity[] = {QVR_OP(hideExtrusionScene), QVR_OP(updateSnakeCityScene)};
const cTimelineOperation kSculpture[] = {QVR_OP(hideSnakeCityScene), QVR_OP(hideExtrusionScene),
                                         QVR_OP(hideTitleCityScene), QVR_OP(updateSculptureScene)};
const cTimelineOperation kRain[] = {QVR_OP(hideSnakeCityScene), QVR_OP(hideTitleCityScene),
                                    QVR_OP(hideSculptureScene),
                                    {"updateExtrusionScene(1, 0, 0)", extrusionRain}};
const cTimelineOperation kRainCloud[] = {QVR_OP(hideSnakeCityScene), QVR_OP(hideTitleCityScene),
                                         QVR_OP(hideSculptureScene),
                                         {"updateExtrusionScene(1, 0, 1)", extrusionRainCloud}};
const cTimelineOperation kIce[] = {QVR_OP(hideSnakeCityScene), QVR_OP(hideTitleCityScene),
                                   QVR_OP(hideSculptureScene), QVR_OP(hideExtrusionScene),
                                   QVR_OP(hideCorridorScene), QVR_OP(updateIceTreeScene)};
const cTimelineOperation kCorridor[] = {QVR_OP(hideSnakeCityScene), QVR_OP(hideTitleCityScene),
                                        QVR_OP(hideSculptureScene), QVR_OP(hideExtrusionScene),
                                        QVR_OP(hideIceTreeScene), QVR_OP(updateCorridorScene)};
const cTimelineOperation kTubes[] = {QVR_OP(hideSnakeCityScene), QVR_OP(hideTitleCityScene),
                                     QVR_OP(hideSculptureScene), QVR_OP(hideExtrusionScene),
                                     QVR_OP(hideIceTreeScene), QVR_OP(hideCorridorScene),
                                     {"updateExtrusionScene(1, 1, 1)", extrusionAll}};
const cTimelineOperation kTitle[] = {QVR_OP(hideSnakeCityScene), QVR_OP(hideTitleCityScene),
                                     QVR_OP(hideSculptureScene), QVR_OP(hideExtrusionScene),
                                     QVR_OP(hideIceTreeScene), QVR_OP(hideCorridorScene),
                                     QVR_OP(hideExtrusionScene), QVR_OP(updateTitleCityScene)};

#undef QVR_OP

template <size_t N>
constexpr cTimelineSegment segment(int32_t fromMs, const cTimelineOperation (&operations)[N])
{
    return {fromMs, operations, static_cast<int32_t>(N)};
}

const cTimelineSegment kSegments[] = {
    segment(0, kCity),          segment(39000, kSculpture), segment(54650, kRain),
    segment(70260, kRainCloud), segment(86155, kIce),       segment(101491, kCorridor),
    segment(132712, kTubes),    segment(163924, kTitle),
};
constexpr int32_t kSegmentCount = static_cast<int32_t>(sizeof kSegments / sizeof kSegments[0]);

// Frame times of the segment running now, for the debug lines.
struct cSegmentStatistics {
    const cTimelineSegment* segment = nullptr;
    std::vector<int32_t> frameMs;

    void print() const
    {
        if (!segment || frameMs.empty()) {
            return;
        }
        std::vector<int32_t> sorted = frameMs;
        std::sort(sorted.begin(), sorted.end());
        std::printf("segment from %d ms: %zu frames, median frame %d ms, slowest %d ms\n", segment->fromMs,
                    sorted.size(), sorted[sorted.size() / 2], sorted.back());
        std::fflush(stdout);
    }
};

struct cTimelineState {
    qvr::cSystemWrapper* system = nullptr;
    void (*exitFunction)(int) = std::exit;
    void (*trace)(const char*) = nullptr;
    bool debug = false;
    bool firstFrameSeen = false;
    int32_t frames = 0;
    cSegmentStatistics statistics;
};

cTimelineState& state()
{
    static cTimelineState current;
    return current;
}

qvr::cSystemWrapper& clock()
{
    return state().system ? *state().system : qvr::getSystemWrapper();
}

void advanceClock()
{
    cTimelineState& s = state();
    demoFrameTimeMs = clock().getFrameTimeMs();
    // The first frame time runs from the system layer's start (question and start-up included).
    if (!s.firstFrameSeen) {
        s.firstFrameSeen = true;
        if (s.debug) {
            std::printf("first frame at %u ms\n", clock().getTimeMs());
            std::fflush(stdout);
        }
        return;
    }
    if (demoFrameTimeMs < kStallMs) {
        demoTimeMs += demoFrameTimeMs;
    }
}

} // namespace

const cTimelineSegment* timelineSegments(int32_t* count)
{
    *count = kSegmentCount;
    return kSegments;
}

const cTimelineSegment& segmentAt(int32_t demoMs)
{
    for (int32_t i = kSegmentCount - 1; i > 0; --i) {
        if (demoMs >= kSegments[i].fromMs) {
            return kSegments[i];
        }
    }
    return kSegments[0];
}

void initDemo()
{
    qvr::getFrameListenerRegistry().addListener(&qvr::getInputSystem());
    buildShow();
    startMusic("tideglass.mp3");
    if (state().debug) {
        std::printf("music requested at %u ms\n", clock().getTimeMs());
        std::fflush(stdout);
    }
}

void buildShow()
{
    buildSculptureScene();
    buildSnakeCityScene();
    buildExtrusionScene();
    buildTitleCityScene();
    buildIceTreeScene();
    buildCorridorScene();
    demoRenderer().prepareSceneGraph(demoScenegraph());
}

void updateTimeline()
{
    cTimelineState& s = state();
    demoRenderer().clearFrame();
    advanceClock();
    if (demoTimeMs >= kShowEndMs) {
        if (s.debug) {
            s.statistics.print();
            std::printf("show ends at %u ms after %d frames\n", clock().getTimeMs(), s.frames);
            std::fflush(stdout);
        }
        s.exitFunction(0);
        return;
    }
    const cTimelineSegment& current = segmentAt(demoTimeMs);
    if (s.debug) {
        if (s.statistics.segment != &current) {
            s.statistics.print();
            s.statistics = {&current, {}};
        }
        s.statistics.frameMs.push_back(demoFrameTimeMs);
    }
    for (int32_t i = 0; i < current.count; ++i) {
        if (s.trace) {
            s.trace(current.operations[i].name);
        }
        current.operations[i].run();
    }
    demoRenderer().drawFrame(demoScenegraph(), 0.0f);
    ++s.frames;
    if (s.debug) {
        demoRenderer().reportGlErrors(demoTimeMs);
    }
}

void setTimelineClock(qvr::cSystemWrapper* system)
{
    state().system = system;
}

void setTimelineExit(void (*exitFunction)(int status))
{
    state().exitFunction = exitFunction ? exitFunction : std::exit;
}

void setTimelineTrace(void (*trace)(const char* name))
{
    state().trace = trace;
}

void setTimelineDebug(bool on)
{
    state().debug = on;
}

void resetTimeline()
{
    state().firstFrameSeen = false;
    state().frames = 0;
    state().statistics = cSegmentStatistics();
}

} // namespace demo
