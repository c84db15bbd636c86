// The OpenGL renderer's state tables, texture kinds, noise table, primitives and the
// post-processing order on a real context.
#include "render/cOglRenderer.h"
#include "resources/cResourceManger.h"
#include "tests/support/glTestContext.h"
#include "tests/support/testSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

using namespace qvr;
using qvr::test::cGlTestContext;
using qvr::test::cScratchDir;
using qvr::test::writeFile;

namespace {

// One colour from a fragment vec3 "rgb" and float "alpha".
const char* const kRgba =
    "uniform vec3 rgb;\nuniform float alpha;\nvoid main() { gl_FragColor = vec4(rgb, alpha); }\n";
// Screen-quad pass-through and "read a target, add a step" for post-processing.
const char* const kPass2D =
    "void main() { gl_TexCoord[0] = gl_MultiTexCoord0; gl_Position = ftransform(); }\n";
const char* const kAddStep =
    "uniform sampler2D src;\nuniform float add;\n"
    "void main() { gl_FragColor = texture2D(src, gl_TexCoord[0].st) + vec4(add, 0.0, 0.0, 1.0); }\n";

class RendererStates : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(mContext.ok()) << mContext.error();
        writeFile("rgba.glsl", kRgba);
        writeFile("pass2d.glsl", kPass2D);
        writeFile("addstep.glsl", kAddStep);
    }

    // A quad straight ahead of the default camera at distance z, in one colour.
    cGeometryNode* quad(float z, float r, float g, float b, float a = 1.0f)
    {
        cGeometryNode* node = mGraph.createGeometryNode();
        node->getPositions() = {cVec3f(-5, -5, z), cVec3f(5, -5, z), cVec3f(5, 5, z), cVec3f(-5, 5, z)};
        node->getTriangles() = {{0, 1, 2}, {0, 2, 3}};
        cMaterial& m = node->getMaterial();
        m.getPrimitiveState().setCullMode(2);
        cShaderState& s = m.getShaderState();
        s.fragmentModules() = {"rgba"};
        s.fragmentVars().vec3s["rgb"] = cAnimatableVec3f(cVec3f(r, g, b));
        s.fragmentVars().floats["alpha"] = cAnimatableFloat(a);
        mGraph.getRoot()->addChild(node);
        return node;
    }

    std::array<int, 3> drawAndRead()
    {
        mRenderer.prepareSceneGraph(mGraph);
        mRenderer.prepareScene(mGraph);
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        mRenderer.drawFrame(mGraph, 0);
        unsigned char p[4] = {};
        glReadPixels(400, 300, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
        return {p[0], p[1], p[2]};
    }

    cScratchDir mDir{true};
    cGlTestContext mContext;
    cOglRenderer mRenderer;
    cScenegraph mGraph;
};

void useRgbAlpha(cGeometryNode* node, float r, float g, float b, float a)
{
    cShaderState& s = node->getMaterial().getShaderState();
    s.fragmentVars().vec3s["rgb"] = cAnimatableVec3f(cVec3f(r, g, b));
    s.fragmentVars().floats["alpha"] = cAnimatableFloat(a);
}

void expectNear(const std::array<int, 3>& got, int r, int g, int b)
{
    EXPECT_NEAR(got[0], r, 3);
    EXPECT_NEAR(got[1], g, 3);
    EXPECT_NEAR(got[2], b, 3);
}

} // namespace

