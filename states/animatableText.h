// Text form of animatable values in render-state blocks: a static flag, then either the constant
// (flag 1) or a controller index into the controller library (flag 0).
#pragma once

#include "math/cAnimatable.h"

#include <istream>
#include <ostream>

namespace qvr {

//! Makes value refer to controller index of the process-wide controller library.
void bindToControllerLibrary(cAnimatableObject& value, int32_t index);

//! Reads "<flag label>:" 0/1 and "<value label>:" number (a float, truncated for an index), as the
//! primitive block writes them. value changes only when both were read.
bool readAnimatableFloat(std::istream& in, cAnimatableFloat& value);

//! Writes the flag line and the value line with the given labels.
void writeAnimatableFloat(std::ostream& out, const char* flagLabel, const char* valueLabel,
                          const cAnimatableFloat& value);

} // namespace qvr
