// Reading and writing animatable values in render-state blocks.
#include "states/animatableText.h"

#include "core/textUtil.h"
#include "math/cControllerLibrary.h"

namespace qvr {

void bindToControllerLibrary(cAnimatableObject& value, int32_t index)
{
    value.setControllerList(&getControllerLibrary().getControllers());
    value.setControllerIndex(index);
}

bool readAnimatableFloat(std::istream& in, cAnimatableFloat& value)
{
    int32_t isStatic = 1;
    float number = 0.0f;
    skipLabel(in);
    in >> isStatic;
    skipLabel(in);
    in >> number;
    if (in.fail()) {
        return false;
    }
    cAnimatableFloat read(number);
    if (isStatic != 1) {
        bindToControllerLibrary(read, toControllerIndex(number));
    }
    value = read;
    return in.good();
}

void writeAnimatableFloat(std::ostream& out, const char* flagLabel, const char* valueLabel,
                          const cAnimatableFloat& value)
{
    if (value.refersToController()) {
        out << flagLabel << ":0\n" << valueLabel << ":" << value.getControllerIndex() << "\n";
    } else {
        cFloatPrecision precision(out);
        out << flagLabel << ":1\n" << valueLabel << ":" << value.getConstant() << "\n";
    }
}

} // namespace qvr
