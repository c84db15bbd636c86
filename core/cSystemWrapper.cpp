// Frame time, statistics, animation phase and the paced frame routine.
#include "core/cSystemWrapper.h"

#include "core/cFrameListenerRegistry.h"

namespace qvr {

bool cSystemWrapper::openWindowAndRun(const char*, int32_t width, int32_t height, bool)
{
    mWidth = width == 0 ? 1 : width;
    mHeight = height == 0 ? 1 : height;
    mLastFrameTimeMs = 0;
    return true;
}

void cSystemWrapper::updateFrameTime()
{
    const uint32_t now = getTimeMs();
    const int32_t frameTime = elapsedMs(mLastFrameTimeMs, now);
    mFrameTimeMs = frameTime == 0 ? 1 : frameTime;
    mLastFrameTimeMs = now;
}

void cSystemWrapper::updateFrameStatistics()
{
    const uint32_t now = getTimeMs();
    if (!mStatisticsStarted) {
        mStatisticsStarted = true;
        mSampleStartMs = now;
    }
    ++mFrameCounter;
    if (elapsedMs(mSampleStartMs, now) > 1000) {
        mFramesPerSecond = mFrameCounter;
        mFrameCounter = 0;
        mSampleStartMs = now;
    }
}

float cSystemWrapper::getAnimationPhase()
{
    const uint32_t now = getTimeMs();
    if (!mPhaseStarted) {
        mPhaseStarted = true;
        mPhaseStartMs = now;
    }
    const float phase = static_cast<float>(static_cast<double>(elapsedMs(mPhaseStartMs, now)) /
                                           10000.0);
    if (phase > 1.0f) {
        mPhaseStartMs = now;
    }
    mAnimationPhase = phase;
    mAnimationPhaseSet = 1;
    return phase;
}

bool cSystemWrapper::runFrame()
{
    const uint32_t frameStart = getTimeMs();
    getAnimationPhase();
    updateFrameTime();
    cFrameListenerRegistry& registry = getFrameListenerRegistry();
    registry.dispatch(kEventFrame);
    registry.dispatch(kEventLateFrame);
    updateFrameStatistics();
    // Busy wait: a sleep would overshoot on the 1 ms clock.
    while (elapsedMs(frameStart, getTimeMs()) < kFrameMs) {
    }
    return true;
}

} // namespace qvr
