// The scene tests' world: null renderer, scripted keys, run directory.
#include "tests/demo/demoWorld.h"

#include "demo/timeline.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace demo::test {

using namespace qvr;

void cRecordingRenderer::prepareScene(cScenegraph& graph)
{
    log.push_back("prepareScene");
    preparePostProcessChain(graph.getPostProcessChain());
}

void cRecordingRenderer::prepareCameraTargets(cCameraNode* camera)
{
    for (int32_t i = 0; i < camera->getRenderPassCount(); ++i) {
        cRenderTarget& target = camera->getRenderPass(i).target;
        if (target.kind == kTargetTexture && target.id == -1) {
            target.id = nextTargetId++;
        }
    }
}

void cRecordingRenderer::preparePostProcessChain(std::vector<cPostProcessStep>& chain)
{
    for (cPostProcessStep& step : chain) {
        if (step.target.kind == kTargetTexture && step.target.id == -1) {
            step.target.id = nextTargetId++;
        }
    }
}

void cRecordingRenderer::drawView(const std::vector<cSpatialNode*>& nodes, const std::vector<int32_t>& indices,
                                  cCameraNode* camera, cRenderPass* pass, float time)
{
    cNullRenderer::drawView(nodes, indices, camera, pass, time);
    if (pass) {
        return;
    }
    ++framesDrawn;
    drawnOnScreen.clear();
    for (cSpatialNode* node : nodes) {
        if (node) {
            drawnOnScreen.insert(node);
        }
    }
}

void cRecordingRenderer::drawPostProcess(std::vector<cPostProcessStep>& chain, const std::vector<int32_t>& steps,
                                         float time)
{
    cNullRenderer::drawPostProcess(chain, steps, time);
    postSteps = static_cast<int32_t>(steps.size());
}

cDemoWorld::cDemoWorld(bool build)
{
    char buffer[4096];
    mPreviousDir = getcwd(buffer, sizeof buffer) ? buffer : ".";
    if (chdir(QVR_RUN_DIR) != 0) {
        ADD_FAILURE() << "no run directory " << QVR_RUN_DIR;
    }
    resetDemo();
    setDemoServices({&graph, &renderer, &input});
    if (build) {
        buildShow();
    }
}

cDemoWorld::~cDemoWorld()
{
    setDemoServices({});
    resetDemo();
    if (chdir(mPreviousDir.c_str()) != 0) {
        ADD_FAILURE() << "cannot return to " << mPreviousDir;
    }
}

void cDemoWorld::advance(int32_t frameMs)
{
    input.poll();
    demoFrameTimeMs = frameMs;
    demoTimeMs += frameMs;
}

void cDemoWorld::at(int32_t demoMs, int32_t frameMs)
{
    demoTimeMs = demoMs;
    demoFrameTimeMs = frameMs;
}

namespace {

cShaderVariables& vars(cSpatialNode* node, bool fragment)
{
    cShaderState& shader = node->getMaterial().getShaderState();
    return fragment ? shader.fragmentVars() : shader.vertexVars();
}

} // namespace

float fragmentFloat(cSpatialNode* node, const std::string& name)
{
    return vars(node, true).floats[name].getConstant();
}

float vertexFloat(cSpatialNode* node, const std::string& name)
{
    return vars(node, false).floats[name].getConstant();
}

cVec3f vertexVec3(cSpatialNode* node, const std::string& name)
{
    return vars(node, false).vec3s[name].getConstant();
}

} // namespace demo::test
