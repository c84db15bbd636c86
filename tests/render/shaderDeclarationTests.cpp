// Declarations read from GLSL lines, and which names GL can know.
#include "render/shaderDeclarations.h"

#include <gtest/gtest.h>

using namespace qvr;

TEST(ShaderDeclarations, NamesAreReadAsTheRendererAlwaysDid)
{
    std::string name;
    EXPECT_EQ(parseDeclaration("uniform vec3 qvrCamPos;", name), eDeclaration::kUniform);
    EXPECT_EQ(name, "qvrCamPos");
    EXPECT_EQ(parseDeclaration("  attribute vec2 tex1; // corners", name), eDeclaration::kAttribute);
    EXPECT_EQ(name, "tex1");
    EXPECT_EQ(parseDeclaration("uniform vec4 qvrNoisePg[64];", name), eDeclaration::kUniform);
    EXPECT_EQ(name, "qvrNoisePg[64]");
    EXPECT_EQ(parseDeclaration("varying vec2 uv;", name), eDeclaration::kNone);
    EXPECT_EQ(parseDeclaration("", name), eDeclaration::kNone);
    EXPECT_EQ(parseDeclaration("uniform", name), eDeclaration::kUniform);
    EXPECT_EQ(name, "");

    // Declarations GL will not know by the extracted name.
    const char* broken[] = {"uniform float a ;", "uniform\tfloat\ta;", "uniform float  a;",
                            "uniform lowp float a;", "uniform float a, b;", "uniform float 2a;"};
    for (const char* line : broken) {
        parseDeclaration(line, name);
        EXPECT_FALSE(isPlainGlslName(name)) << line << " -> \"" << name << "\"";
    }
    for (const char* good : {"a", "_b2", "qvrNoisePg[64]", "x[0]"}) {
        EXPECT_TRUE(isPlainGlslName(good)) << good;
    }
    EXPECT_FALSE(isPlainGlslName("x[]"));
    EXPECT_FALSE(isPlainGlslName("x[1"));
}
