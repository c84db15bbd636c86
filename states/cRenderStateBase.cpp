// The version line that opens every render-state block.
#include "states/cRenderStateBase.h"

#include "core/textUtil.h"

#include <sstream>
#include <string>

namespace qvr {

bool cRenderStateBase::write(std::ostream& out, bool binary) const
{
    if (!out.good()) {
        return false;
    }
    if (!binary) {
        out << "fileformat version:" << 1 << "\n";
    }
    return out.good();
}

bool cRenderStateBase::read(std::istream& in, bool binary)
{
    if (!in.good()) {
        return false;
    }
    if (!binary) {
        std::string line;
        if (readLine(in, line)) {
            const size_t colon = line.find(':');
            std::istringstream value(colon == std::string::npos ? "" : line.substr(colon + 1));
            int32_t version = 0;
            // A version line without a readable number is no version-1 block either.
            mVersion = (value >> version) ? version : 0;
        }
    }
    return in.good();
}

} // namespace qvr
