// PNG decoding: the input is written to a file of this process and loaded as a picture.
#include "fuzz/fuzzSupport.h"
#include "resources/cPngLoader.h"

#include <cstdio>
#include <string>

#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string path = "/tmp/qvr_fuzz_png_" + std::to_string(getpid()) + ".png";
    if (FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, file);
        std::fclose(file);
    }
    qvr::fuzz::guarded([&] {
        qvr::cPngLoader loader;
        const qvr::cImage image = loader.load(path);
        if (!image.empty()) {
            volatile uint8_t first = image.pixels[0];
            (void)first;
        }
    });
    return 0;
}
