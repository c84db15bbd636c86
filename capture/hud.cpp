// The capture tool's heads-up display.
#include "capture/hud.h"

#include "demo/timeline.h"
#include "render/cRenderer.h"
#include "scene/cScenegraph.h"

#include <cstdio>

namespace capture {

namespace {

struct cSceneSpan {
    int32_t fromMs;
    const char* name;
};

const cSceneSpan kScenes[] = {
    {0, "snake city"},       {39000, "sculpture"}, {54650, "extrusion"},    {86155, "ice tree"},
    {101491, "corridor"},    {132712, "extrusion"}, {163924, "title city"},
};

constexpr int32_t kShowMs = 184000;

qvr::cOverlayItem& textItem(qvr::cOverlay& overlay, const char* valueName, float x, float y, const qvr::cVec3f& colour)
{
    qvr::cOverlayItem& item = overlay.addItem(0, qvr::kOverlayText);
    item.value = qvr::findValue(valueName);
    item.x = x;
    item.y = y;
    item.colour = colour;
    item.fontIndex = kHudFont;
    item.prepareMarker = -1;
    return item;
}

} // namespace

const char* sceneNameAt(int32_t demoMs)
{
    const char* name = kScenes[0].name;
    for (const cSceneSpan& span : kScenes) {
        if (demoMs >= span.fromMs) {
            name = span.name;
        }
    }
    return name;
}

std::string clockText(int32_t demoMs)
{
    char text[32];
    std::snprintf(text, sizeof text, "%d:%02d.%d", demoMs / 60000, demoMs / 1000 % 60, demoMs / 100 % 10);
    return text;
}

void cHud::build(qvr::cScenegraph& scenegraph, qvr::cRenderer& renderer)
{
    qvr::registerValue("hudClock", &mClock);
    qvr::registerValue("hudScene", &mScene);
    qvr::registerValue("hudFrameCost", &mCost);
    renderer.initOverlay(scenegraph);
    qvr::cOverlay& overlay = scenegraph.getOverlay();
    overlay.pages.clear();
    const qvr::cVec3f lantern(1.0f, 0.78f, 0.42f), pale(0.78f, 0.86f, 1.0f);

    // A dark band along the bottom keeps the text readable over bright frames.
    qvr::cOverlayItem& band = overlay.addItem(0, qvr::kOverlayImage);
    band.width = 800.0f;
    band.height = 30.0f;
    band.colour = qvr::cVec3f(0.02f, 0.03f, 0.07f);
    band.prepareMarker = -1;

    textItem(overlay, "hudClock", 12.0f, 11.0f, lantern);
    textItem(overlay, "hudScene", 96.0f, 11.0f, pale);
    textItem(overlay, "hudFrameCost", 640.0f, 11.0f, pale);
    qvr::cOverlayItem& bar = overlay.addItem(0, qvr::kOverlayBar);
    bar.value = qvr::findValue("timeUpdate");
    bar.width = 800.0f;
    bar.height = 4.0f;
    bar.barMaximum = kShowMs;
    bar.colour = lantern;
    bar.background = qvr::cVec3f(0.12f, 0.14f, 0.22f);
    bar.prepareMarker = -1;
    overlay.currentPage = 0;
}

void cHud::update(int32_t demoMs, double frameMs)
{
    mClock.text = clockText(demoMs);
    mScene.text = sceneNameAt(demoMs);
    char cost[32] = "";
    if (frameMs >= 0.0) {
        std::snprintf(cost, sizeof cost, "%.1f ms/frame", frameMs);
    }
    mCost.text = cost;
    if (qvr::cOverlayValue* time = qvr::findValue("timeUpdate")) {
        time->type = 0;
        time->intValue = demoMs;
    }
}

} // namespace capture
