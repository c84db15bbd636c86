// The system layer on SDL2.
#include "core/cSystemWrapperSDL.h"

#include "core/cFrameListenerRegistry.h"
#include "core/glWindow.h"
#include "core/messageBox.h"

#include <GL/gl.h>
#include <SDL.h>

namespace qvr {

bool cSystemWrapperSDL::openWindowAndRun(const char* title, int32_t width, int32_t height, bool)
{
    const bool fullscreen = askYesNo("Do you want to fullscreen?", "Quorvane");
    cSystemWrapper::openWindowAndRun(title, width, height, fullscreen);
    if (!createGlWindow(width, height, title, fullscreen)) {
        return false;
    }
    setRenderCallback([] { return getSystemWrapper().runFrame(); });
    getFrameListenerRegistry().dispatch(kEventStart);
    pumpMessages();
    return true;
}

void cSystemWrapperSDL::setDefaultClearColor()
{
    glClearColor(0.005f, 0.005f, 0.005f, 0.0f);
}

uint32_t cSystemWrapperSDL::getTimeMs()
{
    return SDL_GetTicks();
}

cSystemWrapper& getSystemWrapper()
{
    static cSystemWrapperSDL* system = new cSystemWrapperSDL();
    return *system;
}

} // namespace qvr
