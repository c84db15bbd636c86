// A program on the application shell for the display tests: opens the window the way the demo
// does, records what the frame events see, and prints it as key=value lines when the loop ends.
#include "core/cFrameListenerRegistry.h"
#include "core/cMouseState.h"
#include "core/cSystemWrapper.h"
#include "core/glWindow.h"

#include <GL/glew.h>
#include <SDL.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

struct cProbe {
    int startCalls = 0;
    int frames = 0;
    bool startBeforeFrame = false;
    int minFrameMs = INT_MAX;
    bool glew = false;
    std::string glVersion;
    int width = 0;
    int height = 0;
    bool fullscreen = false;
} gProbe;

void onStart()
{
    ++gProbe.startCalls;
    gProbe.startBeforeFrame = gProbe.frames == 0;
    const GLubyte* version = glGetString(GL_VERSION);
    gProbe.glVersion = version ? reinterpret_cast<const char*>(version) : "";
    gProbe.glew = qvr::isGlewLoaded();
    if (SDL_Window* window = SDL_GL_GetCurrentWindow()) {
        SDL_GetWindowSize(window, &gProbe.width, &gProbe.height);
        gProbe.fullscreen = (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN) != 0;
    }
    std::printf("started\n");
    std::fflush(stdout);
}

void onFrame()
{
    ++gProbe.frames;
    if (gProbe.frames > 1) {
        const int frameMs = qvr::getSystemWrapper().getFrameTimeMs();
        gProbe.minFrameMs = frameMs < gProbe.minFrameMs ? frameMs : gProbe.minFrameMs;
    }
}

} // namespace

int main()
{
    qvr::getFrameListenerRegistry().addCallback(qvr::kEventFrame, onFrame);
    qvr::getFrameListenerRegistry().addCallback(qvr::kEventStart, onStart);
    const bool ran = qvr::getSystemWrapper().openWindowAndRun("Quorvane", 800, 600, false);
    std::printf("ran=%d\nstart_calls=%d\nstart_before_frame=%d\nframes=%d\nmin_frame_ms=%d\n"
                "glew=%d\ngl_version=%s\nwindow=%dx%d\nfullscreen=%d\nmouse=%d,%d,%d\n",
                ran, gProbe.startCalls, gProbe.startBeforeFrame, gProbe.frames, gProbe.minFrameMs,
                gProbe.glew, gProbe.glVersion.c_str(), gProbe.width, gProbe.height,
                gProbe.fullscreen, static_cast<int>(qvr::getMouseState().x),
                static_cast<int>(qvr::getMouseState().y), qvr::getMouseState().button ? 1 : 0);
    return ran ? 0 : EXIT_FAILURE;
}
