// Render state of the blending mode.
#pragma once

#include "states/cRenderStateBase.h"

namespace qvr {

//! Blending modes; any other value leaves blending as it is.
enum eBlendingMode : int32_t {
    kBlendAlpha = 0,     //!< source alpha, one minus source alpha
    kBlendAdditive = 1,  //!< source alpha, one
    kBlendOff = 2,
};

class cBlendingState : public cRenderStateBase {
public:
    bool write(std::ostream& out, bool binary) const override;
    bool read(std::istream& in, bool binary) override;

    int32_t getMode() const { return mMode; }
    void setMode(int32_t mode) { mMode = mode; }

private:
    int32_t mMode = kBlendOff;
};

} // namespace qvr
