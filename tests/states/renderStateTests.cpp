// Render-state blocks: defaults, exact text, write-read round trips and version handling.
#include "math/cControllerLibrary.h"
#include "states/cBlendingState.h"
#include "states/cPrimitiveState.h"
#include "states/cShaderState.h"
#include "states/cTextureState.h"
#include "states/cZBufferState.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace qvr;

namespace {

template <typename State>
std::string written(const State& state)
{
    std::ostringstream out;
    EXPECT_TRUE(state.write(out, false));
    return out.str();
}

// Writes state, reads the text into a fresh state, and checks that it writes the same again.
template <typename State>
State roundTrip(const State& state)
{
    const std::string text = written(state);
    std::istringstream in(text);
    State back;
    EXPECT_TRUE(back.read(in, false));
    EXPECT_EQ(written(back), text);
    return back;
}

} // namespace

TEST(RenderStates, DefaultsAreTheDocumentedOnes)
{
    const cTextureState t;
    EXPECT_EQ(t.getFilter(), 0);
    EXPECT_EQ(t.getSource(), kTextureNone);
    EXPECT_EQ(t.getFormat(), 1);
    EXPECT_EQ(t.getType(), kTexture2D);
    EXPECT_EQ(t.getUnit(), 0);
    EXPECT_EQ(t.getTextureId(), -1);
    EXPECT_EQ(t.getSerial(), -1);
    EXPECT_EQ(t.getCubeFaceId(5), -1);
    EXPECT_EQ(t.getCubeFaceId(6), -1);
    const cPrimitiveState p;
    EXPECT_EQ(p.getPrimType(), kPrimTriangles);
    EXPECT_EQ(p.getBufferType(), 0);
    EXPECT_EQ(p.getCullMode(), 1);
    EXPECT_EQ(p.getPointSize().evaluate(0), 1);
    EXPECT_EQ(p.getLineWidth().evaluate(0), 1);
    EXPECT_EQ(cBlendingState().getMode(), kBlendOff);
    const cZBufferState z;
    EXPECT_TRUE(z.getWrite());
    EXPECT_TRUE(z.getTest());
    EXPECT_EQ(z.getTestFunc(), kDepthLess);
    EXPECT_EQ(cShaderState().getProgramId(), -1);
}

TEST(RenderStates, TextureBlockCarriesCubeFacesOnlyForImageCubeMaps)
{
    cTextureState t;
    t.setType(kTextureCube);
    t.setSource(kTextureFromRenderTarget);
    t.setTextureId(3);
    EXPECT_EQ(written(t),
              "fileformat version:1\ntexture filter:0\ntexture source:0\ntexture format:1\n"
              "texture type:2\ntexture unit:0\ntexture width:0\ntexture height:0\n"
              "texture id:3\n");

    t.setSource(kTextureFromImage);
    for (int i = 0; i < 6; ++i) {
        t.setCubeFaceId(i, 20 + i);
    }
    const std::string cube = written(t);
    EXPECT_EQ(cube.find("texture id:"), std::string::npos);
    EXPECT_NE(cube.find("cubeId1:20\n"), std::string::npos);
    EXPECT_NE(cube.find("cubeId6:25\n"), std::string::npos);
    const cTextureState back = roundTrip(t);
    EXPECT_EQ(back.getCubeFaceId(3), 23);
    EXPECT_EQ(back.getTextureId(), -1);
}

