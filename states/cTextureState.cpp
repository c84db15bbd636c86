// Texture block: filter, source, format, type, unit, size, then the texture id or six cube faces.
#include "states/cTextureState.h"

#include "core/textUtil.h"

namespace qvr {

int32_t cTextureState::getCubeFaceId(int32_t index) const
{
    return (index >= 0 && index < 6) ? mCubeFaceIds[index] : -1;
}

void cTextureState::setCubeFaceId(int32_t index, int32_t id)
{
    if (index >= 0 && index < 6) {
        mCubeFaceIds[index] = id;
    }
}

bool cTextureState::read(std::istream& in, bool binary)
{
    if (!cRenderStateBase::read(in, binary)) {
        return false;
    }
    if (!readsFields(binary)) {
        return in.good();
    }
    readLabeled(in, mFilter);
    readLabeled(in, mSource);
    readLabeled(in, mFormat);
    readLabeled(in, mType);
    readLabeled(in, mUnit);
    readLabeled(in, mWidth);
    readLabeled(in, mHeight);
    if (hasCubeFaceLines()) {
        for (int32_t& id : mCubeFaceIds) {
            readLabeled(in, id);
        }
    } else {
        readLabeled(in, mTextureId);
    }
    skipLineEnd(in);
    return in.good();
}

bool cTextureState::write(std::ostream& out, bool binary) const
{
    if (!cRenderStateBase::write(out, binary) || binary) {
        return out.good();
    }
    out << "texture filter:" << mFilter << "\n"
        << "texture source:" << mSource << "\n"
        << "texture format:" << mFormat << "\n"
        << "texture type:" << mType << "\n"
        << "texture unit:" << mUnit << "\n"
        << "texture width:" << mWidth << "\n"
        << "texture height:" << mHeight << "\n";
    if (hasCubeFaceLines()) {
        for (int i = 0; i < 6; ++i) {
            out << "cubeId" << (i + 1) << ":" << mCubeFaceIds[i] << "\n";
        }
    } else {
        out << "texture id:" << mTextureId << "\n";
    }
    return out.good();
}

} // namespace qvr
