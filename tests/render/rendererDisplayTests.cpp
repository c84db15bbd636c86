// The OpenGL renderer on a real context: programs, uniforms, textures, passes and post-processing,
// checked by reading pixels back.
#include "render/cOglRenderer.h"
#include "resources/cResourceManger.h"
#include "tests/support/glTestContext.h"
#include "tests/support/testSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>

using namespace qvr;
using qvr::test::cGlTestContext;
using qvr::test::cScratchDir;
using qvr::test::writeFile;

namespace {

using cPixel = std::array<int, 3>;

const char* const kPassUv =
    "attribute vec2 texCoord1;\n"
    "void main() { gl_TexCoord[0] = vec4(texCoord1, 0.0, 1.0); gl_Position = ftransform(); }\n";
const char* const kPass2D =
    "void main() { gl_TexCoord[0] = gl_MultiTexCoord0; gl_Position = ftransform(); }\n";

class Renderer : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(mContext.ok()) << mContext.error();
        writeFile("uv.glsl", kPassUv);
        writeFile("pass2d.glsl", kPass2D);
        glClearColor(0, 0, 0, 0);
    }

    // A quad of half size 5 at z = 10, straight ahead of the default camera, not culled.
    cGeometryNode* quad()
    {
        cGeometryNode* node = mGraph.createGeometryNode();
        node->getPositions() = {cVec3f(-5, -5, 10), cVec3f(5, -5, 10), cVec3f(5, 5, 10), cVec3f(-5, 5, 10)};
        node->getVec2Attributes()["texCoord1"] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
        node->getTriangles() = {{0, 1, 2}, {0, 2, 3}};
        node->getMaterial().getPrimitiveState().setCullMode(2);
        mGraph.getRoot()->addChild(node);
        return node;
    }

    void draw()
    {
        mRenderer.prepareSceneGraph(mGraph);
        mRenderer.prepareScene(mGraph);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        mRenderer.drawFrame(mGraph, 0);
    }

    static cPixel pixel(int x, int y)
    {
        unsigned char p[4] = {};
        glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
        return {p[0], p[1], p[2]};
    }

    cScratchDir mDir{true};
    cGlTestContext mContext;
    cOglRenderer mRenderer;
    cScenegraph mGraph;
};

void expectNear(const cPixel& got, const cPixel& want)
{
    for (int c = 0; c < 3; ++c) {
        EXPECT_NEAR(got[static_cast<size_t>(c)], want[static_cast<size_t>(c)], 2) << "channel " << c;
    }
}

} // namespace

TEST_F(Renderer, FallbackProgramDrawsTheDefaultColour)
{
    quad();
    cGeometryNode* empty = mGraph.createGeometryNode();
    mGraph.getRoot()->addChild(empty);
    GLint projectionDepth = 0, modelviewDepth = 0;
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &projectionDepth);
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &modelviewDepth);
    draw();
    expectNear(pixel(400, 300), {102, 25, 76});
    expectNear(pixel(5, 5), {0, 0, 0});
    GLint after = 0;
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &after);
    EXPECT_EQ(after, projectionDepth);
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &after);
    EXPECT_EQ(after, modelviewDepth);
    GLboolean depthWrites = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
    EXPECT_EQ(depthWrites, GL_TRUE);
}

TEST_F(Renderer, ModulesUniformsAndSharedPrograms)
{
    writeFile("tint.glsl", "uniform vec3 tint;\nuniform float unused ;\n"
                           "void main() { gl_FragColor = vec4(tint, 1.0); }\n");
    cGeometryNode* node = quad();
    cShaderState& shader = node->getMaterial().getShaderState();
    shader.vertexModules() = {"uv"};
    shader.fragmentModules() = {"tint"};
    shader.fragmentVars().vec3s["tint"] = cAnimatableVec3f(cVec3f(0, 1, 0));
    shader.fragmentVars().floats["unused "] = cAnimatableFloat(1);
    shader.vertexVars().vec3s["tint"] = cAnimatableVec3f(cVec3f(1, 0, 0));  // not a vertex uniform
    draw();
    expectNear(pixel(400, 300), {0, 255, 0});
    const cProgramRecord* record = mRenderer.programRecord(shader.getProgramId());
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->fragmentUniforms.count("tint"), 1u);
    EXPECT_EQ(record->fragmentUniforms.count("unused "), 0u);
    EXPECT_EQ(record->attributes.count("texCoord1"), 1u);

    // Vertex modules (u, v) and (uv) with the same fragment modules give the same key, "uvtint",
    // and share one program with the node's material.
    cShaderState a, b;
    a.vertexModules() = {"u", "v"};
    a.fragmentModules() = {"tint"};
    b.vertexModules() = {"uv"};
    b.fragmentModules() = {"tint"};
    writeFile("v.glsl", kPassUv);
    writeFile("u.glsl", "");
    mRenderer.createShaderProgram(a, nullptr);
    mRenderer.createShaderProgram(b, nullptr);
    EXPECT_EQ(mRenderer.programShares("uvtint"), 3);
    EXPECT_NE(a.getProgramId(), b.getProgramId());
    mRenderer.releaseShaderProgram(a);
    mRenderer.releaseShaderProgram(b);
    EXPECT_EQ(mRenderer.programShares("uvtint"), 1);
    EXPECT_EQ(a.getProgramId(), -1);
}

