// The renderer's frame traversal and material order, recorded by a renderer that draws nothing.
#include "render/cRenderer.h"

#include <gtest/gtest.h>

#include <string>

using namespace qvr;

namespace {

// Records the calls the traversal makes; GL is never touched.
class cRecordingRenderer : public cRenderer {
public:
    void drawOverlay(cScenegraph&) override { log += "overlay;"; }
    void initOverlay(cScenegraph&) override {}
    void prepareScene(cScenegraph&) override {}
    void drawNode(cSpatialNode* node, float, int32_t index, cMaterial* over) override
    {
        log += "node " + node->getName() + "/" + std::to_string(index) + (over ? "+" : "") + ";";
    }
    void applyShaderVariables(cShaderState&) override { log += "vars;"; }
    void bindShaderProgram(cShaderState&) override { log += "program;"; }
    void applyTextureState(cTextureState& t) override { log += "tex" + std::to_string(t.getUnit()) + ";"; }
    void applyZBufferState(const cZBufferState&) override { log += "depth;"; }
    void applyBlendingState(const cBlendingState&) override { log += "blend;"; }
    void applyPrimitiveState(const cPrimitiveState&) override { log += "prim;"; }
    void createShaderProgram(cShaderState&, cSpatialNode*) override {}
    void createTexture(cTextureState&, cSpatialNode*) override {}
    void createVertexBuffers(const cPrimitiveState&, cSpatialNode*) override {}
    void beginCamera(cCameraNode*) override {}
    void drawView(const std::vector<cSpatialNode*>& nodes, const std::vector<int32_t>& indices,
                  cCameraNode* camera, cRenderPass* pass, float time) override
    {
        log += "view " + camera->getName() + (pass ? " pass" : " screen") + ":";
        for (size_t k = 0; k < nodes.size(); ++k) {
            if (nodes[k]) {
                drawNode(nodes[k], time, indices.empty() ? 0 : indices[k], pass ? &pass->material : nullptr);
            }
        }
        activeDuringViews += camera == graph->getActiveCamera() ? "" : "!";
    }
    void prepareCameraTargets(cCameraNode*) override {}
    void preparePostProcessChain(std::vector<cPostProcessStep>&) override {}
    void releaseTexture(cTextureState&) override {}
    void releaseShaderProgram(cShaderState&) override {}
    void releaseVertexBuffers(cSpatialNode*, const cPrimitiveState&) override {}
    void drawPostProcess(std::vector<cPostProcessStep>&, const std::vector<int32_t>& steps, float) override
    {
        log += "post " + std::to_string(steps.size()) + ";";
    }
    void begin2D() override {}
    void end2D() override {}

    std::string log;
    std::string activeDuringViews;
    cScenegraph* graph = nullptr;
};

cRenderPass texturePass(cSpatialNode* include, int32_t flag, bool mainOnly)
{
    cRenderPass pass;
    pass.include = {{include, flag}};
    pass.mainCameraOnly = mainOnly;
    pass.target.kind = kTargetTexture;
    return pass;
}

// A scene graph with one mesh "m" under the root, and a recording renderer for it.
class FrameTraversal : public ::testing::Test {
protected:
    void SetUp() override
    {
        renderer.graph = &graph;
        mesh = graph.createGeometryNode();
        mesh->getName() = "m";
        graph.getRoot()->addChild(mesh);
    }

    cScenegraph graph;
    cRecordingRenderer renderer;
    cGeometryNode* mesh = nullptr;
};

} // namespace

TEST_F(FrameTraversal, OnlyTheDefaultCameraDrawsTheScreenView)
{
    renderer.drawFrame(graph, 0);
    EXPECT_EQ(renderer.log, "view qvr_defcam screen:node qvr_root/0;node m/0;post 0;overlay;");
}

TEST_F(FrameTraversal, OtherCamerasPassesComeFirstAndTheMainCameraIsRestored)
{
    cCameraNode* mirror = graph.createCameraNode();
    mirror->getName() = "mirror";
    graph.getRoot()->addChild(mirror);
    mirror->addRenderPass(texturePass(mesh, 1, false));
    mirror->addRenderPass(texturePass(mesh, 2, true));   // main camera only: skipped for mirror
    cRenderPass screenKind = texturePass(mesh, 3, false);
    screenKind.target.kind = kTargetScreen;                // not a texture: never drawn
    mirror->addRenderPass(screenKind);
    cCameraNode* main = graph.getActiveCamera();
    main->addRenderPass(texturePass(mesh, 4, true));

    renderer.drawFrame(graph, 0);
    EXPECT_EQ(renderer.log,
              "view mirror pass:node m/1+;"
              "view qvr_defcam pass:node m/4+;"
              "view qvr_defcam screen:node qvr_root/0;node m/0;"
              "post 0;overlay;");
    EXPECT_EQ(renderer.activeDuringViews, "");
    EXPECT_EQ(graph.getActiveCamera(), main);
}

TEST(MaterialOrder, MaterialsApplyInTheirFixedOrderSkippingEmptyUnits)
{
    cRecordingRenderer renderer;
    cMaterial material;
    material.getTextureState(1).setSource(kTextureFromImage);
    material.getTextureState(6).setSource(kTextureFromRenderTarget);
    renderer.applyMaterial(&material, 0);
    EXPECT_EQ(renderer.log, "blend;program;vars;prim;tex1;tex6;depth;");
    EXPECT_EQ(renderer.getCurrentMaterial(), &material);
    renderer.applyMaterial(nullptr, 0);
    EXPECT_EQ(renderer.getCurrentMaterial(), nullptr);
}