TEST_F(RendererStates, BlendingCullingAndDepthTakeEffect)
{
    // Additive over red, at the same depth with LEQUAL: red + green.
    cGeometryNode* back = quad(10, 0, 0, 0);
    useRgbAlpha(back, 1, 0, 0, 1);
    cGeometryNode* front = quad(10, 0, 0, 0);
    useRgbAlpha(front, 0, 1, 0, 1);
    front->getMaterial().getBlendingState().setMode(kBlendAdditive);
    front->getMaterial().getZBufferState().setTestFunc(kDepthLessEqual);
    expectNear(drawAndRead(), 255, 255, 0);

    // LESS rejects the second quad at equal depth.
    front->getMaterial().getZBufferState().setTestFunc(kDepthLess);
    expectNear(drawAndRead(), 255, 0, 0);

    // Alpha blending mixes half and half.
    front->getMaterial().getZBufferState().setTestFunc(kDepthLessEqual);
    front->getMaterial().getBlendingState().setMode(kBlendAlpha);
    useRgbAlpha(front, 0, 0, 1, 0.5f);
    expectNear(drawAndRead(), 128, 0, 128);

    // Without depth writes the first quad leaves room for a farther one drawn after it.
    front->getMaterial().getBlendingState().setMode(kBlendOff);
    back->getMaterial().getZBufferState().setWrite(false);
    front->setPosition(cVec3f(0, 0, 5));  // z 15: behind
    expectNear(drawAndRead(), 0, 0, 255);
    back->getMaterial().getZBufferState().setWrite(true);
    expectNear(drawAndRead(), 255, 0, 0);

    // Culling the faces that point at the camera hides the quad; the other side shows it.
    front->getMaterial().getBlendingState().setMode(kBlendOff);
    mGraph.removeNode(front);
    back->getMaterial().getPrimitiveState().setCullMode(0);
    const auto culledFront = drawAndRead();
    back->getMaterial().getPrimitiveState().setCullMode(1);
    const auto culledBack = drawAndRead();
    EXPECT_NE(culledFront[0] > 128, culledBack[0] > 128);
}

TEST_F(RendererStates, VolumeCubeAndDynamicTextures)
{
    // A 256 x 32 strip is a 32 x 32 x 8 volume.
    qvr::test::writeSolidPng("strip.png", 256, 32, 200, 200, 200);
    getResourceManager().addResource(mDir.path() + "/strip.png", kResourceTexture);
    cTextureState volume;
    volume.setSource(kTextureFromImage);
    volume.setType(kTexture3D);
    volume.setTextureId(getResourceManager().count() - 1);
    mRenderer.createTexture(volume, nullptr);
    glBindTexture(GL_TEXTURE_3D, mRenderer.textureName(volume.getSerial()));
    GLint w = 0, h = 0, d = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_3D, 0, GL_TEXTURE_WIDTH, &w);
    glGetTexLevelParameteriv(GL_TEXTURE_3D, 0, GL_TEXTURE_HEIGHT, &h);
    glGetTexLevelParameteriv(GL_TEXTURE_3D, 0, GL_TEXTURE_DEPTH, &d);
    EXPECT_EQ(w, 32);
    EXPECT_EQ(h, 32);
    EXPECT_EQ(d, 8);

    // A dynamic image is uploaded at creation and again only when marked changed.
    cDynamicImage image;
    image.width = 2;
    image.height = 2;
    image.pixels.assign(16, 10);
    cTextureState dynamic;
    dynamic.setSource(kTextureFromDynamicImage);
    dynamic.setTextureId(mRenderer.addDynamicImage(&image));
    mRenderer.createTexture(dynamic, nullptr);
    const auto texel = [&] {
        unsigned char p[16] = {};
        glBindTexture(GL_TEXTURE_2D, mRenderer.textureName(dynamic.getSerial()));
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, p);
        return static_cast<int>(p[0]);
    };
    EXPECT_EQ(texel(), 10);
    image.pixels.assign(16, 99);
    mRenderer.applyTextureState(dynamic);
    EXPECT_EQ(texel(), 10);
    image.changed = true;
    mRenderer.applyTextureState(dynamic);
    EXPECT_EQ(texel(), 99);
    EXPECT_FALSE(image.changed);

    // A state without a source leaves its unit with texturing off.
    cTextureState none;
    none.setUnit(3);
    mRenderer.applyTextureState(none);
    glActiveTexture(GL_TEXTURE3);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    glActiveTexture(GL_TEXTURE0);
}

