// The one window with its OpenGL context, its viewport and projection, and the message loop that
// draws one frame per idle pass. It does not pace frames or read the keyboard for the demo (the
// system layer and the input system do); of the keys it acts only on Escape.
#pragma once

#include <cstdint>

namespace qvr {

//! Called once per idle pass between the clear and the swap; false ends the loop unswapped.
using cRenderCallback = bool (*)();

//! Opens the video system, then the window (fullscreen in an exact width x height mode when asked
//! and available) and its context. Failures show the matching error box and return false.
bool createGlWindow(int32_t width, int32_t height, const char* title, bool fullscreen);
//! Creates and activates the GL context, shows the window, sets the viewport and initial state.
bool createGlContext();
//! Deactivates and deletes the GL context.
void releaseGlContext();
//! Deletes the context, destroys the window (leaving fullscreen) and shuts SDL down. Runs by
//! itself when the process exits after a window was created.
void closeVideo();
//! Stores the size, sets the viewport and a 45-degree projection (a height of 0 counts as 1 for
//! both, but is stored as 0).
void resizeGlScene(int32_t width, int32_t height);
//! Depth clear value and test, perspective hint, then the extension loader.
void initGlState();
void setRenderCallback(cRenderCallback callback);
//! Clear, render callback, swap. False when the callback returned false.
bool drawGlFrame();
void swapGlBuffers();
//! Runs the message loop until the window is closed, Escape is pressed or a frame fails.
void pumpMessages();

//! Size stored by the last createGlWindow or resizeGlScene.
int32_t getWindowWidth();
int32_t getWindowHeight();
//! Whether the extension loader found the GL 2 entry points the renderer needs.
bool isGlewLoaded();

} // namespace qvr
