// Scene files in their binary form.
#include "fuzz/fuzzSupport.h"
#include "scene/cScenegraph.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::istringstream in(qvr::fuzz::text(data, size), std::ios::in | std::ios::binary);
    qvr::fuzz::guarded([&] {
        qvr::cScenegraph graph;
        if (graph.readScene(in, true, "fuzz.bin", nullptr)) {
            graph.update(graph.getRoot(), 0.0f);
        }
    });
    return 0;
}
