// The renderer without GL: the traversal and material walk of a frame, nothing drawn.
#include "render/cNullRenderer.h"

namespace qvr {

void cNullRenderer::drawNode(cSpatialNode* node, float time, int32_t materialIndex, cMaterial*)
{
    if (cSpatialNode::cMaterialList* list = node->getEffectiveMaterials()) {
        if (materialIndex >= 0 && static_cast<size_t>(materialIndex) < list->size()) {
            applyMaterial(&(*list)[static_cast<size_t>(materialIndex)], time);
        }
    }
}

void cNullRenderer::applyShaderVariables(cShaderState& state)
{
    for (const auto& entry : state.fragmentVars().floats) {
        mSink += entry.second.evaluate(0.5f);
    }
    for (const auto& entry : state.vertexVars().floats) {
        mSink += entry.second.evaluate(0.5f);
    }
    for (const auto& entry : state.vertexVars().vec3s) {
        mSink += entry.second.evaluate(0.5f).x;
    }
}

void cNullRenderer::drawView(const std::vector<cSpatialNode*>& nodes,
                             const std::vector<int32_t>& materialIndices, cCameraNode*, cRenderPass* pass,
                             float time)
{
    for (size_t k = 0; k < nodes.size(); ++k) {
        if (nodes[k]) {
            drawNode(nodes[k], time, materialIndices.empty() ? 0 : materialIndices[k],
                     pass ? &pass->material : nullptr);
        }
    }
}

void cNullRenderer::drawPostProcess(std::vector<cPostProcessStep>& chain, const std::vector<int32_t>& steps,
                                    float time)
{
    for (int32_t i : steps) {
        if (i >= 0 && static_cast<size_t>(i) < chain.size()) {
            applyMaterial(&chain[static_cast<size_t>(i)].material, time);
        }
    }
}

} // namespace qvr
