// The material files and GLSL modules of the show: built here as materials and written with the
// engine's own material writer, so every file reads back exactly as the scenes expect.
#include "content/contentFiles.h"

#include "states/cMaterial.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>

namespace qvr::content {

namespace {

// GLSL modules by name (the file is the name plus ".glsl" under Assets/Shaders/).
const std::map<std::string, std::string>& shaderModules()
{
    static const std::map<std::string, std::string> modules = {
        // Full-screen quads: the overlay's corners are already in clip space.
        {"overlay_v", R"(attribute vec2 tex1;
varying vec2 uv;
void main()
{
    uv = vec2(tex1.x, 1.0 - tex1.y);
    gl_Position = vec4(gl_Vertex.xy, 0.0, 1.0);
}
)"},
        {"overlay_f", R"(uniform sampler2D picture;
uniform float fadeToColor;
varying vec2 uv;
void main()
{
    vec4 c = texture2D(picture, uv);
    gl_FragColor = vec4(c.rgb, c.a * clamp(fadeToColor, 0.0, 1.0));
}
)"},
        {"tocolor_f", R"(uniform float fadeToColor;
void main()
{
    gl_FragColor = vec4(0.98, 0.91, 0.76, clamp(fadeToColor, 0.0, 1.0));
}
)"},
        // Post-processing: quads of the 2D space, texture coordinates 0..1 over the target.
        {"post_v", R"(varying vec2 uv;
void main()
{
    uv = gl_MultiTexCoord0.xy;
    gl_Position = ftransform();
}
)"},
        {"blurv_f", R"(uniform sampler2D source;
varying vec2 uv;
void main()
{
    vec2 a = vec2(0.0, 1.3846 / 128.0);
    vec2 b = vec2(0.0, 3.2308 / 128.0);
    vec4 s = texture2D(source, uv) * 0.2270;
    s += (texture2D(source, uv + a) + texture2D(source, uv - a)) * 0.3162;
    s += (texture2D(source, uv + b) + texture2D(source, uv - b)) * 0.0703;
    gl_FragColor = s;
}
)"},
        {"blurh_f", R"(uniform sampler2D source;
varying vec2 uv;
void main()
{
    vec2 a = vec2(1.3846 / 128.0, 0.0);
    vec2 b = vec2(3.2308 / 128.0, 0.0);
    vec4 s = texture2D(source, uv) * 0.2270;
    s += (texture2D(source, uv + a) + texture2D(source, uv - a)) * 0.3162;
    s += (texture2D(source, uv + b) + texture2D(source, uv - b)) * 0.0703;
    gl_FragColor = s;
}
)"},
        // The bloom: only what is bright in the blurred glow image is added to the screen.
        {"composite_f", R"(uniform sampler2D glow;
varying vec2 uv;
void main()
{
    vec3 g = texture2D(glow, uv).rgb;
    vec3 bright = max(g - vec3(0.45), vec3(0.0)) * 1.4;
    gl_FragColor = vec4(bright, 1.0);
}
)"},
    };
    return modules;
}

std::string module(const std::string& name)
{
    return "Assets/Shaders/" + name;
}

// A material drawn over the whole screen: no culling, no depth, blended.
cMaterial screenMaterial(const std::string& vertex, const std::string& fragment, int32_t blending)
{
    cMaterial m;
    m.getPrimitiveState().setCullMode(2);
    m.getBlendingState().setMode(blending);
    m.getZBufferState().setTest(false);
    m.getZBufferState().setWrite(false);
    m.getShaderState().vertexModules() = {module(vertex)};
    m.getShaderState().fragmentModules() = {module(fragment)};
    return m;
}

void useTexture(cMaterial& m, int32_t unit, int32_t source, int32_t id)
{
    cTextureState& t = m.getTextureState(unit);
    t.setSource(source);
    t.setType(kTexture2D);
    t.setFilter(1);
    t.setUnit(unit);
    t.setTextureId(id);
}

std::map<std::string, cMaterial> materials()
{
    std::map<std::string, cMaterial> all;
    cMaterial overlay = screenMaterial("overlay_v", "overlay_f", kBlendAlpha);
    useTexture(overlay, 0, kTextureFromImage, 0);
    overlay.getShaderState().fragmentVars().floats["fadeToColor"] = cAnimatableFloat(1.0f);
    all["overlay1"] = overlay;

    cMaterial toColor = screenMaterial("overlay_v", "tocolor_f", kBlendAlpha);
    toColor.getShaderState().fragmentVars().floats["fadeToColor"] = cAnimatableFloat(0.0f);
    all["toColor"] = toColor;

    cMaterial blurV = screenMaterial("post_v", "blurv_f", kBlendOff);
    useTexture(blurV, 0, kTextureFromRenderTarget, 0);
    all["postprocblurv"] = blurV;
    cMaterial blurH = screenMaterial("post_v", "blurh_f", kBlendOff);
    useTexture(blurH, 0, kTextureFromRenderTarget, 1);
    all["postprocblurh"] = blurH;
    cMaterial composite = screenMaterial("post_v", "composite_f", kBlendAdditive);
    useTexture(composite, 0, kTextureFromRenderTarget, 2);
    all["postproc"] = composite;
    return all;
}

bool writeText(const std::filesystem::path& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
    return static_cast<bool>(out);
}

} // namespace

bool writeMaterials(const std::string& root)
{
    namespace fs = std::filesystem;
    std::error_code error;
    fs::create_directories(fs::path(root) / "Assets/Shaders", error);
    bool ok = !error;
    for (const auto& [name, source] : shaderModules()) {
        ok = writeText(fs::path(root) / (module(name) + ".glsl"), source) && ok;
    }
    for (const auto& [name, material] : materials()) {
        std::ofstream out(fs::path(root) / ("Assets/Mat/" + name + ".mat"), std::ios::binary);
        ok = material.write(out) && ok;
    }
    if (!ok) {
        std::fprintf(stderr, "content: cannot write the materials and shaders under %s\n", root.c_str());
    }
    return ok;
}

} // namespace qvr::content
