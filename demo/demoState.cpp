// The demo clock, the services the scenes use, and the reset of every demo-wide variable.
#include "demo/demoState.h"

#include "demo/corridorScene.h"
#include "demo/extrusionScene.h"
#include "demo/iceTreeScene.h"
#include "demo/sceneToolkit.h"
#include "demo/sculptureScene.h"
#include "demo/snakeCityScene.h"
#include "demo/timeline.h"
#include "demo/titleCityScene.h"
#include "core/cInputSystemSDL.h"
#include "math/random.h"

namespace demo {

int32_t demoTimeMs = 0;
int32_t demoFrameTimeMs = 0;

namespace {

cDemoServices& services()
{
    static cDemoServices current;
    return current;
}

} // namespace

qvr::cScenegraph& demoScenegraph()
{
    return services().scenegraph ? *services().scenegraph : qvr::getScenegraph();
}

qvr::cRenderer& demoRenderer()
{
    return services().renderer ? *services().renderer : qvr::getRenderer();
}

qvr::cInputSystem& demoInput()
{
    return services().input ? *services().input : qvr::getInputSystem();
}

void setDemoServices(const cDemoServices& replacement)
{
    services() = replacement;
}

void resetDemo()
{
    demoTimeMs = 0;
    demoFrameTimeMs = 0;
    sharedObjects() = cSharedObjects();
    snakeCityScene() = cSnakeCityScene();
    sculptureScene() = cSculptureScene();
    extrusionScene() = cExtrusionScene();
    iceTreeScene() = cIceTreeScene();
    corridorScene() = cCorridorScene();
    titleCityScene() = cTitleCityScene();
    resetTimeline();
    qvr::seedRandom(1);
}

} // namespace demo
