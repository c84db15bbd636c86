// Controller lists ("cont.txt") and single controllers in their text form (first byte: which),
// each controller then evaluated across and beyond its time range.
#include "fuzz/fuzzSupport.h"
#include "math/cControllerLibrary.h"
#include "math/cLinearController.h"
#include "math/cTcbController.h"

namespace {

void evaluateAll(const qvr::cBaseController& controller)
{
    for (float t : {-1.0f, 0.0f, 0.25f, 0.5f, 0.999f, 1.0f, 2.0f}) {
        controller.evaluate(t);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) {
        return 0;
    }
    std::istringstream in(qvr::fuzz::text(data + 1, size - 1));
    qvr::fuzz::guarded([&] {
        if (data[0] % 3 == 0) {
            qvr::cControllerLibrary library;
            library.readControllerList(in, "fuzz cont.txt");
            for (const qvr::cBaseController* controller : library.getControllers()) {
                evaluateAll(*controller);
            }
        } else if (data[0] % 3 == 1) {
            qvr::cLinearController linear;
            linear.read(in, false, 0);
            evaluateAll(linear);
        } else {
            qvr::cTcbController tcb;
            tcb.read(in, false, 0);
            evaluateAll(tcb);
        }
    });
    return 0;
}
