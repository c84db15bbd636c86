// Material files: the full layout, partial loads and every cut of a sample file.
#include "states/cMaterial.h"
#include "tests/support/testSupport.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>

using namespace qvr;
using qvr::test::cScratchDir;
using qvr::test::readFile;
using qvr::test::sourcePath;
using qvr::test::writeFile;

namespace {

std::string written(const cMaterial& m)
{
    std::ostringstream out;
    m.write(out);
    return out.str();
}

class Material : public ::testing::Test {
protected:
    void SetUp() override
    {
        mSample = readFile(sourcePath("states/data/full.mat"));
        ASSERT_FALSE(mSample.empty());
    }

    // Loads text as a material file into a fresh material (or into m).
    bool load(const std::string& text, cMaterial& m)
    {
        writeFile(mDir.file("m.mat"), text);
        return m.load(mDir.file("m.mat"), false);
    }

    cScratchDir mDir;
    std::string mSample;
};

} // namespace

TEST_F(Material, DefaultMaterialNumbersItsTextureUnits)
{
    const cMaterial m;
    for (int32_t i = 0; i < cMaterial::kTextureUnits; ++i) {
        EXPECT_EQ(m.getTextureState(i).getUnit(), i);
        EXPECT_EQ(m.getTextureState(i).getSource(), kTextureNone);
    }
    EXPECT_EQ(m.getPrimitiveState().getCullMode(), 1);
    EXPECT_EQ(m.getBlendingState().getMode(), kBlendOff);
    EXPECT_TRUE(m.getShaderState().vertexModules().empty());
}

TEST_F(Material, SampleFileFillsAllUnitsAndTables)
{
    cMaterial m;
    ASSERT_TRUE(load(mSample, m));
    EXPECT_EQ(m.getTextureState(0).getTextureId(), 4);
    EXPECT_EQ(m.getTextureState(0).getFilter(), 1);
    EXPECT_EQ(m.getTextureState(1).getType(), kTextureCube);
    EXPECT_EQ(m.getTextureState(1).getCubeFaceId(0), 10);
    EXPECT_EQ(m.getTextureState(1).getCubeFaceId(5), 15);
    EXPECT_EQ(m.getTextureState(1).getTextureId(), -1);
    EXPECT_EQ(m.getTextureState(2).getWidth(), 512);
    EXPECT_EQ(m.getTextureState(3).getFormat(), 2);
    EXPECT_EQ(m.getTextureState(4).getUnit(), 6);  // a file may renumber a unit
    EXPECT_EQ(m.getTextureState(7).getTextureId(), 9);

    const cPrimitiveState& p = m.getPrimitiveState();
    EXPECT_EQ(p.getPointSize().getConstant(), 12.5f);
    EXPECT_EQ(p.getLineWidth().getControllerIndex(), 2);
    EXPECT_EQ(p.getPrimType(), kPrimPoints);
    EXPECT_EQ(p.getBufferType(), 1);
    EXPECT_EQ(p.getCullMode(), 2);
    EXPECT_EQ(m.getBlendingState().getMode(), kBlendAdditive);
    EXPECT_FALSE(m.getZBufferState().getWrite());
    EXPECT_EQ(m.getZBufferState().getTestFunc(), kDepthLessEqual);

    const cShaderState& s = m.getShaderState();
    EXPECT_EQ(s.vertexModules(), (std::vector<std::string>{"Assets/Shaders/common.glsl",
                                                           "Assets/Shaders/wave vertex.glsl"}));
    EXPECT_EQ(s.fragmentModules(), std::vector<std::string>{"Assets/Shaders/glow.glsl"});
    EXPECT_EQ(s.vertexVars().floats.at("amplitude").getConstant(), 0.75f);
    EXPECT_EQ(s.vertexVars().floats.at("phase").getControllerIndex(), 1);
    EXPECT_EQ(s.fragmentVars().floats.at("my var").getConstant(), -3.5f);
    EXPECT_EQ(s.fragmentVars().floats.count("fadeToColor"), 1u);
    EXPECT_EQ(s.vertexVars().ints.at("mode"), 3);
    EXPECT_EQ(s.fragmentVars().ints.at("sampler0"), 0);
    EXPECT_EQ(s.vertexVars().vec2s.at("scroll")[1], -0.25f);
    EXPECT_EQ(s.fragmentVars().vec2s.at("screen")[0], 800);
    EXPECT_EQ(s.vertexVars().vec3s.at("lightPos").getConstant().z, -300);
    EXPECT_EQ(s.vertexVars().vec3s.at("path").getControllerIndex(), 2);
    EXPECT_EQ(s.fragmentVars().vec3s.at("tint").getConstant().y, 0.5f);
    EXPECT_EQ(s.vertexVars().vec4s.at("plane")[3], -10);
    EXPECT_EQ(s.fragmentVars().vec4s.at("fogColor")[0], 0.1f);

    // What the material writes loads back to the same material.
    cMaterial again;
    ASSERT_TRUE(load(written(m), again));
    EXPECT_EQ(written(again), written(m));
}

