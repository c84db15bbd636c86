// Render state of one texture unit: where the texture comes from and how it is sampled.
#pragma once

#include "states/cRenderStateBase.h"

namespace qvr {

//! Texture sources.
enum eTextureSource : int32_t {
    kTextureFromRenderTarget = 0,
    kTextureFromImage = 1,
    kTextureNone = 2,
    kTextureFromDynamicImage = 3,
};

//! Texture dimensions.
enum eTextureType : int32_t {
    kTexture1D = 0,
    kTexture2D = 1,
    kTextureCube = 2,
    kTexture3D = 3,
};

class cTextureState : public cRenderStateBase {
public:
    bool write(std::ostream& out, bool binary) const override;
    bool read(std::istream& in, bool binary) override;

    //! 0 mipmapped (trilinear), 1 linear, 2 nearest.
    void setFilter(int32_t filter) { mFilter = filter; }
    int32_t getFilter() const { return mFilter; }
    void setSource(int32_t source) { mSource = source; }
    int32_t getSource() const { return mSource; }
    //! 2 floating-point texels (dynamic images), anything else 8 bits per channel.
    void setFormat(int32_t format) { mFormat = format; }
    int32_t getFormat() const { return mFormat; }
    void setType(int32_t type) { mType = type; }
    int32_t getType() const { return mType; }
    void setUnit(int32_t unit) { mUnit = unit; }
    int32_t getUnit() const { return mUnit; }
    //! Size of a texture the renderer makes itself (render targets, dynamic images).
    void setSize(int32_t width, int32_t height) { mWidth = width; mHeight = height; }
    int32_t getWidth() const { return mWidth; }
    int32_t getHeight() const { return mHeight; }
    //! Which image, render target or dynamic image supplies the texture.
    void setTextureId(int32_t id) { mTextureId = id; }
    int32_t getTextureId() const { return mTextureId; }
    //! Image resource of cube face index 0..5; -1 outside that range.
    int32_t getCubeFaceId(int32_t index) const;
    void setCubeFaceId(int32_t index, int32_t id);
    //! Runtime number given by the renderer when it creates the texture; -1 until then.
    int32_t getSerial() const { return mSerial; }
    void setSerial(int32_t serial) { mSerial = serial; }

    //! Cube faces are listed in the file only for cube maps made from image files.
    bool hasCubeFaceLines() const { return mType == kTextureCube && mSource == kTextureFromImage; }

private:
    int32_t mFilter = 0;
    int32_t mSource = kTextureNone;
    int32_t mFormat = 1;
    int32_t mType = kTexture2D;
    int32_t mCubeFaceIds[6] = {-1, -1, -1, -1, -1, -1};
    int32_t mUnit = 0;
    int32_t mWidth = 0;
    int32_t mHeight = 0;
    int32_t mTextureId = -1;
    int32_t mSerial = -1;
};

} // namespace qvr
