// Key list handling and the text form shared by all controllers.
#include "math/cBaseController.h"

#include "core/textUtil.h"

namespace qvr {

const cControllerKey* cBaseController::getKey(int32_t index) const
{
    const uint16_t position = static_cast<uint16_t>(index);
    if (position >= mKeys.size()) {
        return nullptr;
    }
    auto it = mKeys.begin();
    for (uint16_t i = 0; i < position; ++i) {
        ++it;
    }
    return &*it;
}

bool cBaseController::read(std::istream& in, bool binary, int32_t skip)
{
    if (binary || skip != 0) {
        return in.good();
    }
    readLabeled(in, mDimension);
    // Only x, x-y or x-y-z can be evaluated: anything else is taken as the nearest of those.
    mDimension = mDimension < 1 ? 1 : (mDimension > 3 ? 3 : mDimension);
    skipLineEnd(in);
    return in.good();
}

bool cBaseController::write(std::ostream& out, bool binary) const
{
    if (binary) {
        return out.good();
    }
    out << getType() << "\n";
    out << "do work on:" << mDimension << "\n";
    return out.good();
}

bool cBaseController::readKeys(std::istream& in, bool withTcb)
{
    int32_t count = 0;
    readLabeled(in, count);
    // Keys are appended one by one as they are read: a count larger than the text never
    // allocates more than the keys really there.
    for (int32_t i = 0; i < count && in.good(); ++i) {
        cControllerKey key;
        skipLabel(in);
        in >> key.value.x >> key.value.y >> key.value.z >> key.time;
        if (withTcb) {
            in >> key.tension >> key.bias >> key.continuity;
        }
        if (in.fail()) {
            break;
        }
        addKey(key);
    }
    // Evaluation walks the keys in time order: keys read out of order are put in order (keys of
    // equal time keep theirs).
    mKeys.sort([](const cControllerKey& a, const cControllerKey& b) { return a.time < b.time; });
    skipLineEnd(in);
    return in.good();
}

void cBaseController::writeKeys(std::ostream& out, bool withTcb) const
{
    cFloatPrecision precision(out);
    out << "number of keys:" << mKeys.size() << "\n";
    int32_t i = 0;
    for (const cControllerKey& key : mKeys) {
        out << "key " << i++ << ":" << key.value << " " << key.time;
        if (withTcb) {
            out << " " << key.tension << " " << key.bias << " " << key.continuity;
        }
        out << "\n";
    }
}

} // namespace qvr
