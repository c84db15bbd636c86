// GLSL module lines as the renderer reads them for uniform and attribute names.
#include "fuzz/fuzzSupport.h"
#include "render/shaderDeclarations.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::istringstream in(qvr::fuzz::text(data, size));
    std::string line;
    while (std::getline(in, line)) {
        std::string name;
        if (qvr::parseDeclaration(line, name) != qvr::eDeclaration::kNone) {
            qvr::isPlainGlslName(name);
        }
    }
    return 0;
}
