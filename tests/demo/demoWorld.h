// A world for the scene tests: a fresh scene graph, a renderer that makes no GL calls, scripted
// keys and the generated run directory as the working directory.
#pragma once

#include "core/cInputSystemSDL.h"
#include "demo/demoState.h"
#include "render/cNullRenderer.h"

#include <set>
#include <string>
#include <vector>

namespace demo::test {

//! Draws nothing; gives render targets ids in creation order as the GL renderer does, and
//! records what the frame asked of it.
class cRecordingRenderer : public qvr::cNullRenderer {
public:
    void prepareScene(qvr::cScenegraph& graph) override;
    void drawView(const std::vector<qvr::cSpatialNode*>& nodes, const std::vector<int32_t>& indices,
                  qvr::cCameraNode* camera, qvr::cRenderPass* pass, float time) override;
    void prepareCameraTargets(qvr::cCameraNode* camera) override;
    void preparePostProcessChain(std::vector<qvr::cPostProcessStep>& chain) override;
    void drawPostProcess(std::vector<qvr::cPostProcessStep>& chain, const std::vector<int32_t>& steps,
                         float time) override;
    void clearFrame() override { log.push_back("clear"); }
    void setClearColor(float r, float, float, float) override { clearRed = r; }
    void enableFaceCulling() override { culling = true; }

    std::vector<std::string> log;
    int32_t nextTargetId = 0;
    int32_t framesDrawn = 0;
    int32_t postSteps = 0;
    float clearRed = -1.0f;
    bool culling = false;
    //! The nodes the screen view of the last frame drew.
    std::set<qvr::cSpatialNode*> drawnOnScreen;
};

//! Keys held down, as the tests script them.
class cScriptedKeys : public qvr::cKeySource {
public:
    bool queryKey(qvr::eInputKey key) override { return held.count(key) != 0; }
    std::set<qvr::eInputKey> held;
};

//! The demo's services pointed at a fresh world for the object's lifetime.
class cDemoWorld {
public:
    //! build: run the six builders in the program's order and prepare the graph.
    explicit cDemoWorld(bool build = true);
    ~cDemoWorld();
    cDemoWorld(const cDemoWorld&) = delete;
    cDemoWorld& operator=(const cDemoWorld&) = delete;

    //! One frame's clock: input sampled, frame time set, demo clock advanced by it.
    void advance(int32_t frameMs);
    //! Sets the demo clock (and this frame's time) without sampling input.
    void at(int32_t demoMs, int32_t frameMs = 33);

    qvr::cScenegraph graph;
    cRecordingRenderer renderer;
    cScriptedKeys keys;
    qvr::cInputSystemSDL input{&keys};

private:
    std::string mPreviousDir;
};

//! Material 0's variables of a node, read back.
float fragmentFloat(qvr::cSpatialNode* node, const std::string& name);
float vertexFloat(qvr::cSpatialNode* node, const std::string& name);
qvr::cVec3f vertexVec3(qvr::cSpatialNode* node, const std::string& name);

} // namespace demo::test
