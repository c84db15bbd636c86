// The renderer interface: the frame traversal over cameras and render passes, and the fixed order
// in which a material's states are applied. It owns no GL objects itself (cOglRenderer does) and
// does not decide what the scene contains.
#pragma once

#include "render/cDynamicImage.h"
#include "scene/cScenegraph.h"
#include "states/cMaterial.h"

#include <cstdint>
#include <vector>

namespace qvr {

class cRenderer {
public:
    virtual ~cRenderer() = default;

    //! Updates the scene graph, draws the passes of every camera (the active camera last), its
    //! view to the screen, the post-processing chain and the overlay. The active camera is the
    //! same afterwards.
    virtual void drawFrame(cScenegraph& scenegraph, float time);
    virtual void drawOverlay(cScenegraph& scenegraph) = 0;
    virtual void initOverlay(cScenegraph& scenegraph) = 0;
    //! Prepares the post-processing chain.
    virtual void prepareScene(cScenegraph& scenegraph) = 0;
    //! Makes material current and applies, in order: blending, program, shader variables,
    //! primitive, texture units 0-7 (units without a source skipped), depth. Null only clears the
    //! current material.
    virtual void applyMaterial(cMaterial* material, float time);
    //! drawNode for node, then its subtree in child order.
    virtual void drawSubtree(cSpatialNode* node, float time, int32_t materialIndex,
                             cMaterial* overrideMaterial);
    //! Updates and prepares node and its subtree (materials, buffers, camera targets).
    virtual void prepareSubtree(cSpatialNode* node);
    virtual void drawNode(cSpatialNode* node, float time, int32_t materialIndex,
                          cMaterial* overrideMaterial) = 0;
    virtual void applyShaderVariables(cShaderState& state) = 0;
    virtual void bindShaderProgram(cShaderState& state) = 0;
    virtual void applyTextureState(cTextureState& state) = 0;
    virtual void applyZBufferState(const cZBufferState& state) = 0;
    virtual void applyBlendingState(const cBlendingState& state) = 0;
    virtual void applyPrimitiveState(const cPrimitiveState& state) = 0;
    //! Textures, program and buffers of one material.
    virtual void prepareMaterial(cMaterial& material, cSpatialNode* node);
    //! The node's own materials, and buffers for every effective material.
    virtual void prepareNode(cSpatialNode* node);
    virtual void createShaderProgram(cShaderState& state, cSpatialNode* node) = 0;
    virtual void createTexture(cTextureState& state, cSpatialNode* node) = 0;
    virtual void createVertexBuffers(const cPrimitiveState& state, cSpatialNode* node) = 0;
    virtual void beginCamera(cCameraNode* camera) = 0;
    //! Draws nodes (null entries skipped) through camera, into pass's target when given.
    virtual void drawView(const std::vector<cSpatialNode*>& nodes,
                          const std::vector<int32_t>& materialIndices, cCameraNode* camera,
                          cRenderPass* pass, float time) = 0;
    virtual void prepareCameraTargets(cCameraNode* camera) = 0;
    virtual void preparePostProcessChain(std::vector<cPostProcessStep>& chain) = 0;
    //! Releases the textures and buffers of the subtree's own materials.
    virtual void releaseSubtree(cSpatialNode* node);
    virtual void releaseTexture(cTextureState& state) = 0;
    virtual void releaseShaderProgram(cShaderState& state) = 0;
    virtual void releaseVertexBuffers(cSpatialNode* node, const cPrimitiveState& state) = 0;
    virtual void drawPostProcess(std::vector<cPostProcessStep>& chain,
                                 const std::vector<int32_t>& steps, float time) = 0;
    //! 800 x 600 units, origin bottom left, depth writes off; end2D restores both matrix stacks.
    virtual void begin2D() = 0;
    virtual void end2D() = 0;

    //! Updates the whole graph at time 0 and prepares it from the root.
    void prepareSceneGraph(cScenegraph& scenegraph);
    //! Start of a demo frame: clears colour and depth, resets the modelview matrix, then sets
    //! the clear colour to black for what follows. Nothing without GL.
    virtual void clearFrame() {}
    //! The colour later clears use (the passes' targets and the next frame). Nothing without GL.
    virtual void setClearColor(float, float, float, float) {}
    //! Switches face culling on; materials then choose the face. Nothing without GL.
    virtual void enableFaceCulling() {}
    //! Takes every pending GL error and prints the first one of the run, with the demo time, on
    //! standard output. Nothing without GL.
    virtual void reportGlErrors(int32_t) {}

    //! The material applied last; null before the first.
    cMaterial* getCurrentMaterial() const { return mCurrentMaterial; }

    //! Registers an image (not owned; it must outlive its textures) for textures of source 3;
    //! returns the texture id that names it.
    int32_t addDynamicImage(cDynamicImage* image);
    const std::vector<cDynamicImage*>& getDynamicImages() const { return mDynamicImages; }

protected:
    //! Follows the "Vehicle" node with the active camera (nothing when either is missing).
    void chaseVehicle(cCameraNode* camera, cSpatialNode* vehicle);

    cMaterial* mCurrentMaterial = nullptr;
    std::vector<cDynamicImage*> mDynamicImages;

private:
    std::vector<cSpatialNode*> mRenderables;
    std::vector<cSpatialNode*> mPassNodes;
    std::vector<int32_t> mPassIndices;
    bool mChaseStarted = false;
    cVec3f mChasePoint;
    cVec3f mChaseOffset;
};

//! The process-wide renderer (the OpenGL one), created on first use; a GL context must be current
//! whenever it is used.
cRenderer& getRenderer();

} // namespace qvr