TEST(RenderStates, EveryKindRoundTrips)
{
    cTextureState t;
    t.setFilter(2);
    t.setSource(kTextureFromDynamicImage);
    t.setFormat(2);
    t.setType(kTexture3D);
    t.setUnit(5);
    t.setSize(640, 480);
    t.setTextureId(12);
    const cTextureState tb = roundTrip(t);
    EXPECT_EQ(tb.getUnit(), 5);
    EXPECT_EQ(tb.getHeight(), 480);

    cPrimitiveState p;
    p.setPrimType(7);
    p.setBufferType(1);
    p.setCullMode(3);
    p.getPointSize() = cAnimatableFloat(0.1f);
    cAnimatableFloat animated;
    animated.setControllerList(&getControllerLibrary().getControllers());
    animated.setControllerIndex(4);
    p.getLineWidth() = animated;
    const cPrimitiveState pb = roundTrip(p);
    EXPECT_EQ(pb.getPrimType(), 7);
    EXPECT_EQ(pb.getCullMode(), 3);
    EXPECT_EQ(pb.getPointSize().getConstant(), 0.1f);
    EXPECT_EQ(pb.getLineWidth().getControllerIndex(), 4);
    EXPECT_EQ(pb.getLineWidth().getControllerList(), &getControllerLibrary().getControllers());

    cBlendingState b;
    b.setMode(kBlendAdditive);
    EXPECT_EQ(written(b), "fileformat version:1\nblending mode:1\n");
    EXPECT_EQ(roundTrip(b).getMode(), kBlendAdditive);

    cZBufferState z;
    z.setWrite(false);
    z.setTestFunc(kDepthLessEqual);
    EXPECT_EQ(written(z), "fileformat version:1\nzBufferWrite:0\nzBufferTest:1\ntestFunc:1\n");
    const cZBufferState zb = roundTrip(z);
    EXPECT_FALSE(zb.getWrite());
    EXPECT_TRUE(zb.getTest());
    EXPECT_EQ(zb.getTestFunc(), kDepthLessEqual);
}

TEST(RenderStates, ShaderTablesRoundTrip)
{
    cShaderState s;
    s.vertexModules() = {"a.glsl", "with blank.glsl"};
    s.fragmentModules() = {"f.glsl"};
    s.vertexVars().floats["amp"] = cAnimatableFloat(0.3f);
    {
        cAnimatableFloat phase;
        phase.setControllerList(&getControllerLibrary().getControllers());
        phase.setControllerIndex(2);
        s.fragmentVars().floats["my var"] = phase;
    }
    s.vertexVars().ints["mode"] = -3;
    s.fragmentVars().ints["tex"] = 1;
    s.vertexVars().vec2s["uv"] = {0.5f, 1e-8f};
    s.fragmentVars().vec2s["screen"] = {800, 600};
    s.vertexVars().vec3s["light"] = cAnimatableVec3f(cVec3f(1, -2, 3.25f));
    s.fragmentVars().vec3s["tint"] = cAnimatableVec3f(cVec3f(0.1f, 0.2f, 0.3f));
    s.vertexVars().vec4s["plane"] = {0, 1, 0, -10};
    s.fragmentVars().vec4s["fog"] = {0.25f, 0.5f, 0.75f, 1};

    const cShaderState back = roundTrip(s);
    EXPECT_EQ(back.vertexModules(), s.vertexModules());
    EXPECT_EQ(back.fragmentModules(), s.fragmentModules());
    EXPECT_EQ(back.vertexVars().floats.at("amp").getConstant(), 0.3f);
    EXPECT_EQ(back.fragmentVars().floats.at("my var").getControllerIndex(), 2);
    EXPECT_EQ(back.vertexVars().ints.at("mode"), -3);
    EXPECT_EQ(back.vertexVars().vec2s.at("uv")[1], 1e-8f);
    EXPECT_EQ(back.vertexVars().vec3s.at("light").getConstant().z, 3.25f);
    EXPECT_EQ(back.fragmentVars().vec4s.at("fog")[2], 0.75f);
    EXPECT_EQ(back.getProgramId(), -1);
}

