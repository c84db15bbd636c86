// Material files, and each render-state block on its own (the first byte picks which).
#include "fuzz/fuzzSupport.h"
#include "states/cMaterial.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) {
        return 0;
    }
    std::istringstream in(qvr::fuzz::text(data + 1, size - 1));
    qvr::fuzz::guarded([&] {
        qvr::cMaterial material;
        switch (data[0] % 6) {
        case 0: material.getTextureState(0).read(in, false); break;
        case 1: material.getPrimitiveState().read(in, false); break;
        case 2: material.getBlendingState().read(in, false); break;
        case 3: material.getZBufferState().read(in, false); break;
        case 4: material.getShaderState().read(in, false); break;
        default: material.read(in); break;
        }
        std::ostringstream out;
        material.write(out);
    });
    return 0;
}
