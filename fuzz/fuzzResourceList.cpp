// The resource list "resources.dat".
#include "fuzz/fuzzSupport.h"
#include "resources/cResourceManger.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::istringstream in(qvr::fuzz::text(data, size));
    qvr::fuzz::guarded([&] {
        qvr::cResourceManger resources;
        resources.readResourceList(in);
        for (int32_t i = -1; i <= resources.count(); ++i) {
            resources.peek(i);
        }
    });
    return 0;
}
