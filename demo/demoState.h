// The demo clock and the engine services the scenes work through. The scenes draw nothing and
// open no window themselves: the scene graph, renderer and input system come from here.
#pragma once

#include "core/cInputSystem.h"
#include "render/cRenderer.h"
#include "scene/cScenegraph.h"

#include <cstdint>

namespace demo {

//! Demo clock in ms: the sum of the frame times below 10000 ms.
extern int32_t demoTimeMs;
//! This frame's frame time in ms, as the system layer reported it.
extern int32_t demoFrameTimeMs;

//! What the scenes use instead of reaching for the process-wide objects themselves.
struct cDemoServices {
    qvr::cScenegraph* scenegraph = nullptr;
    qvr::cRenderer* renderer = nullptr;
    qvr::cInputSystem* input = nullptr;
};

//! The services in use; each one the process-wide object until replaced.
qvr::cScenegraph& demoScenegraph();
qvr::cRenderer& demoRenderer();
qvr::cInputSystem& demoInput();
//! Replaces the services (null members keep the process-wide object). Not owned.
void setDemoServices(const cDemoServices& services);

//! Puts the clock (and the timeline's first-frame state), every scene's variables, the shared object handles and the random sequence
//! back to their values at process start, for programs that build the show more than once into
//! fresh scene graphs (tests, tools). The nodes themselves belong to the scene graph.
void resetDemo();

} // namespace demo
