// Material files: a version line, an ignored line, eight texture blocks, then the primitive,
// blending, depth-buffer and shader blocks, each after one ignored separator line.
#include "states/cMaterial.h"

#include "core/textUtil.h"

#include <cstdio>
#include <fstream>

namespace qvr {

namespace {

void skipLine(std::istream& in)
{
    std::string ignored;
    std::getline(in, ignored);
}

} // namespace

cMaterial::cMaterial()
{
    for (int32_t i = 0; i < kTextureUnits; ++i) {
        mTextures[i].setUnit(i);
    }
}

bool cMaterial::load(const std::string& path, bool binary)
{
    if (binary) {
        return true;
    }
    std::ifstream in(path);
    if (!in) {
        std::fprintf(stderr, "cMaterial: cannot open %s; the material stays as it was\n",
                     path.c_str());
        return true;
    }
    const bool ok = read(in);
    if (!ok) {
        std::fprintf(stderr, "cMaterial: %s is cut short or malformed; only its start was read\n",
                     path.c_str());
    }
    return ok;
}

bool cMaterial::read(std::istream& in)
{
    int32_t version = 0;
    readLabeled(in, version);
    skipLineEnd(in);
    if (version != 1) {
        return true;
    }
    skipLine(in);
    for (cTextureState& texture : mTextures) {
        texture.read(in, false);
    }
    cRenderStateBase* const blocks[] = {&mPrimitive, &mBlending, &mZBuffer, &mShader};
    for (cRenderStateBase* block : blocks) {
        skipLine(in);
        // Reaching the end of the file is only a failure when something was left to read: a
        // file whose last line has no line end is complete, one cut in a block's version line
        // is not.
        if (!block->read(in, false) && (in.fail() || block->getVersion() != 1)) {
            return false;
        }
    }
    return true;
}

bool cMaterial::write(std::ostream& out) const
{
    out << "material version:" << 1 << "\n" << "textures\n";
    for (const cTextureState& texture : mTextures) {
        texture.write(out, false);
    }
    out << "primitive\n";
    mPrimitive.write(out, false);
    out << "blending\n";
    mBlending.write(out, false);
    out << "depth buffer\n";
    mZBuffer.write(out, false);
    out << "shader\n";
    mShader.write(out, false);
    return out.good();
}

} // namespace qvr
