// The snake city scene: street and snake blocks, title and fades, three camera views, seed morphs.
#include "demo/snakeCityScene.h"

#include "demo/demoState.h"
#include "demo/sceneToolkit.h"

#include <cmath>

namespace demo {

using namespace qvr;

namespace {

void morphSeeds(cSnakeCityScene& s)
{
    s.cityTimer += demoFrameTimeMs;
    if (s.cityMorphOn && s.cityTimer >= s.cityInterval) {
        reseedBlocks(s.city, s.cityFromSeed, s.cityToSeed, s.cityInterval, s.cityTimer, 50, 300);
    }
    setSeedProgress(s.city, s.cityTimer, s.cityInterval, s.clock);

    s.snakeTimer += demoFrameTimeMs;
    if (s.snakeTimer >= s.snakeInterval) {
        reseedBlocks(s.snake, s.snakeFromSeed, s.snakeToSeed, s.snakeInterval, s.snakeTimer, 650, 1500);
    }
    setSeedProgress(s.snake, s.snakeTimer, s.snakeInterval, s.clock);
}

} // namespace

cSnakeCityScene& snakeCityScene()
{
    static cSnakeCityScene scene;
    return scene;
}

void buildCityBlocks()
{
    cSnakeCityScene& s = snakeCityScene();
    s.city = buildBlockField("Assets/oneblock.qvs", 500, "Assets/Mat/city.mat", s.blockTemplate,
                             [](int32_t i) {
                                 const float t = static_cast<float>(i) * 1.2f;
                                 const float x0 = std::sin(t) * 1000.0f;
                                 const float z = t * 48.0f - 12000.0f;
                                 const float r = static_cast<float>(randomBelow(5000) + 2500);
                                 return std::array<float, 2>{i % 2 == 0 ? x0 + r : x0 - r, z};
                             });
}

void buildSnake()
{
    cSnakeCityScene& s = snakeCityScene();
    s.snake = buildBlockField("Assets/ablock.QVS", 100 * 50, "Assets/Mat/snake.mat", s.blockTemplate,
                              [](int32_t i) {
                                  const float column = static_cast<float>(i % 50);
                                  const float row = static_cast<float>(i / 50);
                                  return std::array<float, 2>{column * 10.0f - 250.0f,
                                                              row * 10.0f - 500.0f};
                              });
}

void buildSnakeCityScene()
{
    cSnakeCityScene& s = snakeCityScene();
    buildCityBlocks();
    buildSnake();
    s.snake->setVisible(false);
    s.water = loadWaterPlane("Assets/Mat/water2.mat", true, "buildSnakeCityScene");
    addOverlayQuad(s.titleQuad);
    addOverlayQuad(s.fadeQuad);
    loadMaterial(s.fadeQuad, "Assets/Mat/toColor.mat");
    setFragmentFloat(s.titleQuad, "fadeToColor", 1.0f);
    setFragmentFloat(s.fadeQuad, "fadeToColor", 0.0f);
    hideSnakeCityScene();

    if (!makeMainCameraObjects()) {
        glowPass().exclude.clear();
    }
    if (!makeReflectionCamera(s.water, false)) {
        sharedObjects().reflectionCamera->lookAtMode = true;
        reflectionPass().mainCameraOnly = false;
        reflectionPass().exclude.push_back(s.water);
    }
}

void hideSnakeCityScene()
{
    cSnakeCityScene& s = snakeCityScene();
    setVisible({s.water, s.snake, s.city, s.titleQuad, s.fadeQuad}, false);
}

void updateSnakeCityScene()
{
    cSnakeCityScene& s = snakeCityScene();
    s.camera = activateMainCamera();
    setVisible({s.water, s.city, s.titleQuad, s.fadeQuad}, true);
    setReflectionPass(false, {s.water, s.titleQuad});
    s.clock += static_cast<float>(demoFrameTimeMs) * 0.001f;

    const cVec3f base(0.0f, 560.0f * std::sin(0.2f * s.clock) + 2290.0f, 6226.0f * std::cos(0.08f * s.clock));
    const cVec3f lookOffsets[3] = {{-1400.0f, 1000.0f, 0.0f}, {0.0f, 0.0f, 400.0f}, {0.0f, -400.0f, 400.0f}};
    s.snake->setPosition(base.plus(cVec3f(0.0f, -1700.0f, 1600.0f)));

    fadeToColorRamp(s.fadeQuad, 6800, 7800, 0.0f, 1.0f);
    if (demoTimeMs >= 7800) {
        fadeToColorRamp(s.fadeQuad, 7800, 8800, 1.0f, 0.0f);
        s.viewIndex = 1;
        s.cityMorphOn = true;
        s.titleQuad->setVisible(false);
        fadeToColorRamp(s.fadeQuad, 14620, 15620, 0.0f, 1.0f);
    }
    if (demoTimeMs >= 15620) {
        fadeToColorRamp(s.fadeQuad, 15620, 16620, 1.0f, 0.0f);
        s.viewIndex = 2;
        s.snake->setVisible(true);
        s.titleQuad->setVisible(false);
    }

    const cVec3f target = base.plus(lookOffsets[s.viewIndex]);
    aimCamera(s.camera, base, target);
    aimCamera(sharedObjects().reflectionCamera, base, target);
    morphSeeds(s);
}

} // namespace demo
