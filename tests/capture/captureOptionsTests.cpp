// The capture tool's options and frame plans, and its refusals before any rendering.
#include "capture/captureOptions.h"
#include "capture/cSystemWrapperCapture.h"
#include "capture/framePlan.h"
#include "capture/frameSinks.h"
#include "tests/support/childProcess.h"
#include "tests/support/testSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>

using namespace capture;

namespace {

bool parse(const std::vector<std::string>& args, cCaptureOptions& options, std::string& error)
{
    options = cCaptureOptions();
    error.clear();
    return parseCaptureOptions(args, options, error);
}

} // namespace

TEST(CaptureOptions, ModesRangesAndTheirErrors)
{
    cCaptureOptions o;
    std::string error;
    ASSERT_TRUE(parse({"--video", "show.mp4", "--fps", "60", "--from", "1000", "--to", "5000"}, o, error)) << error;
    EXPECT_EQ(o.mode, eMode::kVideo);
    EXPECT_EQ(o.output, "show.mp4");
    EXPECT_EQ(o.fps, 60);
    EXPECT_EQ(o.fromMs, 1000);
    ASSERT_TRUE(parse({"--at", "54300", "-o", "f.png"}, o, error)) << error;
    EXPECT_EQ(o.mode, eMode::kSingle);
    EXPECT_EQ(o.atMs, 54300);
    ASSERT_TRUE(parse({"--benchmark", "--json", "b.json", "--scale", "2"}, o, error)) << error;
    EXPECT_EQ(o.scale, 2);
    EXPECT_FALSE(o.hud);
    ASSERT_TRUE(parse({"--hud", "--sheet", "s.png"}, o, error)) << error;
    EXPECT_TRUE(o.hud);

    const std::vector<std::pair<std::vector<std::string>, std::string>> refused = {
        {{"--frobnicate"}, "unknown option --frobnicate"},
        {{}, "nothing to do"},
        {{"--at", "200000", "-o", "f.png"}, "--at 200000 is outside 0..183999"},
        {{"--at", "5000"}, "--at needs -o"},
        {{"--frames"}, "--frames needs a path"},
        {{"--benchmark", "--fps", "x"}, "--fps needs a whole number"},
        {{"--benchmark", "--from", "5000", "--to", "5000"}, "is not before --to"},
        {{"--benchmark", "--to", "184001"}, "outside"},
        {{"--video", "a.mp4", "--sheet", "b.png"}, "choose one of"},
        {{"--video", "a.mp4", "--json", "b.json"}, "--json goes with --benchmark"},
    };
    for (const auto& [args, message] : refused) {
        EXPECT_FALSE(parse(args, o, error)) << message;
        EXPECT_NE(error.find(message), std::string::npos) << error;
    }
}

TEST(CaptureOptions, ClockStepsAddUpExactly)
{
    std::vector<int32_t> steps;
    for (int64_t k = 1; k <= 6; ++k) {
        steps.push_back(frameTimeMs(k, 30) - frameTimeMs(k - 1, 30));
    }
    EXPECT_EQ(steps, (std::vector<int32_t>{33, 33, 34, 33, 33, 34}));
    EXPECT_EQ(frameTimeMs(5520, 30), 184000);
    EXPECT_EQ(frameTimeMs(3, 60), 50);
}

TEST(CaptureOptions, PlansRunFromTheStartAndDrawOnlyNearKeptFrames)
{
    cCaptureOptions o;
    o.mode = eMode::kFrames;
    o.toMs = 10000;
    cFramePlan plan = planFrames(o);
    EXPECT_EQ(plan.timesMs.size(), 300u);
    EXPECT_EQ(plan.keptCount(), 300u);
    EXPECT_EQ(plan.timesMs.back(), 9966);
    EXPECT_EQ(plan.endMs, 10000);

    o.fromMs = 5000;
    plan = planFrames(o);
    EXPECT_EQ(plan.timesMs.front(), 0);
    EXPECT_EQ(plan.keptCount(), 150u);
    EXPECT_FALSE(plan.draw[145]);
    EXPECT_TRUE(plan.draw[147]);  // the warm-up before 5000 ms
    EXPECT_TRUE(plan.keep[150]);

    o = cCaptureOptions();
    o.mode = eMode::kSingle;
    o.atMs = 7800;
    plan = planFrames(o);
    EXPECT_EQ(plan.timesMs.back(), 7800);
    EXPECT_EQ(plan.keptCount(), 1u);
    EXPECT_EQ(std::count(plan.draw.begin(), plan.draw.end(), true), kWarmUpFrames + 1);

    o = cCaptureOptions();
    o.mode = eMode::kSheet;
    o.toMs = 60000;
    plan = planFrames(o);
    EXPECT_EQ(plan.keptCount(), 6u);
    EXPECT_EQ(formatDemoTime(54300), "0:54.3");
    EXPECT_EQ(formatDemoTime(183999), "3:03.9");
}

TEST(CaptureTool, RefusesBadInputBeforeRendering)
{
    qvr::test::cScratchDir scratch;
    struct cCase {
        std::vector<std::string> args;
        std::map<std::string, std::string> environment;
        std::string message;
    };
    const std::vector<cCase> cases = {
        {{"--bogus"}, {}, "unknown option --bogus"},
        {{"--run-dir", scratch.path(), "--benchmark"}, {}, "is not a run directory"},
        {{"--run-dir", QVR_RUN_DIR, "--at", "5000", "-o", scratch.file("no/such/dir/f.png")}, {}, "cannot write"},
        {{"--run-dir", QVR_RUN_DIR, "--sheet", scratch.path()}, {}, "cannot write"},
        {{"--run-dir", QVR_RUN_DIR, "--at", "184000", "-o", scratch.file("f.png")}, {}, "outside"},
        {{"--run-dir", QVR_RUN_DIR, "--video", scratch.file("v.mp4")}, {{"PATH", scratch.path()}}, "needs ffmpeg"},
    };
    for (const cCase& c : cases) {
        qvr::test::cChildProcess tool(
            {QVR_CAPTURE_BIN, "", c.environment, false, scratch.file("out"), scratch.file("err"), c.args});
        EXPECT_EQ(tool.wait(std::chrono::seconds(20)), 2) << c.message;
        const std::string err = qvr::test::readFile(scratch.file("err"));
        EXPECT_EQ(err.rfind("quorvane-capture: ", 0), 0u) << err;
        EXPECT_NE(err.find(c.message), std::string::npos) << err;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
        EXPECT_TRUE(qvr::test::readFile(scratch.file("out")).empty());
    }
    EXPECT_FALSE(std::filesystem::exists(scratch.file("v.mp4")));
    EXPECT_FALSE(std::filesystem::exists(scratch.file("f.png")));
}
