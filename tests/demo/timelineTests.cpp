// The timeline driven by a scripted frame time: the dropped first frame, stalls, every segment
// boundary with its calls in order, and the end of the show before drawing.
#include "tests/demo/demoWorld.h"

#include "demo/extrusionScene.h"
#include "demo/timeline.h"

#include <gtest/gtest.h>

#include <map>

using namespace qvr;
using namespace demo;
using namespace demo::test;

namespace {

class cScriptedClock : public cSystemWrapper {
public:
    void present() override {}
    void setDefaultClearColor() override {}
    int32_t getFrameTimeMs() override { return next; }
    int32_t next = 33;
};

std::vector<std::string>& trace()
{
    static std::vector<std::string> calls;
    return calls;
}

int& exitStatus()
{
    static int status = -1;
    return status;
}

// The schedule as the show is cut: each segment's calls in order.
const std::map<int32_t, std::vector<std::string>> kSchedule = {
    {0, {"hideExtrusionScene", "updateSnakeCityScene"}},
    {39000, {"hideSnakeCityScene", "hideExtrusionScene", "hideTitleCityScene", "updateSculptureScene"}},
    {54650, {"hideSnakeCityScene", "hideTitleCityScene", "hideSculptureScene", "updateExtrusionScene(1, 0, 0)"}},
    {70260, {"hideSnakeCityScene", "hideTitleCityScene", "hideSculptureScene", "updateExtrusionScene(1, 0, 1)"}},
    {86155, {"hideSnakeCityScene", "hideTitleCityScene", "hideSculptureScene", "hideExtrusionScene",
             "hideCorridorScene", "updateIceTreeScene"}},
    {101491, {"hideSnakeCityScene", "hideTitleCityScene", "hideSculptureScene", "hideExtrusionScene",
              "hideIceTreeScene", "updateCorridorScene"}},
    {132712, {"hideSnakeCityScene", "hideTitleCityScene", "hideSculptureScene", "hideExtrusionScene",
              "hideIceTreeScene", "hideCorridorScene", "updateExtrusionScene(1, 1, 1)"}},
    {163924, {"hideSnakeCityScene", "hideTitleCityScene", "hideSculptureScene", "hideExtrusionScene",
              "hideIceTreeScene", "hideCorridorScene", "hideExtrusionScene", "updateTitleCityScene"}},
};

class Timeline : public ::testing::Test {
protected:
    void SetUp() override
    {
        trace().clear();
        exitStatus() = -1;
        setTimelineClock(&clock);
        setTimelineTrace([](const char* name) { trace().push_back(name); });
        setTimelineExit([](int status) { exitStatus() = status; });
    }
    void TearDown() override
    {
        setTimelineClock(nullptr);
        setTimelineTrace(nullptr);
        setTimelineExit(nullptr);
    }

    // One frame of the given length; returns the calls it made.
    std::vector<std::string> frame(int32_t frameMs)
    {
        trace().clear();
        clock.next = frameMs;
        updateTimeline();
        return trace();
    }

    cDemoWorld world;
    cScriptedClock clock;
};

} // namespace

TEST_F(Timeline, FirstFrameIsDroppedAndStallsAreNotCounted)
{
    EXPECT_EQ(frame(2500), kSchedule.at(0));
    EXPECT_EQ(demoTimeMs, 0);
    EXPECT_EQ(demoFrameTimeMs, 2500);
    EXPECT_EQ(world.renderer.framesDrawn, 1);
    EXPECT_EQ(world.renderer.log.back(), "clear");
    EXPECT_EQ(world.renderer.postSteps, 9);
    frame(9999);
    EXPECT_EQ(demoTimeMs, 9999);
    frame(10000);
    EXPECT_EQ(demoTimeMs, 9999);
    EXPECT_EQ(demoFrameTimeMs, 10000);
    frame(1);
    EXPECT_EQ(demoTimeMs, 10000);
}

TEST_F(Timeline, EveryBoundaryRunsItsSegmentInOrder)
{
    frame(2500);
    int32_t before = 0;
    for (const auto& [fromMs, calls] : kSchedule) {
        if (fromMs > 0) {
            demoTimeMs = fromMs - 34;
            EXPECT_EQ(frame(33), kSchedule.at(before)) << "at " << fromMs - 1;
            EXPECT_EQ(frame(1), calls) << "at " << fromMs;
            EXPECT_EQ(segmentAt(fromMs).fromMs, fromMs);
            EXPECT_EQ(segmentAt(fromMs - 1).fromMs, before);
        }
        before = fromMs;
    }
    EXPECT_EQ(exitStatus(), -1);
}

TEST_F(Timeline, ExtrusionFlagsFollowTheSegments)
{
    const cExtrusionScene& s = extrusionScene();
    frame(2500);
    demoTimeMs = 60000;
    frame(33);
    EXPECT_TRUE(s.rain->getOwnVisible());
    EXPECT_FALSE(s.cloud->getOwnVisible());
    EXPECT_FALSE(s.tubes->getOwnVisible());
    demoTimeMs = 80000;
    frame(33);
    EXPECT_TRUE(s.cloud->getOwnVisible());
    EXPECT_FALSE(s.linkA->getOwnVisible());
    demoTimeMs = 140000;
    frame(33);
    EXPECT_TRUE(s.tubes->getOwnVisible());
    EXPECT_TRUE(s.linkA->getOwnVisible());
    EXPECT_TRUE(s.cloud->getOwnVisible());
    // The extrusion update is only ever called with these three flag sets.
    int32_t count = 0;
    const cTimelineSegment* segments = timelineSegments(&count);
    std::vector<std::string> extrusionCalls;
    for (int32_t i = 0; i < count; ++i) {
        for (int32_t k = 0; k < segments[i].count; ++k) {
            const std::string name = segments[i].operations[k].name;
            if (name.rfind("updateExtrusionScene", 0) == 0) {
                extrusionCalls.push_back(name);
            }
        }
    }
    EXPECT_EQ(extrusionCalls, (std::vector<std::string>{"updateExtrusionScene(1, 0, 0)",
                                                        "updateExtrusionScene(1, 0, 1)",
                                                        "updateExtrusionScene(1, 1, 1)"}));
}

TEST_F(Timeline, TheShowEndsBeforeDrawingTheFrameThatReaches184000)
{
    frame(2500);
    demoTimeMs = 183966;
    EXPECT_EQ(frame(33), kSchedule.at(163924));
    EXPECT_EQ(demoTimeMs, 183999);
    const int32_t drawn = world.renderer.framesDrawn;
    EXPECT_TRUE(frame(1).empty());
    EXPECT_EQ(exitStatus(), 0);
    EXPECT_EQ(world.renderer.framesDrawn, drawn);
}

TEST(TimelineDeathTest, TheEndOfTheShowExitsWithStatusZero)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    cDemoWorld world;
    cScriptedClock clock;
    setTimelineClock(&clock);
    clock.next = 5000;
    updateTimeline();
    demoTimeMs = 183999;
    clock.next = 1;
    EXPECT_EXIT(updateTimeline(), ::testing::ExitedWithCode(0), "");
    setTimelineClock(nullptr);
}
