// The window and GL context on SDL2, and the message loop.
#include "core/glWindow.h"

#include "core/cInputSystemSDL.h"
#include "core/cMouseState.h"
#include "core/messageBox.h"

#include <GL/glew.h>
#include <GL/glu.h>
#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#ifdef QVR_SANITIZE_BUILD
#include <dlfcn.h>
#endif

namespace qvr {

namespace {

struct cWindowState {
    SDL_Window* window = nullptr;
    SDL_GLContext context = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    cRenderCallback renderCallback = nullptr;
    bool glewLoaded = false;
    bool quit = false;
};

cWindowState& windowState()
{
    static cWindowState state;
    return state;
}

// Reports a failure on standard error and in an error box.
bool fail(const char* text)
{
    std::fprintf(stderr, "Quorvane: %s (%s)\n", text, SDL_GetError());
    showMessage(text, "ERROR");
    return false;
}

// Starts SDL's video system on a real display. Without SDL_VIDEODRIVER SDL would fall back to an
// invisible off-screen driver when there is no display; only ask for one explicitly.
#ifdef QVR_SANITIZE_BUILD
// The leak check runs after closeVideo has shut SDL down, and SDL's unloading of the GL libraries
// takes the driver with them: what the driver keeps for the life of the process would then be
// reported from "<unknown module>", with nothing a suppression could name. Mapping the driver and
// its loaders for good keeps those reports attributable to them.
void keepGlDriverMapped()
{
    static bool done = false;
    if (done) {
        return;
    }
    done = true;
    const char* libraries[] = {
        "libEGL_mesa.so.0", "libGLX_mesa.so.0", "libglapi.so.0",
        "/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so", "/usr/lib/aarch64-linux-gnu/dri/swrast_dri.so",
    };
    for (const char* library : libraries) {
        dlopen(library, RTLD_NOW | RTLD_NODELETE);
    }
}
#endif

bool initVideo()
{
    if (SDL_WasInit(SDL_INIT_VIDEO)) {
        return true;
    }
#ifdef QVR_SANITIZE_BUILD
    keepGlDriverMapped();
#endif
    const char* requested = std::getenv("SDL_VIDEODRIVER");
    if (requested && *requested) {
        return SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
    }
    const struct {
        const char* variable;
        const char* driver;
    } displays[] = {{"DISPLAY", "x11"}, {"WAYLAND_DISPLAY", "wayland"}};
    std::string failures;
    for (const auto& [variable, driver] : displays) {
        const char* display = std::getenv(variable);
        if (!display || !*display) {
            continue;
        }
        SDL_SetHint(SDL_HINT_VIDEODRIVER, driver);
        // A busy display server can refuse a connection for a moment: try a few times.
        for (int attempt = 0; attempt < 5; ++attempt) {
            if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) {
                return true;
            }
            SDL_Delay(100);
        }
        failures += std::string(failures.empty() ? "" : "; ") + driver + " on " + display + ": " + SDL_GetError();
    }
    if (failures.empty()) {
        SDL_SetError("no display to open a window on: DISPLAY and WAYLAND_DISPLAY are not set "
                     "(SDL_VIDEODRIVER=offscreen asks for an invisible window)");
    } else {
        SDL_SetError("cannot open the display: %s", failures.c_str());
    }
    return false;
}

// An exact width x height mode of the first display, if it has one.
bool findExactMode(int32_t width, int32_t height, SDL_DisplayMode& found)
{
    const int modes = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < modes; ++i) {
        SDL_DisplayMode mode;
        if (SDL_GetDisplayMode(0, i, &mode) == 0 && mode.w == width && mode.h == height) {
            found = mode;
            return true;
        }
    }
    return false;
}

void resizeToDrawable()
{
    int w = 0, h = 0;
    SDL_GL_GetDrawableSize(windowState().window, &w, &h);
    resizeGlScene(w, h);
}

void handleEvent(const SDL_Event& event)
{
    cWindowState& state = windowState();
    cMouseState& mouse = getMouseState();
    switch (event.type) {
    case SDL_QUIT:
        state.quit = true;
        break;
    case SDL_WINDOWEVENT:
        if (event.window.event == SDL_WINDOWEVENT_CLOSE) {
            releaseGlContext();
            state.quit = true;
        } else if (event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
            resizeToDrawable();
        }
        break;
    case SDL_KEYDOWN:
        latchKeyDown(event.key.keysym.scancode);
        if (event.key.keysym.sym == SDLK_ESCAPE) {
            state.quit = true;
        }
        break;
    case SDL_MOUSEMOTION:
        mouse.x = event.motion.x;
        mouse.y = event.motion.y;
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        mouse.x = event.button.x;
        mouse.y = event.button.y;
        mouse.button = event.type == SDL_MOUSEBUTTONDOWN;
        break;
    default:
        break;
    }
}

} // namespace

