// quorvane-capture: the show rendered at a fixed time step, headless, to PNG frames, a video, one
// frame, a contact sheet, or as a benchmark.
#include "capture/benchmarkReport.h"
#include "capture/cSystemWrapperCapture.h"
#include "capture/captureOptions.h"
#include "capture/framePlan.h"
#include "capture/hud.h"
#include "capture/frameSinks.h"
#include "core/cInputSystemSDL.h"
#include "core/glWindow.h"
#include "demo/demoState.h"
#include "demo/timeline.h"
#include "render/cNullRenderer.h"
#include "render/frameReadback.h"
#include "resources/cResourceManger.h"
#include "scene/cScenegraph.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include <sys/resource.h>
#include <unistd.h>

namespace {

using namespace capture;
using cClock = std::chrono::steady_clock;

volatile std::sig_atomic_t gInterrupted = 0;

void onSignal(int)
{
    gInterrupted = 1;
}

class cNoKeys : public qvr::cKeySource {
public:
    bool queryKey(qvr::eInputKey) override { return false; }
};

int fail(const std::string& message)
{
    std::fprintf(stderr, "quorvane-capture: %s\n", message.c_str());
    return 2;
}

double msSince(cClock::time_point start)
{
    return std::chrono::duration<double, std::milli>(cClock::now() - start).count();
}

// A GL context without a display server (SDL's offscreen driver on EGL); under a display, a
// window there when the offscreen driver is not available.
bool openContext(int32_t width, int32_t height)
{
    if (std::getenv("SDL_VIDEODRIVER")) {
        return qvr::createGlWindow(width, height, "Quorvane capture", false);
    }
    const char* display = std::getenv("DISPLAY");
    const std::string savedDisplay = display ? display : "";
    unsetenv("DISPLAY");
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    const bool offscreen = qvr::createGlWindow(width, height, "Quorvane capture", false);
    unsetenv("SDL_VIDEODRIVER");
    if (!savedDisplay.empty()) {
        setenv("DISPLAY", savedDisplay.c_str(), 1);
    }
    if (offscreen || savedDisplay.empty()) {
        return offscreen;
    }
    std::fprintf(stderr, "quorvane-capture: no offscreen GL; using a window on %s\n", savedDisplay.c_str());
    qvr::closeVideo();
    return qvr::createGlWindow(width, height, "Quorvane capture", false);
}

// Frames done, rate and time left on one line of a terminal; nothing when standard error is not one.
class cProgress {
public:
    explicit cProgress(size_t total) : mTotal(total), mShown(isatty(STDERR_FILENO) != 0) {}
    void update(size_t done)
    {
        if (!mShown || (done % 5 != 0 && done != mTotal)) {
            return;
        }
        const double seconds = msSince(mStart) / 1000.0;
        const double rate = seconds > 0.0 ? static_cast<double>(done) / seconds : 0.0;
        const double left = rate > 0.0 ? static_cast<double>(mTotal - done) / rate : 0.0;
        const int width = 30;
        const int filled = static_cast<int>(width * done / (mTotal ? mTotal : 1));
        std::fprintf(stderr, "\r[%.*s%*s] %zu/%zu frames, %.1f fps, %d:%02d left ", filled,
                     "##############################", width - filled, "", done, mTotal, rate,
                     static_cast<int>(left) / 60, static_cast<int>(left) % 60);
        if (done == mTotal) {
            std::fprintf(stderr, "\n");
        }
    }

private:
    size_t mTotal;
    bool mShown;
    cClock::time_point mStart = cClock::now();
};

struct cRun {
    cCaptureOptions options;
    cFramePlan plan;
    cSystemWrapperCapture system;
    qvr::cNullRenderer skipRenderer;
    cNoKeys noKeys;
    qvr::cInputSystemSDL input{&noKeys};
    std::unique_ptr<cFrameSink> sink;
    cBenchmarkReport report;
    cHud hud;
    //! Cost of the last drawn frame, for the HUD; negative before the first.
    double lastFrameMs = -1.0;
    int32_t width = 800;
    int32_t height = 600;
};

// One frame of the show at its demo time: the clock steps there, the timeline runs (drawing
// through the GL renderer or the null one), and a kept frame goes to the sink.
bool runFrame(cRun& run, size_t k, cFrame& frame)
{
    const bool draw = run.plan.draw[k];
    run.system.setTimeMs(static_cast<uint32_t>(1000 + run.plan.timesMs[k]));
    run.system.updateFrameTime();
    demo::setDemoServices({&qvr::getScenegraph(), draw ? &qvr::getRenderer() : &run.skipRenderer, &run.input});
    if (run.options.hud && draw) {
        run.hud.update(run.plan.timesMs[k], run.lastFrameMs);
    }
    const auto start = cClock::now();
    demo::updateTimeline();
    if (!draw) {
        return true;
    }
    const auto finishStart = cClock::now();
    qvr::finishGl();
    const double finishMs = msSince(finishStart);
    const double frameMs = msSince(start);
    run.lastFrameMs = frameMs;
    if (run.options.mode == eMode::kBenchmark && run.plan.keep[k]) {
        const auto engineStart = cClock::now();
        run.skipRenderer.drawFrame(qvr::getScenegraph(), 0.0f);
        run.report.frames.push_back(
            {demo::segmentAt(run.plan.timesMs[k]).fromMs, frameMs, msSince(engineStart), finishMs});
    }
    if (!run.plan.keep[k] || !run.sink) {
        return true;
    }
    frame.width = run.width;
    frame.height = run.height;
    frame.demoMs = run.plan.timesMs[k];
    qvr::readFramebuffer(run.width, run.height, frame.rgb);
    return run.sink->take(frame);
}

int render(cRun& run, cClock::time_point processStart)
{
    cFrame frame;
    cProgress progress(run.plan.timesMs.size());
    bool firstDrawn = false;
    for (size_t k = 0; k < run.plan.timesMs.size(); ++k) {
        if (gInterrupted) {
            if (run.sink) {
                run.sink->abort();
            }
            return fail("interrupted; nothing written under the output's name");
        }
        if (!runFrame(run, k, frame)) {
            if (run.sink) {
                run.sink->abort();
            }
            return fail("could not write the frame at " + std::to_string(run.plan.timesMs[k]) + " ms");
        }
        if (!firstDrawn && run.plan.draw[k]) {
            firstDrawn = true;
            run.report.startupMs = msSince(processStart);
        }
        progress.update(k + 1);
    }
    if (run.sink && !run.sink->finish()) {
        return fail("could not complete " + run.options.output);
    }
    return 0;
}

int writeReport(cRun& run)
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    run.report.peakRssKb = usage.ru_maxrss;
    run.report.fromMs = run.options.fromMs;
    run.report.toMs = run.plan.endMs;
    run.report.fps = run.options.fps;
    std::printf("%s", run.report.table().c_str());
    if (!run.options.jsonFile.empty()) {
        std::ofstream json(run.options.jsonFile);
        json << run.report.json();
        if (!json) {
            return fail("could not write " + run.options.jsonFile);
        }
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const auto processStart = cClock::now();
    cRun run;
    std::string error;
    if (!parseCaptureOptions(std::vector<std::string>(argv + 1, argv + argc), run.options, error)) {
        return fail(error);
    }
    if (run.options.help) {
        std::printf("%s", captureUsage());
        return 0;
    }
    if (!checkCaptureEnvironment(run.options, error)) {
        return fail(error);
    }
    if (chdir(run.options.runDir.c_str()) != 0) {
        return fail("cannot enter " + run.options.runDir);
    }
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    std::signal(SIGPIPE, SIG_IGN);

    run.width = 800 * run.options.scale;
    run.height = 600 * run.options.scale;
    if (!openContext(run.width, run.height)) {
        return fail("no OpenGL context (neither SDL's offscreen driver nor a display)");
    }
    qvr::getResourceManager().loadResourceList("Assets/Data/resources.dat");
    demo::setDemoServices({&qvr::getScenegraph(), &qvr::getRenderer(), &run.input});
    demo::setTimelineClock(&run.system);
    demo::setTimelineExit([](int) {});
    demo::buildShow();
    if (run.options.hud) {
        run.hud.build(qvr::getScenegraph(), qvr::getRenderer());
    }

    run.plan = planFrames(run.options);
    run.sink = makeFrameSink(run.options, run.width, run.height);
    const int status = render(run, processStart);
    if (status != 0) {
        return status;
    }
    return run.options.mode == eMode::kBenchmark ? writeReport(run) : 0;
}
