// The ice tree scene: tree, branch particles, the wandering sphere and the mirrored ice camera.
#include "demo/iceTreeScene.h"

#include "demo/demoState.h"
#include "demo/sceneToolkit.h"

#include <cmath>

namespace demo {

using namespace qvr;

cIceTreeScene& iceTreeScene()
{
    static cIceTreeScene scene;
    return scene;
}

void buildTreeParticles()
{
    cIceTreeScene& s = iceTreeScene();
    cGeometryNode* branch = findGeometry(s.tree, "Branc", "Assets/tree.QVS", "buildTreeParticles");
    if (!s.particles) {
        s.particles = demoScenegraph().createGeometryNode();
        branch->addChild(s.particles);
    }
    const cVec3Array& source = branch->getPositions();
    for (size_t i = 0; i < source.size(); i += 2) {
        s.particles->getPositions().push_back(source[i]);
    }
    loadMaterial(s.particles, "Assets/Mat/treeparticle.mat");
}

void buildIceTreeScene()
{
    cIceTreeScene& s = iceTreeScene();
    s.water = loadWaterPlane("Assets/Mat/water2.mat", false, "buildIceTreeScene");
    s.tree = loadMeshFile("Assets/tree.QVS", "buildIceTreeScene");
    s.sphere = loadMeshFile("Assets/sphere.QVS", "buildIceTreeScene");
    loadMaterial(s.sphere, "Assets/Mat/sphereice.mat");
    buildTreeParticles();
    loadMaterial(s.tree, "Assets/Mat/ice.mat");
    scaleBy(s.water, 40.0f);
    addOverlayQuad(s.fadeQuad);
    loadMaterial(s.fadeQuad, "Assets/Mat/toColor.mat");
    setFragmentFloat(s.fadeQuad, "fadeToColor", 1.0f);
    hideIceTreeScene();

    if (!makeMainCameraObjects()) {
        glowPass().exclude.clear();
    }
    if (!s.iceCamera) {
        s.iceCamera = makeMirrorCamera(true);
        demoRenderer().prepareSubtree(s.iceCamera);
    } else {
        s.iceCamera->lookAtMode = true;
        s.iceCamera->getRenderPass(0).mainCameraOnly = true;
        s.iceCamera->getRenderPass(0).exclude.clear();
    }
}

void hideIceTreeScene()
{
    cIceTreeScene& s = iceTreeScene();
    setVisible({s.water, s.tree, s.sphere, s.fadeQuad}, false);
}

void updateIceTreeScene()
{
    cIceTreeScene& s = iceTreeScene();
    s.fadeQuad->setVisible(true);
    fadeToColorRamp(s.fadeQuad, 86155, 88155, 1.0f, 0.0f);
    fadeToColorRamp(s.fadeQuad, 99491, 101491, 0.0f, 1.0f);
    s.camera = activateMainCamera();
    setVisible({s.water, s.tree}, true);
    s.iceCamera->getRenderPass(0).mainCameraOnly = true;
    s.iceCamera->getRenderPass(0).exclude.clear();
    s.clock += static_cast<float>(demoFrameTimeMs) * 0.001f;

    const float c = s.clock;
    const cVec3f position(720.0f * std::sin(1.2f * c), 279.0f, 720.0f * std::cos(1.2f * c));
    const cVec3f target(0.0f, 400.0f, 0.0f);
    aimCamera(s.camera, position, target);
    aimCamera(s.iceCamera, position, target);

    const cVec3f spherePos(130.0f * std::sin(0.67f * c), 430.0f * std::cos(0.34f * c) + 450.0f,
                           110.0f * std::sin(0.56f * c));
    setVertexVec3(s.tree, "spherePos", spherePos);
    setVertexVec3(s.particles, "spherePos", spherePos);
    s.sphere->setPosition(spherePos);
    s.sphere->setVisible(false);
    setVertexFloat(s.particles, "anim", 363.5f * std::sin(12.3f * c) + 363.5f);
}

} // namespace demo
