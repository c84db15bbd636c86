// The material files and GLSL modules of the show: built here as materials and written with the
// engine's own material writer, so every file reads back exactly as the scenes expect.
#include "content/contentFiles.h"
#include "content/shaderSources.h"

#include "states/cMaterial.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>

namespace qvr::content {

namespace {

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

// Resource indices of the pictures the materials sample (content/RESOURCES.md).
enum ePicture : int32_t {
    kTitlePicture = 0,
    kGlyphStrip = 1,
    kWaterNormals = 2,
    kNoise = 3,
    kFacade = 11,
    kParticle = 12,
    kRainStreak = 13,
    kSplashRing = 14,
    kLetterSurface = 15,
    kRampCity = 16,
    kRampSculpture = 17,
    kRampExtrusion = 18,
    kRampIce = 19,
    kRampCorridor = 20,
    kRampTitleCity = 21,
};
// Render targets the materials read.
constexpr int32_t kReflectionTarget = 4;

// A lit material of the scenes: the shared helper modules first, then its own.
cMaterial sceneMaterial(const std::string& vertex, const std::string& fragment)
{
    cMaterial m;
    m.getPrimitiveState().setCullMode(2);
    m.getShaderState().vertexModules() = {module("lib_v"), module(vertex)};
    m.getShaderState().fragmentModules() = {module("lib_f"), module(fragment)};
    return m;
}

// Texture unit unit samples the picture (or target) id through the sampler named sampler.
void sample(cMaterial& m, int32_t unit, const std::string& sampler, int32_t source, int32_t id)
{
    useTexture(m, unit, source, id);
    m.getShaderState().fragmentVars().ints[sampler] = unit;
}

void glowingBlend(cMaterial& m)
{
    m.getBlendingState().setMode(kBlendAdditive);
    m.getZBufferState().setWrite(false);
}

void setFloat(cMaterial& m, bool fragment, const std::string& name, float value)
{
    cShaderState& s = m.getShaderState();
    (fragment ? s.fragmentVars() : s.vertexVars()).floats[name] = cAnimatableFloat(value);
}

cMaterial blockMaterial()
{
    cMaterial m = sceneMaterial("blocks_v", "blocks_f");
    sample(m, 0, "facade", kTextureFromImage, kFacade);
    sample(m, 1, "ramp", kTextureFromImage, kRampCity);
    setFloat(m, false, "fromSeed", 0.0f);
    setFloat(m, false, "toSeed", 1.0f);
    setFloat(m, false, "seedT", 0.0f);
    setFloat(m, true, "anim", 0.0f);
    return m;
}

cMaterial waterMaterial(bool mirror)
{
    cMaterial m = sceneMaterial("water_v", mirror ? "water_f" : "darkwater_f");
    if (mirror) {
        sample(m, 0, "reflection", kTextureFromRenderTarget, kReflectionTarget);
        sample(m, 1, "ripples", kTextureFromImage, kWaterNormals);
    } else {
        sample(m, 0, "ripples", kTextureFromImage, kWaterNormals);
    }
    setFloat(m, true, "anim", 0.0f);
    return m;
}

cMaterial spriteMaterial(const std::string& vertex, float pointSize)
{
    cMaterial m = sceneMaterial(vertex, "sprite_f");
    m.getPrimitiveState().setPrimType(kPrimPoints);
    m.getPrimitiveState().getPointSize() = cAnimatableFloat(pointSize);
    sample(m, 0, "sprite", kTextureFromImage, kParticle);
    glowingBlend(m);
    return m;
}

void addSceneMaterials(std::map<std::string, cMaterial>& all)
{
    all["city"] = blockMaterial();
    cMaterial snake = sceneMaterial("snake_v", "snake_f");
    setFloat(snake, false, "seedT", 0.0f);
    all["snake"] = snake;
    all["water2"] = waterMaterial(true);
    all["water"] = waterMaterial(false);

    cMaterial sculpture = sceneMaterial("sculpture_v", "sculpture_f");
    sample(sculpture, 0, "ramp", kTextureFromImage, kRampSculpture);
    all["abstra"] = sculpture;

    cMaterial tubes = sceneMaterial("tube_v", "tube_f");
    sample(tubes, 0, "ramp", kTextureFromImage, kRampExtrusion);
    setFloat(tubes, false, "anim", 20000.0f);
    all["extrude"] = tubes;
    all["ballpart"] = spriteMaterial("cloud_v", 9.0f);
    cMaterial rain = sceneMaterial("rain_v", "rain_f");
    sample(rain, 0, "streak", kTextureFromImage, kRainStreak);
    sample(rain, 1, "logo", kTextureFromImage, kTitlePicture);
    setFloat(rain, true, "logoShow", 0.0f);
    glowingBlend(rain);
    all["rain"] = rain;

    cMaterial ice = sceneMaterial("ice_v", "ice_f");
    sample(ice, 0, "ramp", kTextureFromImage, kRampIce);
    ice.getBlendingState().setMode(kBlendAlpha);
    all["ice"] = ice;
    all["sphereice"] = ice;
    all["treeparticle"] = spriteMaterial("treeparticle_v", 6.0f);

    cMaterial corridor = sceneMaterial("corridor_v", "corridor_f");
    sample(corridor, 0, "stone", kTextureFromImage, kNoise);
    sample(corridor, 1, "ramp", kTextureFromImage, kRampCorridor);
    all["corri"] = corridor;
    cMaterial channel = sceneMaterial("corridor_v", "channel_f");
    sample(channel, 0, "ripples", kTextureFromImage, kWaterNormals);
    channel.getBlendingState().setMode(kBlendAlpha);
    all["watercorr"] = channel;
    cMaterial splash = sceneMaterial("splash_v", "splash_f");
    sample(splash, 0, "ring", kTextureFromImage, kSplashRing);
    glowingBlend(splash);
    all["watersplash"] = splash;
    cMaterial creak = sceneMaterial("creak_v", "creak_f");
    sample(creak, 0, "streak", kTextureFromImage, kRainStreak);
    glowingBlend(creak);
    all["watercreak"] = creak;
    cMaterial letter = sceneMaterial("letter_v", "letter_f");
    sample(letter, 0, "surface", kTextureFromImage, kLetterSurface);
    all["letter"] = letter;

    cMaterial title = sceneMaterial("titleblocks_v", "titleblocks_f");
    sample(title, 0, "glyphs", kTextureFromImage, kGlyphStrip);
    sample(title, 1, "ramp", kTextureFromImage, kRampTitleCity);
    setFloat(title, true, "anim", 0.0f);
    setFloat(title, false, "blowup", 0.0f);
    all["gcity"] = title;

    all["track"] = sceneMaterial("track_v", "track_f");
}

std::map<std::string, cMaterial> materials()
{
    std::map<std::string, cMaterial> all;
    cMaterial overlay = screenMaterial("overlay_v", "overlay_f", kBlendAlpha);
    useTexture(overlay, 0, kTextureFromImage, kTitlePicture);
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
    addSceneMaterials(all);
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
