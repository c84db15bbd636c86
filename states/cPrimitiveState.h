// Render state of the primitive kind, its buffers, face culling, and point and line sizes.
#pragma once

#include "math/cAnimatable.h"
#include "states/cRenderStateBase.h"

namespace qvr {

//! Primitive kinds; any other non-zero value draws triangles.
enum ePrimType : int32_t {
    kPrimPoints = 0,
    kPrimTriangles = 1,
    kPrimTriangleStrip = 2,
    kPrimTriangleFan = 3,
    kPrimLineLoop = 4,
    kPrimLines = 5,
    kPrimLineStrip = 6,
};

class cPrimitiveState : public cRenderStateBase {
public:
    bool write(std::ostream& out, bool binary) const override;
    bool read(std::istream& in, bool binary) override;

    int32_t getPrimType() const { return mPrimType; }
    void setPrimType(int32_t type) { mPrimType = type; }
    //! 0 vertex buffer objects, anything else client-memory arrays.
    int32_t getBufferType() const { return mPrimBufferType; }
    void setBufferType(int32_t type) { mPrimBufferType = type; }
    //! 0 cull front faces, 1 cull back faces, 2 no culling, anything else leaves culling alone.
    int32_t getCullMode() const { return mPrimCullMode; }
    void setCullMode(int32_t mode) { mPrimCullMode = mode; }
    cAnimatableFloat& getPointSize() { return mPointSize; }
    const cAnimatableFloat& getPointSize() const { return mPointSize; }
    cAnimatableFloat& getLineWidth() { return mLineWidth; }
    const cAnimatableFloat& getLineWidth() const { return mLineWidth; }

private:
    int32_t mPrimType = kPrimTriangles;
    int32_t mPrimBufferType = 0;
    int32_t mPrimCullMode = 1;
    cAnimatableFloat mPointSize{1.0f};
    cAnimatableFloat mLineWidth{1.0f};
};

} // namespace qvr