TEST_F(Renderer, CompileFailuresAreReportedAndDrawingGoesOn)
{
    writeFile("broken.glsl", "void main() { this is not glsl }\n");
    cGeometryNode* node = quad();
    node->getMaterial().getShaderState().fragmentModules() = {"broken", "missing"};
    ::testing::internal::CaptureStdout();
    draw();
    const std::string out = ::testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("frag prog fail:brokenmissing\n\n"), std::string::npos) << out;
}

TEST_F(Renderer, PngTexturesAreSharedSampledAndReleased)
{
    qvr::test::writeSolidPng("red.png", 2, 2, 255, 0, 0);
    writeFile("sample.glsl", "uniform sampler2D tex;\n"
                             "void main() { gl_FragColor = texture2D(tex, gl_TexCoord[0].st); }\n");
    cResourceManger& resources = getResourceManager();
    resources.addResource(mDir.path() + "/red.png", kResourceTexture);
    const int32_t id = resources.count() - 1;

    cGeometryNode* node = quad();
    cMaterial& material = node->getMaterial();
    material.getTextureState(0).setSource(kTextureFromImage);
    material.getTextureState(0).setTextureId(id);
    material.getShaderState().vertexModules() = {"uv"};
    material.getShaderState().fragmentModules() = {"sample"};
    material.getShaderState().fragmentVars().ints["tex"] = 0;
    draw();
    expectNear(pixel(400, 300), {255, 0, 0});
    EXPECT_EQ(mRenderer.imageTextureShares(id), 1);

    cTextureState second = cTextureState();
    second.setSource(kTextureFromImage);
    second.setTextureId(id);
    mRenderer.createTexture(second, nullptr);
    EXPECT_EQ(mRenderer.imageTextureShares(id), 2);
    EXPECT_EQ(mRenderer.textureName(second.getSerial()),
              mRenderer.textureName(material.getTextureState(0).getSerial()));
    const GLuint name = mRenderer.textureName(second.getSerial());
    mRenderer.releaseTexture(second);
    EXPECT_EQ(mRenderer.imageTextureShares(id), 1);
    EXPECT_TRUE(glIsTexture(name));
    mRenderer.releaseSubtree(node);
    EXPECT_FALSE(glIsTexture(name));
    EXPECT_EQ(mRenderer.imageTextureShares(id), 0);
    EXPECT_EQ(material.getTextureState(0).getSerial(), -1);
}

TEST_F(Renderer, PassTargetsFeedThePostProcessChain)
{
    cGeometryNode* node = quad();
    cCameraNode* camera = mGraph.getActiveCamera();
    cRenderPass pass;
    pass.include = {{node, 0}};
    pass.target.kind = kTargetTexture;
    pass.target.texture.setSize(128, 128);
    pass.target.texture.setFilter(1);
    camera->addRenderPass(pass);

    // One screen step showing the pass's texture without its red channel.
    writeFile("strip.glsl", "uniform sampler2D src;\n"
                            "void main() { gl_FragColor = texture2D(src, gl_TexCoord[0].st)"
                            " * vec4(0.0, 1.0, 1.0, 1.0); }\n");
    cPostProcessStep step;
    step.material.getShaderState().vertexModules() = {"pass2d"};
    step.material.getShaderState().fragmentModules() = {"strip"};
    step.material.getShaderState().fragmentVars().ints["src"] = 0;
    step.material.getTextureState(0).setSource(kTextureFromRenderTarget);
    step.material.getZBufferState().setTest(false);
    mGraph.getPostProcessChain().push_back(step);
    mGraph.getPostProcessSteps() = {0, 5};  // 5 is past the chain: skipped

    mRenderer.prepareSceneGraph(mGraph);
    const int32_t target = camera->getRenderPass(0).target.id;
    ASSERT_EQ(target, 0);
    mGraph.getPostProcessChain()[0].material.getTextureState(0).setTextureId(target);
    draw();
    expectNear(pixel(400, 300), {0, 25, 76});
    expectNear(pixel(5, 5), {0, 0, 0});
    ASSERT_NE(mRenderer.renderTargetRecord(target), nullptr);
    EXPECT_TRUE(glIsTexture(mRenderer.renderTargetRecord(target)->colorTexture));
}