TEST(RenderStates, ShaderBlockReadTwiceKeepsOneEntryPerName)
{
    const std::string block =
        "fileformat version:1\n"
        "nr of vertex code modules:1\nprogram module id:v.glsl\r\n"
        "nr of fragment code modules:0\n"
        "nr of vertexVars float:0\n"
        "nr of fragmentVars float:2\n"
        "static:1\nkey:my var\nvalue:2.5\n"
        "static:1\nkey:my var\nvalue:4\n"
        "nr of vertexVars ints:0\nnr of fragmentVars ints:0\n"
        "nr of vertexVars vec2:0\nnr of fragmentVars vec2:0\n"
        "nr of vertexVars vec3:1\nstatic:0\nkey:path\r\nvalue:7\n"
        "nr of fragmentVars vec3:0\nnr of vertexVars vec4:0\nnr of fragmentVars vec4:0\n";
    cShaderState s;
    s.fragmentVars().floats["kept"] = cAnimatableFloat(9);
    s.vertexModules() = {"old.glsl", "older.glsl"};
    for (int pass = 0; pass < 2; ++pass) {
        std::istringstream in(block);
        EXPECT_TRUE(s.read(in, false));
    }
    EXPECT_EQ(s.vertexModules(), std::vector<std::string>{"v.glsl"});
    EXPECT_TRUE(s.vertexVars().floats.empty());
    ASSERT_EQ(s.fragmentVars().floats.size(), 2u);
    EXPECT_EQ(s.fragmentVars().floats.at("my var").getConstant(), 4);  // the later value wins
    EXPECT_EQ(s.fragmentVars().floats.at("kept").getConstant(), 9);
    ASSERT_EQ(s.vertexVars().vec3s.count("path"), 1u);
    EXPECT_EQ(s.vertexVars().vec3s.at("path").getControllerIndex(), 7);
}

TEST(RenderStates, OtherVersionsConsumeOnlyTheirLine)
{
    std::istringstream in("fileformat version:2\nfileformat version:1\nblending mode:0\n"
                          "fileformat version:0\ntexture filter:2\n");
    cBlendingState skipped;
    EXPECT_TRUE(skipped.read(in, false));
    EXPECT_EQ(skipped.getVersion(), 2);
    EXPECT_EQ(skipped.getMode(), kBlendOff);
    cBlendingState next;
    EXPECT_TRUE(next.read(in, false));
    EXPECT_EQ(next.getMode(), kBlendAlpha);
    cTextureState zero;
    EXPECT_TRUE(zero.read(in, false));
    EXPECT_EQ(zero.getFilter(), 0);
    std::string rest;
    std::getline(in, rest);
    EXPECT_EQ(rest, "texture filter:2");
}

TEST(RenderStates, FailedStreamsAndBinaryFormsTouchNothing)
{
    std::istringstream failed("fileformat version:1\nblending mode:1\n");
    failed.setstate(std::ios::failbit);
    cBlendingState b;
    EXPECT_FALSE(b.read(failed, false));
    EXPECT_EQ(b.getMode(), kBlendOff);

    std::ostringstream out;
    out.setstate(std::ios::badbit);
    EXPECT_FALSE(cZBufferState().write(out, false));

    std::istringstream text("fileformat version:1\nblending mode:1\n");
    EXPECT_TRUE(b.read(text, true));
    EXPECT_EQ(b.getMode(), kBlendOff);
    std::ostringstream none;
    EXPECT_TRUE(cShaderState().write(none, true));
    EXPECT_TRUE(none.str().empty());

    // A malformed value keeps the value that was there and fails the read.
    cZBufferState z;
    std::istringstream bad("fileformat version:1\nzBufferWrite:0\nzBufferTest:x\ntestFunc:1\n");
    EXPECT_FALSE(z.read(bad, false));
    EXPECT_FALSE(z.getWrite());
    EXPECT_TRUE(z.getTest());
    EXPECT_EQ(z.getTestFunc(), kDepthLess);
}

TEST(RenderStates, HugeCountsStopWhereTheTextEnds)
{
    std::istringstream in("fileformat version:1\nnr of vertex code modules:2000000000\n"
                          "program module id:a.glsl\nprogram module id:b.glsl\n");
    cShaderState s;
    EXPECT_FALSE(s.read(in, false));
    EXPECT_EQ(s.vertexModules(), (std::vector<std::string>{"a.glsl", "b.glsl"}));

    std::istringstream vars("fileformat version:1\nnr of vertex code modules:0\n"
                            "nr of fragment code modules:-7\nnr of vertexVars float:99999999\n"
                            "static:1\nkey:a\nvalue:1\n");
    cShaderState t;
    EXPECT_FALSE(t.read(vars, false));
    EXPECT_EQ(t.vertexVars().floats.size(), 1u);
}
