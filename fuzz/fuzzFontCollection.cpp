// The font collection list "fontCollection.txt", and the splitting of overlay text into lines.
#include "fuzz/fuzzSupport.h"
#include "render/cFont.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text = qvr::fuzz::text(data, size);
    std::istringstream in(text);
    qvr::fuzz::guarded([&] {
        for (const qvr::cFontEntry& entry : qvr::readFontCollection(in, "fontCollection.txt")) {
            if (entry.path.empty() || entry.size <= 0) {
                __builtin_trap();
            }
        }
        for (const std::string& line : qvr::textLines(text)) {
            for (const char c : line) {
                if (c == '\n' || static_cast<unsigned char>(c) >= 128) {
                    __builtin_trap();
                }
            }
        }
    });
    return 0;
}