TEST_F(Material, LoadingTwiceEqualsLoadingOnceAndLineEndsDoNotMatter)
{
    cMaterial once, twice, crlf, noFinalLineEnd, textOnLineTwo;
    load(mSample, once);
    load(mSample, twice);
    load(mSample, twice);
    std::string crlfText;
    for (char c : mSample) {
        crlfText += (c == '\n') ? std::string("\r\n") : std::string(1, c);
    }
    EXPECT_TRUE(load(crlfText, crlf));
    EXPECT_TRUE(load(mSample.substr(0, mSample.size() - 1), noFinalLineEnd));
    std::string blankLineTwo = mSample;
    blankLineTwo.replace(mSample.find('\n') + 1, mSample.find('\n', mSample.find('\n') + 1) -
                                                     mSample.find('\n') - 1, "");
    EXPECT_TRUE(load(blankLineTwo, textOnLineTwo));
    for (const cMaterial* m : {&twice, &crlf, &noFinalLineEnd, &textOnLineTwo}) {
        EXPECT_EQ(written(*m), written(once));
    }
}

TEST_F(Material, UnreadableFilesLeaveTheMaterialAlone)
{
    cMaterial m;
    m.getBlendingState().setMode(kBlendAlpha);
    const std::string before = written(m);
    EXPECT_TRUE(m.load(mDir.file("missing.mat"), false));
    EXPECT_TRUE(load("material version:2\n" + mSample.substr(mSample.find('\n') + 1), m));
    EXPECT_TRUE(load("", m));
    writeFile(mDir.file("m.mat"), mSample);
    EXPECT_TRUE(m.load(mDir.file("m.mat"), true));
    EXPECT_EQ(written(m), before);
}

TEST_F(Material, ATextureBlockOfAnotherVersionIsSkippedByItsLine)
{
    // Unit 0's block becomes a bare version-0 line; the next block starts right after it.
    const size_t start = mSample.find("fileformat version:1\ntexture filter:1");
    const size_t next = mSample.find("fileformat version:1", start + 1);
    std::string text = mSample;
    text.replace(start, next - start, "fileformat version:0\n");
    cMaterial m;
    load(text, m);
    EXPECT_EQ(m.getTextureState(0).getTextureId(), -1);
    EXPECT_EQ(m.getTextureState(0).getVersion(), 0);
    EXPECT_EQ(m.getTextureState(1).getCubeFaceId(0), 10);
    EXPECT_EQ(m.getTextureState(1).getUnit(), 1);
}

TEST_F(Material, EveryCutLoadsWithoutHarmAndKeepsCompleteBlocks)
{
    cMaterial full;
    ASSERT_TRUE(load(mSample, full));
    std::vector<size_t> lineEnds;
    for (size_t i = 0; i < mSample.size(); ++i) {
        if (mSample[i] == '\n') {
            lineEnds.push_back(i + 1);
        }
    }
    // Where each texture block and the blending block end in the sample.
    const size_t blendingEnd = mSample.find("blending mode:1\n") + 16;

    std::vector<size_t> cuts = lineEnds;
    std::mt19937 random(12092026);
    for (int i = 0; i < 300; ++i) {
        cuts.push_back(random() % mSample.size());
    }
    for (size_t cut : cuts) {
        SCOPED_TRACE(cut);
        cMaterial m;
        const bool ok = load(mSample.substr(0, cut), m);
        // Before the version line is complete the file reads as one of another version.
        if (cut > lineEnds[0] && cut < blendingEnd) {
            EXPECT_FALSE(ok);
        }
        if (cut >= blendingEnd) {
            std::ostringstream a, b;
            m.getPrimitiveState().write(a, false);
            full.getPrimitiveState().write(b, false);
            EXPECT_EQ(a.str(), b.str());
            EXPECT_EQ(m.getBlendingState().getMode(), kBlendAdditive);
            for (int32_t unit = 0; unit < cMaterial::kTextureUnits; ++unit) {
                std::ostringstream ta, tb;
                m.getTextureState(unit).write(ta, false);
                full.getTextureState(unit).write(tb, false);
                EXPECT_EQ(ta.str(), tb.str()) << "unit " << unit;
            }
        }
    }
}

TEST_F(Material, AFileCutInsideItsLastBlockIsMalformed)
{
    // Everything up to the shader block, then the start of its version line: not complete.
    const size_t shader = mSample.find("shader\n");
    ASSERT_NE(shader, std::string::npos);
    for (const char* rest : {"shader\nfileformat ve", "shader\nfileformat version:", "shader\nfile"}) {
        cMaterial m;
        EXPECT_FALSE(load(mSample.substr(0, shader) + rest, m)) << rest;
    }
    // The whole file without its final line end still reads as complete.
    cMaterial whole;
    std::string trimmed = mSample;
    while (!trimmed.empty() && (trimmed.back() == '\n' || trimmed.back() == '\r')) {
        trimmed.pop_back();
    }
    EXPECT_TRUE(load(trimmed, whole));
}
