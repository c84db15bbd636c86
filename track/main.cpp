// quorvane-track: the track editor. Loads the four curves of a track file, shows the generated
// surface lit under an orbiting camera with the key editor on, and writes the curves back on Space.
//
//   quorvane-track [TRACK FILE]     (default Assets/Data/track.txt, run from the run directory)
//
// Drag a key's marker with the left mouse button; Space saves; Z pauses the orbit; Up and Down
// move the camera in and out; Escape or closing the window quits.
#include "core/cInputSystemSDL.h"
#include "core/cSystemWrapper.h"
#include "core/glWindow.h"
#include "render/cRenderer.h"
#include "resources/cResourceManger.h"
#include "scene/cScenegraph.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

namespace {

// The keyboard without Escape: the window ends the loop on Escape, so quitting is a normal exit.
class cKeysButEscape : public qvr::cKeySource {
public:
    bool queryKey(qvr::eInputKey key) override
    {
        return key != qvr::kKeyEscape && qvr::getKeyboardKeySource().queryKey(key);
    }
};

struct cEditor {
    std::string path;
    qvr::cTrackNode* track = nullptr;
    cKeysButEscape keys;
    qvr::cInputSystemSDL input{&keys};
    float angle = 0.6f;
    float distance = 4200.0f;
    bool orbiting = true;
    uint32_t lastMs = 0;
};

cEditor& editor()
{
    static cEditor state;
    return state;
}

// Writes next to the file first, so a failed write leaves the old track as it was.
bool saveTrack(const cEditor& e)
{
    const std::string partial = e.path + ".partial";
    {
        std::ofstream out(partial, std::ios::binary);
        if (!e.track->writeCurves(out) || !out.flush()) {
            std::fprintf(stderr, "quorvane-track: cannot write %s; the track file is unchanged\n", partial.c_str());
            return false;
        }
    }
    std::error_code error;
    std::filesystem::rename(partial, e.path, error);
    if (error) {
        std::fprintf(stderr, "quorvane-track: cannot replace %s: %s\n", e.path.c_str(), error.message().c_str());
        return false;
    }
    std::printf("saved %s\n", e.path.c_str());
    std::fflush(stdout);
    return true;
}

void placeCamera(cEditor& e, float seconds)
{
    if (e.orbiting && e.track->selectedCurve < 0) {
        e.angle += seconds * 0.12f;
    }
    if (e.input.isDown(2)) {
        e.distance = std::max(800.0f, e.distance - seconds * 3000.0f);
    }
    if (e.input.isDown(3)) {
        e.distance = std::min(20000.0f, e.distance + seconds * 3000.0f);
    }
    qvr::cCameraNode* camera = qvr::getScenegraph().getActiveCamera();
    camera->lookAtMode = true;
    camera->setLookAt(qvr::cVec3f(0.0f, 0.0f, 0.0f), qvr::cVec3f(0.0f, 1.0f, 0.0f));
    camera->setPosition(qvr::cVec3f(e.distance * std::cos(e.angle), e.distance * 0.5f, e.distance * std::sin(e.angle)));
}

bool frame()
{
    cEditor& e = editor();
    const uint32_t now = qvr::getSystemWrapper().getTimeMs();
    const float seconds = e.lastMs == 0 ? 0.0f : static_cast<float>(qvr::elapsedMs(e.lastMs, now)) / 1000.0f;
    e.lastMs = now;
    e.input.poll();
    if (e.input.justPressed(6)) {
        saveTrack(e);
    }
    if (e.input.justPressed(7)) {
        e.orbiting = !e.orbiting;
    }
    placeCamera(e, seconds);
    qvr::getRenderer().drawFrame(qvr::getScenegraph(), 0.0f);
    const int32_t spent = qvr::elapsedMs(now, qvr::getSystemWrapper().getTimeMs());
    if (spent < qvr::cSystemWrapper::kFrameMs) {
        std::this_thread::sleep_for(std::chrono::milliseconds(qvr::cSystemWrapper::kFrameMs - spent));
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    cEditor& e = editor();
    e.path = argc > 1 ? argv[1] : "Assets/Data/track.txt";
    std::ifstream in(e.path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "quorvane-track: cannot open %s\n", e.path.c_str());
        return 2;
    }
    qvr::cScenegraph& graph = qvr::getScenegraph();
    e.track = graph.createTrackNode();
    graph.getRoot()->addChild(e.track);
    if (!e.track->readCurves(in, e.path)) {
        return 2;
    }
    e.track->editing = true;
    // The surface hides the lower half of every marker: taller markers keep the upper half in view
    // (and the picking sphere grows with them).
    e.track->markerSize = 100.0f;
    e.track->getMaterial();  // its own material makes the renderer visit it for the editor
    e.track->getSurface()->getMaterial().load("Assets/Mat/track.mat", false);
    if (!e.track->generateSurface()) {
        return 2;
    }
    qvr::getResourceManager().loadResourceList("Assets/Data/resources.dat");
    if (!qvr::createGlWindow(800, 600, "Quorvane track editor", false)) {
        return 1;
    }
    placeCamera(e, 0.0f);
    qvr::getRenderer().setClearColor(0.02f, 0.03f, 0.065f, 1.0f);
    qvr::getRenderer().prepareSceneGraph(graph);
    qvr::getRenderer().prepareScene(graph);
    std::printf("quorvane-track: %s; drag the markers with the mouse, Space saves, Z pauses the orbit, "
                "Up/Down zoom, Escape quits\n", e.path.c_str());
    std::fflush(stdout);
    qvr::setRenderCallback(frame);
    qvr::pumpMessages();
    return 0;
}