TEST_F(RendererStates, NoiseTableHoldsUnitGradientsAndRepeatsItsFirstHalf)
{
    writeFile("noise.glsl", "uniform vec4 qvrNoisePg[64];\n"
                            "void main() { gl_Position = ftransform() + qvrNoisePg[int(gl_Vertex.x)]; }\n");
    cShaderState state;
    state.vertexModules() = {"noise"};
    mRenderer.createShaderProgram(state, nullptr);
    const GLuint program = mRenderer.programRecord(state.getProgramId())->program;
    std::vector<std::array<float, 4>> entries(64);
    for (int i = 0; i < 64; ++i) {
        const std::string name = "qvrNoisePg[" + std::to_string(i) + "]";
        glGetUniformfv(program, glGetUniformLocation(program, name.c_str()), entries[static_cast<size_t>(i)].data());
    }
    for (int i = 0; i < 32; ++i) {
        const auto& e = entries[static_cast<size_t>(i)];
        EXPECT_NEAR(std::sqrt(e[0] * e[0] + e[1] * e[1] + e[2] * e[2]), 1.0f, 1e-4f);
        EXPECT_EQ(e[3], std::floor(e[3]));
        ASSERT_GE(e[3], 0);
        ASSERT_LE(e[3], 31);
        EXPECT_EQ(entries[static_cast<size_t>(i + 32)], e);
    }
}

TEST_F(RendererStates, PointsAreSpritesOfTheirSize)
{
    cGeometryNode* node = quad(10, 0, 0, 0);
    node->getPositions() = {cVec3f(0, 0, 10)};
    node->getTriangles().clear();
    writeFile("white.glsl", "void main() { gl_FragColor = vec4(1.0); }\n");
    node->getMaterial().getShaderState().fragmentModules() = {"white"};
    node->getMaterial().getPrimitiveState().setPrimType(kPrimPoints);
    node->getMaterial().getPrimitiveState().getPointSize() = cAnimatableFloat(9);
    drawAndRead();
    unsigned char p[4] = {};
    glReadPixels(403, 300, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    EXPECT_EQ(p[0], 255);
    glReadPixels(410, 300, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    EXPECT_EQ(p[0], 0);
}

TEST_F(RendererStates, PostProcessingRunsTheStepsInIndexOrder)
{
    // Step 0 fills 0.1 into the target step 2 uses; steps 1 and 2 read each other and add 0.1;
    // step 3 shows step 1's target. With 0,1,2,1,2,1,2,1,3 the screen shows 0.8 red.
    std::vector<cPostProcessStep>& chain = mGraph.getPostProcessChain();
    chain.resize(4);
    for (cPostProcessStep& step : chain) {
        cShaderState& s = step.material.getShaderState();
        s.vertexModules() = {"pass2d"};
        s.fragmentModules() = {"addstep"};
        s.fragmentVars().ints["src"] = 0;
        s.fragmentVars().floats["add"] = cAnimatableFloat(0.1f);
        step.material.getZBufferState().setTest(false);
        step.target.kind = kTargetTexture;
        step.target.texture.setSize(16, 16);
        step.target.texture.setFilter(1);
        step.material.getTextureState(0).setSource(kTextureFromRenderTarget);
    }
    chain[3].target.kind = kTargetScreen;
    chain[3].material.getShaderState().fragmentVars().floats["add"] = cAnimatableFloat(0.0f);
    chain[0].material.getTextureState(0).setSource(kTextureNone);
    mGraph.getPostProcessSteps() = {0, 1, 2, 1, 2, 1, 2, 1, 3};
    mRenderer.prepareScene(mGraph);
    chain[0].target = chain[2].target;
    chain[1].material.getTextureState(0).setTextureId(chain[2].target.id);
    chain[2].material.getTextureState(0).setTextureId(chain[1].target.id);
    chain[3].material.getTextureState(0).setTextureId(chain[1].target.id);

    GLint projection = 0, modelview = 0;
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &projection);
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &modelview);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    mRenderer.drawPostProcess(chain, mGraph.getPostProcessSteps(), 0);
    unsigned char p[4] = {};
    glReadPixels(400, 300, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    EXPECT_NEAR(p[0], 204, 4);

    // No steps: nothing drawn, stacks as they were; begin2D / end2D restore depth writes.
    mRenderer.drawPostProcess(chain, {}, 0);
    glDepthMask(GL_FALSE);
    mRenderer.begin2D();
    mRenderer.end2D();
    GLint after = 0;
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &after);
    EXPECT_EQ(after, projection);
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &after);
    EXPECT_EQ(after, modelview);
    GLboolean depthWrites = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
    EXPECT_EQ(depthWrites, GL_TRUE);
}

