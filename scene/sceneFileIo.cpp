// Low-level reading of scene files.
#include "scene/sceneFileIo.h"

#include <limits>

namespace qvr {

uint64_t bytesLeft(std::istream& in)
{
    const std::streampos here = in.tellg();
    if (here < 0) {
        return 0;
    }
    in.seekg(0, std::ios::end);
    const std::streampos end = in.tellg();
    in.seekg(here);
    return end > here ? static_cast<uint64_t>(end - here) : 0;
}

bool readBinaryString(std::istream& in, std::string& text)
{
    text.clear();
    char c = 0;
    while (in.get(c)) {
        if (c == '\0') {
            return true;
        }
        text.push_back(c);
    }
    return false;
}

void discardLine(std::istream& in)
{
    in.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
}

bool failWith(std::string* error, const std::string& what)
{
    if (error && error->empty()) {
        *error = what;
    }
    return false;
}

} // namespace qvr
