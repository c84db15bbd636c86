// Scene files in their text form.
#include "fuzz/fuzzSupport.h"
#include "scene/cScenegraph.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::istringstream in(qvr::fuzz::text(data, size));
    qvr::fuzz::guarded([&] {
        qvr::cScenegraph graph;
        if (qvr::cSpatialNode* top = graph.readScene(in, false, "fuzz.QVS", nullptr)) {
            graph.update(graph.getRoot(), 0.0f);
            top->findByName("Box01");
        }
    });
    return 0;
}
