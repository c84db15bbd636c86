// The OpenGL renderer's state application, views and nodes, and 2D mode.
#include "render/cOglRenderer.h"
#include "scene/cTrackNode.h"

#include <GL/glu.h>

#include <cstdio>

namespace qvr {

namespace {

// Model transform of a node: translate(world position) . world rotation . scale(world scale).
void multiplyNodeTransform(const cSpatialNode* node)
{
    const cVec3f& p = node->getWorldPosition();
    glTranslatef(p.x, p.y, p.z);
    glMultMatrixf(node->getWorldRotationMatrix().value);
    const cVec3f& s = node->getWorldScale();
    glScalef(s.x, s.y, s.z);
}

// The material at index of a list; null when there is none.
cMaterial* materialAt(cSpatialNode::cMaterialList* list, int32_t index)
{
    if (!list || index < 0 || static_cast<size_t>(index) >= list->size()) {
        return nullptr;
    }
    return &(*list)[static_cast<size_t>(index)];
}

} // namespace

cRenderer& getRenderer()
{
    static cRenderer* renderer = new cOglRenderer();
    return *renderer;
}

void cOglRenderer::clearFrame()
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
}

void cOglRenderer::setClearColor(float red, float green, float blue, float alpha)
{
    glClearColor(red, green, blue, alpha);
}

void cOglRenderer::enableFaceCulling()
{
    glEnable(GL_CULL_FACE);
}

void cOglRenderer::reportGlErrors(int32_t demoMs)
{
    for (GLenum error = glGetError(); error != GL_NO_ERROR; error = glGetError()) {
        if (!mGlErrorReported) {
            mGlErrorReported = true;
            std::printf("GL error 0x%04x (%s) in the frame at %d ms\n", static_cast<unsigned>(error),
                        reinterpret_cast<const char*>(gluErrorString(error)), static_cast<int>(demoMs));
            std::fflush(stdout);
        }
    }
}

void cOglRenderer::prepareScene(cScenegraph& scenegraph)
{
    preparePostProcessChain(scenegraph.getPostProcessChain());
}

void cOglRenderer::applyBlendingState(const cBlendingState& state)
{
    switch (state.getMode()) {
    case kBlendAlpha:
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        break;
    case kBlendAdditive:
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE);
        break;
    case kBlendOff:
        glDisable(GL_BLEND);
        break;
    default:
        break;
    }
}

void cOglRenderer::applyPrimitiveState(const cPrimitiveState& state)
{
    switch (state.getCullMode()) {
    case 0:
        glEnable(GL_CULL_FACE);
        glCullFace(GL_FRONT);
        break;
    case 1:
        glEnable(GL_CULL_FACE);
        glCullFace(GL_BACK);
        break;
    case 2:
        glDisable(GL_CULL_FACE);
        break;
    default:
        break;
    }
}

void cOglRenderer::applyZBufferState(const cZBufferState& state)
{
    if (state.getTest()) {
        glEnable(GL_DEPTH_TEST);
    } else {
        glDisable(GL_DEPTH_TEST);
    }
    glDepthMask(state.getWrite() ? GL_TRUE : GL_FALSE);
    if (state.getTestFunc() == kDepthLess) {
        glDepthFunc(GL_LESS);
    } else if (state.getTestFunc() == kDepthLessEqual) {
        glDepthFunc(GL_LEQUAL);
    }
}

void cOglRenderer::beginCamera(cCameraNode*)
{
}

void cOglRenderer::drawView(const std::vector<cSpatialNode*>& nodes,
                            const std::vector<int32_t>& materialIndices, cCameraNode* camera,
                            cRenderPass* pass, float time)
{
    if (!camera) {
        return;
    }
    glPushAttrib(GL_CURRENT_BIT | GL_ENABLE_BIT | GL_TRANSFORM_BIT);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadMatrixf(camera->getProjection().value);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadMatrixf(camera->getViewMatrix().value);

    const auto drawNodes = [&](bool withPass) {
        for (size_t k = 0; k < nodes.size(); ++k) {
            if (!nodes[k]) {
                continue;
            }
            if (withPass && !materialIndices.empty()) {
                drawNode(nodes[k], time, k < materialIndices.size() ? materialIndices[k] : 0,
                         &pass->material);
            } else {
                drawNode(nodes[k], time, 0, nullptr);
            }
        }
    };
    if (!pass) {
        drawNodes(false);
    } else if (pass->target.kind == kTargetTexture) {
        if (pass->target.texture.getType() == kTexture2D) {
            GLint viewport[4];
            glGetIntegerv(GL_VIEWPORT, viewport);
            bindRenderTarget(pass->target, GL_TEXTURE_2D);
            drawNodes(true);
            unbindRenderTarget(pass->target, GL_TEXTURE_2D);
            glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
        }
    } else if (pass->target.kind == kTargetScreen) {
        drawNodes(true);
    }

    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopAttrib();
}

void cOglRenderer::drawNode(cSpatialNode* node, float time, int32_t materialIndex,
                            cMaterial* overrideMaterial)
{
    if (!node || !node->isVisible()) {
        return;
    }
    const int32_t type = node->getType();
    if (type == kNodeLink) {
        glPushMatrix();
        multiplyNodeTransform(node);
        drawLink(node, time, materialIndex, overrideMaterial);
        glPopMatrix();
    } else if (type == kNodeGeometry) {
        auto* geometry = static_cast<cGeometryNode*>(node);
        cMaterial* material = materialAt(node->getEffectiveMaterials(), materialIndex);
        if (geometry->getPositions().empty() || !material) {
            return;
        }
        glPushMatrix();
        multiplyNodeTransform(node);
        applyMaterial(material, time);
        drawGeometry(geometry, time);
        glPopMatrix();
    } else if (type == kNodeTrack) {
        glPushMatrix();
        drawTrackEditor(static_cast<cTrackNode*>(node));
        glPopMatrix();
    }
}

void cOglRenderer::drawLink(cSpatialNode* link, float time, int32_t materialIndex,
                            cMaterial* overrideMaterial)
{
    cSpatialNode* target = static_cast<cLinkNode*>(link)->getLinkTarget();
    if (!target) {
        return;
    }
    std::vector<cSpatialNode*> geometries;
    if (target->getType() == kNodeGeometry) {
        geometries.push_back(target);
    } else {
        target->collectByType(kNodeGeometry, geometries);
    }
    for (cSpatialNode* node : geometries) {
        auto* geometry = static_cast<cGeometryNode*>(node);
        if (geometry->getPositions().empty()) {
            continue;
        }
        cMaterial* own = materialAt(geometry->getEffectiveMaterials(), materialIndex);
        cMaterial* material = link->getMaterials()
                                  ? materialAt(link->getEffectiveMaterials(), materialIndex)
                                  : own;
        applyMaterial(material ? material : overrideMaterial, time);
        // The mesh keeps its own primitive settings under any material; without a material of
        // its own at this index the current ones stay.
        if (mCurrentMaterial && own && mCurrentMaterial != own) {
            mCurrentMaterial->getPrimitiveState() = own->getPrimitiveState();
        }
        if (mCurrentMaterial) {
            drawGeometry(geometry, time);
        }
    }
}

void cOglRenderer::begin2D()
{
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluOrtho2D(0.0, 800.0, 0.0, 600.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glDepthMask(GL_FALSE);
}

void cOglRenderer::end2D()
{
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glDepthMask(GL_TRUE);
}

} // namespace qvr
