// The process-wide mouse state.
#include "core/cMouseState.h"

namespace qvr {

cMouseState& getMouseState()
{
    static cMouseState state;
    return state;
}

} // namespace qvr
