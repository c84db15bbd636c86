// The application shell in a real window under Xvfb: the fullscreen question answered with
// xdotool, frames, Escape and the close button, and a run without any display.
#include "tests/support/childProcess.h"
#include "tests/support/testSupport.h"
#include "tests/support/xSession.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>
#include <thread>


using qvr::test::cScratchDir;
using qvr::test::readFile;
using qvr::test::shell;
using namespace std::chrono_literals;

namespace {

using cClock = std::chrono::steady_clock;

// The shell probe as a child process, its output in a scratch directory.
class cProbeRun {
public:
    explicit cProbeRun(bool withDisplay)
        : mChild({QVR_TEST_BIN_DIR "/qvr_shell_probe", "", {}, withDisplay, mDir.file("out"), mDir.file("err")})
    {
    }

    // Exit status, or -1 when the probe is still running after the timeout.
    int wait(std::chrono::milliseconds timeout) { return mChild.wait(timeout); }

    // The key=value lines the probe printed.
    std::map<std::string, std::string> results() const
    {
        std::map<std::string, std::string> values;
        std::istringstream lines(readFile(mDir.file("out")));
        std::string line;
        while (std::getline(lines, line)) {
            const size_t eq = line.find('=');
            if (eq != std::string::npos) {
                values[line.substr(0, eq)] = line.substr(eq + 1);
            }
        }
        return values;
    }

    std::string errors() const { return readFile(mDir.file("err")); }
    bool started() const { return readFile(mDir.file("out")).find("started") != std::string::npos; }

private:
    cScratchDir mDir;
    qvr::test::cChildProcess mChild;
};

// The main window's id once it is mapped and the probe has started its frames.
std::string mainWindow(const cProbeRun& probe)
{
    const std::string id = shell("timeout 30 xdotool search --sync --onlyvisible --name '^Quorvane$'");
    const auto end = cClock::now() + 30s;
    while (!probe.started() && cClock::now() < end) {
        std::this_thread::sleep_for(20ms);
    }
    return id;
}

void expectHealthyRun(const std::map<std::string, std::string>& r)
{
    EXPECT_EQ(r.at("ran"), "1");
    EXPECT_EQ(r.at("start_calls"), "1");
    EXPECT_EQ(r.at("start_before_frame"), "1");
    EXPECT_GE(std::stoi(r.at("frames")), 5);
    EXPECT_GE(std::stoi(r.at("min_frame_ms")), 33);
    EXPECT_EQ(r.at("glew"), "1");
    EXPECT_FALSE(r.at("gl_version").empty());
    EXPECT_EQ(r.at("window"), "800x600");
}

} // namespace

TEST(Window, AnsweringNoOpensAWindowAndEscapeEndsTheLoop)
{
    cProbeRun probe(true);
    ASSERT_TRUE(qvr::test::answerFullscreenQuestion("Escape"));
    const std::string window = mainWindow(probe);
    ASSERT_FALSE(window.empty()) << probe.errors() << shell("xwininfo -root -tree | grep -i quorvane");
    std::this_thread::sleep_for(600ms);
    // Mouse motion and buttons reach the process-wide mouse state, in window pixels.
    shell("xdotool mousemove --window " + window + " 123 45 mousedown 1");
    std::this_thread::sleep_for(300ms);
    shell("xdotool windowfocus --sync " + window + " key Escape");
    ASSERT_EQ(probe.wait(30s), 0) << probe.errors();
    const auto r = probe.results();
    expectHealthyRun(r);
    EXPECT_EQ(r.at("fullscreen"), "0");
    EXPECT_EQ(r.at("mouse"), "123,45,1");
    shell("xdotool mouseup 1");
}

TEST(Window, TheCloseButtonEndsTheLoop)
{
    cProbeRun probe(true);
    ASSERT_TRUE(qvr::test::answerFullscreenQuestion("Escape"));
    const std::string window = mainWindow(probe);
    ASSERT_FALSE(window.empty()) << probe.errors() << shell("xwininfo -root -tree | grep -i quorvane");
    std::this_thread::sleep_for(400ms);
    shell(QVR_TEST_BIN_DIR "/qvr_x11_close " + window);
    ASSERT_EQ(probe.wait(30s), 0) << probe.errors();
    expectHealthyRun(probe.results());
}

TEST(Window, AnsweringYesGivesAnExact800x600Fullscreen)
{
    cProbeRun probe(true);
    ASSERT_TRUE(qvr::test::answerFullscreenQuestion("Return"));
    const std::string window = mainWindow(probe);
    ASSERT_FALSE(window.empty()) << probe.errors() << shell("xwininfo -root -tree | grep -i quorvane");
    std::this_thread::sleep_for(400ms);
    shell("xdotool windowfocus --sync " + window + " key Escape");
    ASSERT_EQ(probe.wait(30s), 0) << probe.errors();
    const auto r = probe.results();
    expectHealthyRun(r);
    EXPECT_EQ(r.at("fullscreen"), "1");
}

TEST(Window, WithoutADisplayTheRunFailsAtOnce)
{
    const auto start = cClock::now();
    cProbeRun probe(false);
    const int status = probe.wait(5s);
    const auto took = cClock::now() - start;
    EXPECT_NE(status, 0);
    EXPECT_NE(status, -1) << "still running";
    EXPECT_LT(took, 1s);
    EXPECT_NE(probe.errors().find("no display"), std::string::npos) << probe.errors();
    const auto r = probe.results();
    EXPECT_EQ(r.at("ran"), "0");
    EXPECT_EQ(r.at("start_calls"), "0");
    EXPECT_EQ(r.at("frames"), "0");
}
