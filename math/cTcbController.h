// Controller that follows Kochanek-Bartels (tension, continuity, bias) splines through its keys.
#pragma once

#include "math/cBaseController.h"

namespace qvr {

class cTcbController : public cBaseController {
public:
    //! Time is not clamped: before the first key the first value, at and after the last key the
    //! last value.
    cVec3f evaluate(float time) const override;
    int32_t getType() const override { return kControllerTcb; }
    std::unique_ptr<cBaseController> clone() const override;
    //! Appends the keys read to those already present.
    bool read(std::istream& in, bool binary, int32_t skip) override;
    bool write(std::ostream& out, bool binary) const override;
};

} // namespace qvr
