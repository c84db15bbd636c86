// The track editor as its user meets it: the real program on the test X server, a marker found on
// the screen, dragged with xdotool's mouse, and the track saved with Space.
#include "scene/cScenegraph.h"
#include "tests/support/childProcess.h"
#include "tests/support/testSupport.h"
#include "tests/support/xSession.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

// Last: Xlib's macros (None, Bool) would clash with the headers above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

using namespace std::chrono_literals;
using qvr::test::cScratchDir;
using qvr::test::shell;

// The window's pixels as white / not white, rows top first.
struct cWhiteMask {
    int width = 0;
    int height = 0;
    std::vector<bool> white;
    bool at(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height && white[static_cast<size_t>(y * width + x)]; }
};

bool grabWindow(unsigned long window, cWhiteMask& mask)
{
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        return false;
    }
    XWindowAttributes attributes{};
    XGetWindowAttributes(display, window, &attributes);
    XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(attributes.width),
                              static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
    if (image) {
        mask.width = attributes.width;
        mask.height = attributes.height;
        mask.white.assign(static_cast<size_t>(mask.width * mask.height), false);
        for (int y = 0; y < mask.height; ++y) {
            for (int x = 0; x < mask.width; ++x) {
                mask.white[static_cast<size_t>(y * mask.width + x)] = (XGetPixel(image, x, y) & 0xFFFFFF) == 0xFFFFFF;
            }
        }
        XDestroyImage(image);
    }
    XCloseDisplay(display);
    return image != nullptr;
}

// A point on a marker: a white pixel with at least 7 more in the 3-pixel-wide band 6 rows above
// and below it (markers are short, nearly vertical lines), away from the window's edges.
bool findMarker(const cWhiteMask& mask, int& x, int& y)
{
    for (int cy = 40; cy < mask.height - 40; ++cy) {
        for (int cx = 40; cx < mask.width - 40; ++cx) {
            if (!mask.at(cx, cy)) {
                continue;
            }
            int count = 0;
            for (int yy = cy - 6; yy <= cy + 6; ++yy) {
                count += mask.at(cx - 1, yy) + mask.at(cx, yy) + mask.at(cx + 1, yy);
            }
            if (count >= 8) {
                x = cx;
                y = cy + 3;  // a little below the line's top, still on it
                if (!mask.at(x, y) && !mask.at(x - 1, y) && !mask.at(x + 1, y)) {
                    y = cy;
                }
                return true;
            }
        }
    }
    return false;
}

struct cKeyChange {
    int changed = 0;
    float dy = 0.0f;
    float dxz = 0.0f;
};

cKeyChange compareTracks(const std::string& before, const std::string& after)
{
    qvr::cScenegraph graph;
    qvr::cTrackNode* a = graph.createTrackNode();
    qvr::cTrackNode* b = graph.createTrackNode();
    graph.getRoot()->addChild(a);
    graph.getRoot()->addChild(b);
    std::istringstream inA(before), inB(after);
    cKeyChange change;
    if (!a->readCurves(inA, "before") || !b->readCurves(inB, "after")) {
        change.changed = -1;
        return change;
    }
    for (int c = 0; c < 4; ++c) {
        for (int k = 0; k < a->getCurve(c).getKeyCount(); ++k) {
            const qvr::cVec3f& p = a->getCurve(c).getKey(k)->value;
            const qvr::cVec3f& q = b->getCurve(c).getKey(k)->value;
            if (p.x != q.x || p.y != q.y || p.z != q.z) {
                ++change.changed;
                change.dy = q.y - p.y;
                change.dxz = std::hypot(q.x - p.x, q.z - p.z);
            }
        }
    }
    return change;
}

} // namespace

TEST(TrackEditor, DragsAMarkerAndSavesTheTrack)
{
    cScratchDir scratch;
    const std::string file = scratch.file("track.txt");
    const std::string original = qvr::test::readFile(std::string(QVR_RUN_DIR) + "/Assets/Data/track.txt");
    ASSERT_FALSE(original.empty());
    qvr::test::writeFile(file, original);

    qvr::test::cChildProcess editor({QVR_TRACK_BIN, QVR_RUN_DIR, {}, true, scratch.file("out"), scratch.file("err"), {file}});
    const std::string window = shell("timeout 30 xdotool search --sync --onlyvisible --name '^Quorvane track editor$' | head -1");
    ASSERT_FALSE(window.empty()) << qvr::test::readFile(scratch.file("err"));
    shell("timeout 10 xdotool windowfocus --sync " + window + " key z");  // hold the orbit still
    // The first frames take a while on a software rasteriser: look until a marker shows.
    int x = 0, y = 0;
    bool found = false;
    for (int attempt = 0; attempt < 40 && !found; ++attempt) {
        std::this_thread::sleep_for(300ms);
        cWhiteMask mask;
        found = grabWindow(std::stoul(window), mask) && findMarker(mask, x, y);
    }
    ASSERT_TRUE(found) << "no key marker on the screen";

    // Press on the marker, drag 30 pixels straight down, let go, save.
    const std::string move = "timeout 10 xdotool mousemove --window " + window + " ";
    shell(move + std::to_string(x) + " " + std::to_string(y));
    std::this_thread::sleep_for(300ms);
    shell("timeout 10 xdotool mousedown 1");
    std::this_thread::sleep_for(400ms);
    for (int step = 1; step <= 3; ++step) {
        shell(move + std::to_string(x) + " " + std::to_string(y + 10 * step));
        std::this_thread::sleep_for(300ms);
    }
    shell("timeout 10 xdotool mouseup 1");
    std::this_thread::sleep_for(300ms);
    shell("timeout 10 xdotool key space");
    for (int i = 0; i < 50 && qvr::test::readFile(scratch.file("out")).find("saved") == std::string::npos; ++i) {
        std::this_thread::sleep_for(100ms);
    }
    EXPECT_NE(qvr::test::readFile(scratch.file("out")).find("saved " + file), std::string::npos)
        << qvr::test::readFile(scratch.file("out")) << qvr::test::readFile(scratch.file("err"));

    // One key went down 5 units per pixel; nothing moved sideways, nothing else changed.
    const cKeyChange change = compareTracks(original, qvr::test::readFile(file));
    EXPECT_EQ(change.changed, 1);
    EXPECT_FLOAT_EQ(change.dy, -150.0f);
    EXPECT_LT(change.dxz, 0.01f);
    EXPECT_FALSE(std::filesystem::exists(file + ".partial"));

    shell("timeout 10 xdotool key --window " + window + " Escape");
    EXPECT_EQ(editor.wait(20s), 0);
}

TEST(TrackEditor, RefusesATrackItCannotUse)
{
    cScratchDir scratch;
    qvr::test::writeFile(scratch.file("three.txt"), "controller list format:0\nnumber of controllers:3\n");
    for (const std::string& path : {scratch.file("missing.txt"), scratch.file("three.txt")}) {
        qvr::test::cChildProcess editor({QVR_TRACK_BIN, QVR_RUN_DIR, {}, true, scratch.file("out"), scratch.file("err"), {path}});
        EXPECT_EQ(editor.wait(20s), 2);
        EXPECT_NE(qvr::test::readFile(scratch.file("err")).find(path), std::string::npos)
            << qvr::test::readFile(scratch.file("err"));
    }
    EXPECT_EQ(qvr::test::readFile(scratch.file("three.txt")), "controller list format:0\nnumber of controllers:3\n");
}