TEST_F(RendererStates, CubeFacesFollowTheFaceTable)
{
    const GLenum faces[6] = {GL_TEXTURE_CUBE_MAP_POSITIVE_Z, GL_TEXTURE_CUBE_MAP_NEGATIVE_Y,
                             GL_TEXTURE_CUBE_MAP_NEGATIVE_Z, GL_TEXTURE_CUBE_MAP_NEGATIVE_X,
                             GL_TEXTURE_CUBE_MAP_POSITIVE_X, GL_TEXTURE_CUBE_MAP_POSITIVE_Y};
    cTextureState cube;
    cube.setSource(kTextureFromImage);
    cube.setType(kTextureCube);
    for (int k = 0; k < 6; ++k) {
        const std::string name = "face" + std::to_string(k) + ".png";
        qvr::test::writeSolidPng(name, 2, 2, static_cast<unsigned char>(40 * (k + 1)), 0, 0);
        getResourceManager().addResource(mDir.path() + "/" + name, kResourceTexture);
        cube.setCubeFaceId(k, getResourceManager().count() - 1);
    }
    mRenderer.createTexture(cube, nullptr);
    glBindTexture(GL_TEXTURE_CUBE_MAP, mRenderer.textureName(cube.getSerial()));
    for (int k = 0; k < 6; ++k) {
        unsigned char texels[16] = {};
        glGetTexImage(faces[k], 0, GL_RGBA, GL_UNSIGNED_BYTE, texels);
        EXPECT_EQ(texels[0], 40 * (k + 1)) << "face " << k;
    }
    // A second state with the same faces shares the texture.
    cTextureState same = cube;
    same.setSerial(-1);
    mRenderer.createTexture(same, nullptr);
    EXPECT_EQ(mRenderer.textureName(same.getSerial()), mRenderer.textureName(cube.getSerial()));
}

TEST_F(RendererStates, LinesPairTheFlattenedIndices)
{
    // Triangles (0 1 2) (0 2 3) as lines: 0-1, 2-0 and 2-3; the edges 1-2 and 3-0 stay dark.
    cGeometryNode* node = quad(10, 1, 1, 1);
    node->getMaterial().getPrimitiveState().setPrimType(kPrimLines);
    node->getMaterial().getPrimitiveState().getLineWidth() = cAnimatableFloat(5);
    drawAndRead();
    const auto red = [](int x, int y) {
        unsigned char p[4] = {};
        glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
        return static_cast<int>(p[0]);
    };
    EXPECT_EQ(red(400, 300), 255);  // the diagonal 2-0
    EXPECT_EQ(red(400, 104), 255);  // 0-1 along the bottom
    EXPECT_EQ(red(400, 495), 255);  // 2-3 along the top
    EXPECT_EQ(red(205, 300), 0);    // 1-2: the camera looks along +z, so +x is on the left
    EXPECT_EQ(red(595, 300), 0);    // 3-0
}
