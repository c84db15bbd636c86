// A material: everything about how one piece of geometry is drawn, as a plain value.
#pragma once

#include "states/cBlendingState.h"
#include "states/cPrimitiveState.h"
#include "states/cShaderState.h"
#include "states/cTextureState.h"
#include "states/cZBufferState.h"

#include <istream>
#include <ostream>
#include <string>

namespace qvr {

class cMaterial {
public:
    static constexpr int32_t kTextureUnits = 8;

    //! Untextured triangles, back faces culled, no blending, depth test and writes with LESS,
    //! no shader; texture state i drives unit i.
    cMaterial();

    //! Reads a material file into this material. binary true does nothing and returns true.
    //! A file that cannot be opened, or whose version is not 1, leaves the material unchanged
    //! and returns true. A malformed block makes it return false; what was read before stays.
    //! Problems are reported on standard error with the file's path.
    bool load(const std::string& path, bool binary);

    //! Reads the material file layout from a stream (what load does after opening the file).
    bool read(std::istream& in);
    //! Writes the layout read() consumes. Returns whether the stream is still good.
    bool write(std::ostream& out) const;

    cTextureState& getTextureState(int32_t unit) { return mTextures[clampUnit(unit)]; }
    const cTextureState& getTextureState(int32_t unit) const { return mTextures[clampUnit(unit)]; }
    cPrimitiveState& getPrimitiveState() { return mPrimitive; }
    const cPrimitiveState& getPrimitiveState() const { return mPrimitive; }
    cBlendingState& getBlendingState() { return mBlending; }
    const cBlendingState& getBlendingState() const { return mBlending; }
    cZBufferState& getZBufferState() { return mZBuffer; }
    const cZBufferState& getZBufferState() const { return mZBuffer; }
    cShaderState& getShaderState() { return mShader; }
    const cShaderState& getShaderState() const { return mShader; }

private:
    static int32_t clampUnit(int32_t unit) { return unit < 0 ? 0 : (unit > 7 ? 7 : unit); }

    cTextureState mTextures[kTextureUnits];
    cPrimitiveState mPrimitive;
    cBlendingState mBlending;
    cZBufferState mZBuffer;
    cShaderState mShader;
};

} // namespace qvr