bool createGlWindow(int32_t width, int32_t height, const char* title, bool fullscreen)
{
    cWindowState& state = windowState();
    state.width = width;
    state.height = height;
    if (!initVideo()) {
        return fail("Window Creation Error.");
    }
    Uint32 flags = SDL_WINDOW_OPENGL;
    SDL_DisplayMode mode{};
    if (fullscreen) {
        if (findExactMode(width, height, mode)) {
            flags |= SDL_WINDOW_FULLSCREEN;
            SDL_ShowCursor(SDL_DISABLE);
        } else if (!askYesNo("The Requested Fullscreen Mode Is Not Supported By\nYour Video Card. "
                             "Use Windowed Mode Instead?",
                             "Trel GL")) {
            std::fprintf(stderr, "Quorvane: no %dx%d fullscreen mode; Program Will Now Close.\n",
                         static_cast<int>(width), static_cast<int>(height));
            showMessage("Program Will Now Close.", "ERROR");
            return false;
        }
    }
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    state.window = SDL_CreateWindow(title, SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, width,
                                    height, flags);
    if (!state.window) {
        releaseGlContext();
        return fail("Window Creation Error.");
    }
    // However the process ends (end of the show, Escape, a fatal error), the window goes and a
    // fullscreen mode switch is undone.
    static const bool closeAtExit = std::atexit(closeVideo) == 0;
    (void)closeAtExit;
    if (flags & SDL_WINDOW_FULLSCREEN) {
        SDL_SetWindowDisplayMode(state.window, &mode);
    }
    return createGlContext();
}

bool createGlContext()
{
    cWindowState& state = windowState();
    state.context = SDL_GL_CreateContext(state.window);
    if (!state.context) {
        releaseGlContext();
        return fail("Can't Create A GL Rendering Context.");
    }
    if (SDL_GL_MakeCurrent(state.window, state.context) != 0) {
        releaseGlContext();
        return fail("Can't Activate The GL Rendering Context.");
    }
    SDL_ShowWindow(state.window);
    SDL_RaiseWindow(state.window);
    resizeToDrawable();
    initGlState();
    return true;
}

void closeVideo()
{
    releaseGlContext();
    cWindowState& state = windowState();
    if (state.window) {
        SDL_DestroyWindow(state.window);
        state.window = nullptr;
    }
    SDL_Quit();
}

void releaseGlContext()
{
    cWindowState& state = windowState();
    if (state.context) {
        SDL_GL_MakeCurrent(state.window, nullptr);
        SDL_GL_DeleteContext(state.context);
        state.context = nullptr;
    }
}

void resizeGlScene(int32_t width, int32_t height)
{
    cWindowState& state = windowState();
    state.width = width;
    state.height = height;
    if (height == 0) {
        height = 1;
    }
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, static_cast<double>(width) / static_cast<double>(height), 1.0, 1000.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    swapGlBuffers();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void initGlState()
{
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    // On an EGL context GLEW reports a missing GLX display although every entry point loaded.
    const GLenum result = glewInit();
    windowState().glewLoaded = (result == GLEW_OK || result == GLEW_ERROR_NO_GLX_DISPLAY) &&
                               glCreateProgram && glGenFramebuffers && glGenBuffers;
}

void setRenderCallback(cRenderCallback callback)
{
    windowState().renderCallback = callback;
}

bool drawGlFrame()
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    const cRenderCallback callback = windowState().renderCallback;
    if (callback && !callback()) {
        return false;
    }
    swapGlBuffers();
    glFlush();
    return true;
}

void swapGlBuffers()
{
    if (windowState().window) {
        SDL_GL_SwapWindow(windowState().window);
    }
}

void pumpMessages()
{
    cWindowState& state = windowState();
    state.quit = false;
    for (;;) {
        SDL_Event event;
        while (!state.quit && SDL_PollEvent(&event)) {
            handleEvent(event);
        }
        if (state.quit || !drawGlFrame()) {
            return;
        }
    }
}

int32_t getWindowWidth()
{
    return windowState().width;
}

int32_t getWindowHeight()
{
    return windowState().height;
}

bool isGlewLoaded()
{
    return windowState().glewLoaded;
}

} // namespace qvr
