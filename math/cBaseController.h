// Key-frame controllers: a list of timed 3-vector keys evaluated into a 3-vector at any time.
#pragma once

#include "math/cVec3f.h"

#include <cstdint>
#include <istream>
#include <list>
#include <memory>
#include <ostream>

namespace qvr {

//! One key. The tension, continuity and bias only shape cTcbController curves.
struct cControllerKey {
    float time = 0.0f;
    cVec3f value;
    float tension = 0.0f;
    float continuity = 0.0f;
    float bias = 0.0f;
};

//! A key with value at time (tension, continuity and bias 0).
inline cControllerKey makeKey(float time, const cVec3f& value)
{
    cControllerKey key;
    key.time = time;
    key.value = value;
    return key;
}

//! Type codes of getType(), also written in the text form.
enum eControllerType : int32_t {
    kControllerLinear = 0,
    kControllerTcb = 1,
};

class cBaseController {
public:
    virtual ~cBaseController() = default;

    //! The value at time; (0, 0, 0) without keys. Keys are expected in ascending time order.
    virtual cVec3f evaluate(float time) const = 0;
    virtual int32_t getType() const = 0;
    //! A new controller of the same class with the same dimension and a copy of the keys.
    virtual std::unique_ptr<cBaseController> clone() const = 0;
    //! Reads the text form without its type line. Does nothing unless binary is false and skip is
    //! 0. Reading stops where the stream fails; the keys read completely up to there stay.
    //! Returns whether the stream has neither an error nor reached its end.
    virtual bool read(std::istream& in, bool binary, int32_t skip);
    //! Writes the text form (type line first). Returns whether the stream is still good.
    virtual bool write(std::ostream& out, bool binary) const;
    virtual void idleHook() {}

    //! Appends a key at the end.
    void addKey(const cControllerKey& key) { mKeys.push_back(key); }
    //! The key at position index modulo 65536; null past the last key.
    const cControllerKey* getKey(int32_t index) const;
    //! The same key for editing; null past the last key.
    cControllerKey* editKey(int32_t index)
    {
        return const_cast<cControllerKey*>(static_cast<const cBaseController*>(this)->getKey(index));
    }
    int32_t getKeyCount() const { return static_cast<int32_t>(mKeys.size()); }
    const std::list<cControllerKey>& getKeys() const { return mKeys; }
    void clearKeys() { mKeys.clear(); }

    //! Number of driven channels: 1 (x), 2 (x, y) or 3 (x, y, z).
    int32_t getDimension() const { return mDimension; }
    void setDimension(int32_t dimension) { mDimension = dimension; }

protected:
    //! Reads "number of keys:" and the key lines, appending; withTcb reads the three extra floats.
    bool readKeys(std::istream& in, bool withTcb);
    //! Writes "number of keys:" and the key lines.
    void writeKeys(std::ostream& out, bool withTcb) const;

    int32_t mDimension = 3;
    int32_t mReserved = 0;
    std::list<cControllerKey> mKeys;
};

} // namespace qvr
