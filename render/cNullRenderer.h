// A renderer that walks every frame as the OpenGL one does (cameras, passes, materials in their
// order, the post-processing chain) and makes no GL call: for updating the show without a context,
// for skipping the drawing of frames, and for measuring the engine's own share of a frame.
#pragma once

#include "render/cRenderer.h"

namespace qvr {

class cNullRenderer : public cRenderer {
public:
    void drawOverlay(cScenegraph&) override {}
    void initOverlay(cScenegraph&) override {}
    void prepareScene(cScenegraph&) override {}
    //! Applies the node's effective material at index.
    void drawNode(cSpatialNode* node, float time, int32_t materialIndex, cMaterial* overrideMaterial) override;
    //! Evaluates the variables, as uploading them would.
    void applyShaderVariables(cShaderState& state) override;
    void bindShaderProgram(cShaderState&) override {}
    void applyTextureState(cTextureState&) override {}
    void applyZBufferState(const cZBufferState&) override {}
    void applyBlendingState(const cBlendingState&) override {}
    void applyPrimitiveState(const cPrimitiveState&) override {}
    void createShaderProgram(cShaderState&, cSpatialNode*) override {}
    void createTexture(cTextureState&, cSpatialNode*) override {}
    void createVertexBuffers(const cPrimitiveState&, cSpatialNode*) override {}
    void beginCamera(cCameraNode*) override {}
    void drawView(const std::vector<cSpatialNode*>& nodes, const std::vector<int32_t>& materialIndices,
                  cCameraNode* camera, cRenderPass* pass, float time) override;
    void prepareCameraTargets(cCameraNode*) override {}
    void preparePostProcessChain(std::vector<cPostProcessStep>&) override {}
    void releaseTexture(cTextureState&) override {}
    void releaseShaderProgram(cShaderState&) override {}
    void releaseVertexBuffers(cSpatialNode*, const cPrimitiveState&) override {}
    //! Applies each step's material in index order.
    void drawPostProcess(std::vector<cPostProcessStep>& chain, const std::vector<int32_t>& steps,
                         float time) override;
    void begin2D() override {}
    void end2D() override {}

    //! Sum of the evaluated variables, so the evaluation cannot be optimised away.
    float sink() const { return mSink; }

private:
    float mSink = 0.0f;
};

} // namespace qvr
