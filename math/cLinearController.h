// Controller that interpolates linearly between keys, over a time clamped to 0..1.
#pragma once

#include "math/cBaseController.h"

namespace qvr {

class cLinearController : public cBaseController {
public:
    //! Time is clamped to 0..1. At and after the last key: the last key's value with all three
    //! components, whatever the dimension.
    cVec3f evaluate(float time) const override;
    int32_t getType() const override { return kControllerLinear; }
    std::unique_ptr<cBaseController> clone() const override;
    //! Replaces the keys with those read.
    bool read(std::istream& in, bool binary, int32_t skip) override;
    bool write(std::ostream& out, bool binary) const override;
};

} // namespace qvr
