// Line reading for the engine's text files.
#include "core/textUtil.h"

namespace qvr {

void stripCarriageReturn(std::string& text)
{
    if (!text.empty() && text.back() == '\r') {
        text.pop_back();
    }
}

bool readLine(std::istream& in, std::string& line)
{
    if (!std::getline(in, line)) {
        return false;
    }
    stripCarriageReturn(line);
    return true;
}

} // namespace qvr
