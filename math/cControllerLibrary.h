// The process-wide controller library: the controllers that material files refer to by number,
// read from "Assets/Data/cont.txt" when it is first used.
#pragma once

#include "math/cAnimatable.h"
#include "math/cBaseController.h"

#include <memory>
#include <string>
#include <vector>

namespace qvr {

//! A new controller of the given type (0 linear, 1 TCB; dimension 3, no keys); null for any other.
std::unique_ptr<cBaseController> createController(int32_t type);

class cControllerLibrary {
public:
    //! The controllers in file order; animatable values bind to this list.
    const cControllerList& getControllers() const { return mControllers; }
    int32_t count() const { return static_cast<int32_t>(mControllers.size()); }

    //! Creates a controller of the type and appends it; null (nothing appended) for an unknown type.
    cBaseController* addController(int32_t type);

    //! Replaces the controllers with those of a controller list file. binary true does nothing.
    //! A file that cannot be opened leaves the library unchanged and returns false. Reading
    //! stops at the first controller of an unknown type or at a malformed line, keeping the
    //! controllers read before it. Returns false when the text ran out or was malformed before the
    //! announced number of controllers was read.
    bool loadControllerList(const std::string& path, bool binary);
    //! What loadControllerList does after opening the file; path only names it in messages.
    bool readControllerList(std::istream& in, const std::string& path);

private:
    cControllerList mControllers;
    // Every controller ever created stays alive for the run: a controller dropped from the list by
    // a reload may still be held by whoever added it.
    std::vector<std::unique_ptr<cBaseController>> mOwned;
};

//! The library, created and filled from "Assets/Data/cont.txt" on first use (empty when the file
//! is missing).
cControllerLibrary& getControllerLibrary();

} // namespace qvr
