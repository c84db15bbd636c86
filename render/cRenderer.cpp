// The renderer's traversal: frame over cameras and passes, material application order,
// preparation and release of subtrees.
#include "render/cRenderer.h"

#include <algorithm>
#include <cmath>

namespace qvr {

namespace {

// Spherical interpolation without choosing the shorter arc and without renormalising.
cQuaternion slerp(const cQuaternion& q0, const cQuaternion& q1, float t)
{
    const float d = std::clamp(q0.w * q1.w + q0.x * q1.x + q0.y * q1.y + q0.z * q1.z, -1.0f, 1.0f);
    float a = 1.0f - t;
    float b = t;
    if (1.0f - d > 0.0001f) {
        const float theta = std::acos(d);
        a = std::sin((1.0f - t) * theta) / std::sin(theta);
        b = std::sin(t * theta) / std::sin(theta);
    }
    return cQuaternion(a * q0.w + b * q1.w, a * q0.x + b * q1.x, a * q0.y + b * q1.y,
                       a * q0.z + b * q1.z);
}

} // namespace

void cRenderer::drawFrame(cScenegraph& scenegraph, float time)
{
    scenegraph.update(scenegraph.getRoot(), time);
    cCameraNode* mainCamera = scenegraph.getActiveCamera();
    int32_t mainIndex = -1;
    cSpatialNode* vehicle = scenegraph.findNode("Vehicle");
    const int32_t cameraCount = scenegraph.getCameraCount();

    for (int32_t i = 0; i <= cameraCount; ++i) {
        mRenderables.clear();
        mPassNodes.clear();
        mPassIndices.clear();
        int32_t cameraIndex = mainIndex;
        if (i < cameraCount) {
            if (scenegraph.getCamera(i) == mainCamera) {
                mainIndex = i;
                continue;  // the main camera is drawn last
            }
            scenegraph.setActiveCamera(scenegraph.getCamera(i));
            cameraIndex = i;
        } else {
            scenegraph.setActiveCamera(mainCamera);
        }
        cCameraNode* camera = scenegraph.getActiveCamera();
        chaseVehicle(camera, vehicle);
        beginCamera(camera);

        bool collected = false;
        const int32_t passes = camera ? camera->getRenderPassCount() : 0;
        for (int32_t j = 0; j < passes; ++j) {
            cRenderPass& pass = camera->getRenderPass(j);
            if ((camera != mainCamera && pass.mainCameraOnly) || pass.target.kind != kTargetTexture) {
                continue;
            }
            if (!collected) {
                scenegraph.collectRenderables(cameraIndex, mRenderables);
                mPassNodes.assign(mRenderables.size(), nullptr);
                mPassIndices.assign(mRenderables.size(), 0);
                collected = true;
            }
            scenegraph.selectPassNodes(mRenderables, mPassNodes, mPassIndices, pass);
            drawView(mPassNodes, mPassIndices, camera, &pass, time);
        }
        if (i == cameraCount) {
            if (!collected) {
                scenegraph.collectRenderables(cameraIndex, mRenderables);
            }
            mPassIndices.clear();
            drawView(mRenderables, mPassIndices, camera, nullptr, time);
        }
    }
    drawPostProcess(scenegraph.getPostProcessChain(), scenegraph.getPostProcessSteps(), time);
    drawOverlay(scenegraph);
}

void cRenderer::chaseVehicle(cCameraNode* camera, cSpatialNode* vehicle)
{
    if (!camera || !vehicle) {
        return;
    }
    if (!mChaseStarted) {
        mChaseStarted = true;
        mChasePoint = cVec3f();
        mChaseOffset = cVec3f();
    }
    const cQuaternion rotation = slerp(camera->peekRotation(), vehicle->peekRotation(), 0.3f);
    mChasePoint = vehicle->getPosition().plus(rotation.rotateVector(cVec3f(0.0f, 0.8f, -3.8f)));
    mChaseOffset = mChasePoint;
    mChaseOffset.subtract(camera->getPosition());
    camera->getRotation() = rotation;
    camera->placeAt(camera->getPosition().plus(mChaseOffset));
}

void cRenderer::applyMaterial(cMaterial* material, float)
{
    mCurrentMaterial = material;
    if (!material) {
        return;
    }
    applyBlendingState(material->getBlendingState());
    bindShaderProgram(material->getShaderState());
    applyShaderVariables(material->getShaderState());
    applyPrimitiveState(material->getPrimitiveState());
    for (int32_t unit = 0; unit < cMaterial::kTextureUnits; ++unit) {
        cTextureState& texture = material->getTextureState(unit);
        if (texture.getSource() != kTextureNone) {
            applyTextureState(texture);
        }
    }
    applyZBufferState(material->getZBufferState());
}

void cRenderer::drawSubtree(cSpatialNode* node, float time, int32_t materialIndex,
                            cMaterial* overrideMaterial)
{
    visitPreOrder(node, [&](cSpatialNode* n) {
        drawNode(n, time, materialIndex, overrideMaterial);
        return true;
    });
}

void cRenderer::prepareSubtree(cSpatialNode* node)
{
    visitPreOrder(node, [&](cSpatialNode* n) {
        n->update(0.0f, n->getParent());
        prepareNode(n);
        if (n->getType() == kNodeCamera) {
            prepareCameraTargets(static_cast<cCameraNode*>(n));
        }
        return true;
    });
}

void cRenderer::prepareMaterial(cMaterial& material, cSpatialNode* node)
{
    for (int32_t unit = 0; unit < cMaterial::kTextureUnits; ++unit) {
        createTexture(material.getTextureState(unit), node);
    }
    createShaderProgram(material.getShaderState(), node);
    createVertexBuffers(material.getPrimitiveState(), node);
}

void cRenderer::prepareNode(cSpatialNode* node)
{
    if (cSpatialNode::cMaterialList* own = node->getMaterials()) {
        for (cMaterial& material : *own) {
            prepareMaterial(material, node);
        }
    }
    if (cSpatialNode::cMaterialList* effective = node->getEffectiveMaterials()) {
        for (cMaterial& material : *effective) {
            createVertexBuffers(material.getPrimitiveState(), node);
        }
    }
}

void cRenderer::releaseSubtree(cSpatialNode* node)
{
    visitPreOrder(node, [&](cSpatialNode* n) {
        if (cSpatialNode::cMaterialList* own = n->getMaterials()) {
            for (cMaterial& material : *own) {
                for (int32_t unit = 0; unit < cMaterial::kTextureUnits; ++unit) {
                    releaseTexture(material.getTextureState(unit));
                }
                if (n->getType() == kNodeGeometry) {
                    releaseVertexBuffers(n, material.getPrimitiveState());
                }
            }
        }
        return true;
    });
}

void cRenderer::prepareSceneGraph(cScenegraph& scenegraph)
{
    scenegraph.update(scenegraph.getRoot(), 0.0f);
    prepareSubtree(scenegraph.getRoot());
}

int32_t cRenderer::addDynamicImage(cDynamicImage* image)
{
    mDynamicImages.push_back(image);
    return static_cast<int32_t>(mDynamicImages.size()) - 1;
}

} // namespace qvr
