// A hidden window with a current GL context for display tests.
#include "tests/support/glTestContext.h"

#include "core/glWindow.h"

#include <SDL.h>

namespace qvr::test {

cGlTestContext::cGlTestContext()
{
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        mError = SDL_GetError();
        return;
    }
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    mWindow = SDL_CreateWindow("qvr test", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, 800,
                               600, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (!mWindow) {
        mError = SDL_GetError();
        return;
    }
    mContext = SDL_GL_CreateContext(mWindow);
    if (!mContext || SDL_GL_MakeCurrent(mWindow, mContext) != 0) {
        mError = SDL_GetError();
        mContext = nullptr;
        return;
    }
    initGlState();
}

cGlTestContext::~cGlTestContext()
{
    if (mContext) {
        SDL_GL_MakeCurrent(mWindow, nullptr);
        SDL_GL_DeleteContext(mContext);
    }
    if (mWindow) {
        SDL_DestroyWindow(mWindow);
    }
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

} // namespace qvr::test
