// The sculpture scene: the sculpture on its pivot, the circling camera, the picture and the fade.
#include "demo/sculptureScene.h"

#include "demo/demoState.h"
#include "demo/sceneToolkit.h"

#include <cmath>

namespace demo {

using namespace qvr;

cSculptureScene& sculptureScene()
{
    static cSculptureScene scene;
    return scene;
}

void buildSculptureScene()
{
    cSculptureScene& s = sculptureScene();
    s.water = loadWaterPlane("Assets/Mat/water2.mat", false, "buildSculptureScene");
    s.sculpture = loadMeshFile("Assets/abstra.QVS", "buildSculptureScene");
    s.pivot = demoScenegraph().createSpatialNode();
    demoScenegraph().insertParent(s.pivot, s.sculpture);
    loadMaterial(s.sculpture, "Assets/Mat/abstra.mat");
    addOverlayQuad(s.overlayQuad);
    addOverlayQuad(s.fadeQuad);
    loadMaterial(s.fadeQuad, "Assets/Mat/toColor.mat");
    setFragmentFloat(s.fadeQuad, "fadeToColor", 0.0f);
    setPictureId(s.overlayQuad, 34);
    scaleBy(s.water, 40.0f);
    hideSculptureScene();

    if (!makeMainCameraObjects()) {
        glowPass().exclude.clear();
    }
    makeReflectionCamera(s.water, false);
}

void hideSculptureScene()
{
    cSculptureScene& s = sculptureScene();
    setVisible({s.pivot, s.water, s.overlayQuad, s.fadeQuad}, false);
}

void updateSculptureScene()
{
    cSculptureScene& s = sculptureScene();
    s.camera = activateMainCamera();
    setReflectionPass(false, {s.water});
    setVisible({s.water, s.pivot, s.overlayQuad}, true);
    setFragmentFloat(s.overlayQuad, "fadeToColor", 1.0f);
    s.pivot->getMaterial().getPrimitiveState().setCullMode(2);
    s.clock += static_cast<float>(demoFrameTimeMs) * 0.001f;

    const float c = s.clock;
    const cVec3f position(1220.0f * std::sin(1.2f * c), 879.0f, 1220.0f * std::cos(1.2f * c));
    const cVec3f target(0.0f, 400.0f, 0.0f);
    aimCamera(s.camera, position, target);
    aimCamera(sharedObjects().reflectionCamera, position, target);
    s.pivot->setPosition(cVec3f(0.0f, 830.0f, 0.0f));

    const cVec3f axis(std::sin(0.3f * c), std::sin(0.6f * c) + 0.2f, std::cos(0.123f * c));
    s.sculpture->getRotation().setAxisAngle(std::sin(c) * 5.75f, axis);
    setVertexFloat(s.sculpture, "anim", c * 2.3f);
    setVertexVec3(s.sculpture, "posOff", cVec3f(0.0f, 800.0f, 0.0f));

    s.fadeQuad->setVisible(true);
    fadeToColorRamp(s.fadeQuad, 52650, 54050, 0.0f, 1.0f);
}

} // namespace demo
