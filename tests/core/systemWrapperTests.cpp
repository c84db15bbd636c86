// Frame time, statistics, animation phase and pacing, on a fake clock.
#include "core/cFrameListenerRegistry.h"
#include "core/cSystemWrapperSDL.h"

#include <gtest/gtest.h>

using qvr::cSystemWrapperSDL;

namespace {

// A clock that the test sets. Once `tick` is set it moves on by that much every time it is read,
// so a busy wait ends; lastRead is the value the latest read returned.
class cFakeClockSystem : public cSystemWrapperSDL {
public:
    uint32_t getTimeMs() override
    {
        lastRead = now;
        now += tick;
        return lastRead;
    }
    uint32_t now = 0;
    uint32_t tick = 0;
    uint32_t lastRead = 0;
};

cFakeClockSystem* gClock = nullptr;
uint32_t gHandlerMs = 0;

// Frame handler that "works" for gHandlerMs on the fake clock, after which the clock runs.
void busyHandler()
{
    if (gClock) {
        gClock->now += gHandlerMs;
        gClock->tick = 1;
    }
}

class SystemWrapper : public ::testing::Test {
protected:
    static void SetUpTestSuite() { qvr::getFrameListenerRegistry().addCallback(0, busyHandler); }
    void SetUp() override { gClock = &mSystem; }
    void TearDown() override { gClock = nullptr; }

    // Runs one frame starting at `start`; returns the clock value that ended its wait.
    uint32_t frame(uint32_t start, uint32_t handlerMs)
    {
        mSystem.now = start;
        mSystem.tick = 0;
        gHandlerMs = handlerMs;
        EXPECT_TRUE(mSystem.runFrame());
        return mSystem.lastRead - start;
    }

    cFakeClockSystem mSystem;
};

} // namespace

TEST_F(SystemWrapper, FrameTimeIsNeverZeroAndStartsAtTheClocksValue)
{
    mSystem.now = 123456;
    mSystem.updateFrameTime();
    EXPECT_EQ(mSystem.getFrameTimeMs(), 123456);
    mSystem.updateFrameTime();
    EXPECT_EQ(mSystem.getFrameTimeMs(), 1);
    mSystem.now += 40;
    mSystem.updateFrameTime();
    EXPECT_EQ(mSystem.getFrameTimeMs(), 40);

    // Opening the window restarts the frame clock.
    EXPECT_TRUE(mSystem.cSystemWrapper::openWindowAndRun("t", 0, 600, false));
    EXPECT_EQ(mSystem.getWidth(), 1);
    mSystem.updateFrameTime();
    EXPECT_EQ(mSystem.getFrameTimeMs(), 123496);
}

TEST_F(SystemWrapper, FramesArePacedToAtLeast33Ms)
{
    EXPECT_EQ(frame(1000, 5), 33u);   // 5 ms of work waits 28 ms more
    EXPECT_EQ(frame(2000, 0), 33u);
    EXPECT_EQ(frame(3000, 40), 41u);  // a long frame is not stretched: one read after the work
    EXPECT_EQ(mSystem.getFrameTimeMs(), 1000);
}

TEST_F(SystemWrapper, PacingAndFrameTimeSurviveTheClockWrapping)
{
    const uint32_t nearWrap = 0xFFFFFFFFu - 10u;
    mSystem.now = nearWrap - 33;
    mSystem.updateFrameTime();
    EXPECT_EQ(frame(nearWrap, 5), 33u);
    EXPECT_EQ(mSystem.getFrameTimeMs(), 33);
    const uint32_t after = mSystem.now + 100;  // past zero
    EXPECT_LT(after, nearWrap);
    frame(after, 0);
    EXPECT_GT(mSystem.getFrameTimeMs(), 0);
    EXPECT_LT(mSystem.getFrameTimeMs(), 200);
}

TEST_F(SystemWrapper, FramesPerSecondCountsCompletedIntervals)
{
    mSystem.now = 5000;
    for (int i = 0; i < 30; ++i) {
        mSystem.updateFrameStatistics();
        mSystem.now += 33;  // the 30th call is at 5957: not over 1000 ms yet
    }
    EXPECT_EQ(mSystem.getFramesPerSecond(), 0);
    mSystem.now = 6001;
    mSystem.updateFrameStatistics();
    EXPECT_EQ(mSystem.getFramesPerSecond(), 31);
    mSystem.now = 6500;
    mSystem.updateFrameStatistics();
    EXPECT_EQ(mSystem.getFramesPerSecond(), 31);
    mSystem.now = 7002;
    mSystem.updateFrameStatistics();
    EXPECT_EQ(mSystem.getFramesPerSecond(), 2);
}

TEST_F(SystemWrapper, AnimationPhaseRestartsOnlyAfterPassingOne)
{
    mSystem.now = 50000;
    EXPECT_EQ(mSystem.getAnimationPhase(), 0.0f);
    mSystem.now = 55000;
    EXPECT_FLOAT_EQ(mSystem.getAnimationPhase(), 0.5f);
    mSystem.now = 60000;
    EXPECT_FLOAT_EQ(mSystem.getAnimationPhase(), 1.0f);  // exactly 1: no restart yet
    mSystem.now = 60100;
    EXPECT_FLOAT_EQ(mSystem.getAnimationPhase(), 1.01f);  // above 1: returned, then restarted
    mSystem.now = 61100;
    EXPECT_FLOAT_EQ(mSystem.getAnimationPhase(), 0.1f);
}
