// Controller creation and the controller list file.
#include "math/cControllerLibrary.h"

#include "core/textUtil.h"
#include "math/cLinearController.h"
#include "math/cTcbController.h"

#include <cstdio>
#include <fstream>

namespace qvr {

std::unique_ptr<cBaseController> createController(int32_t type)
{
    switch (type) {
    case kControllerLinear: return std::make_unique<cLinearController>();
    case kControllerTcb: return std::make_unique<cTcbController>();
    default: return nullptr;
    }
}

cBaseController* cControllerLibrary::addController(int32_t type)
{
    std::unique_ptr<cBaseController> created = createController(type);
    if (!created) {
        return nullptr;
    }
    mOwned.push_back(std::move(created));
    mControllers.push_back(mOwned.back().get());
    return mControllers.back();
}

bool cControllerLibrary::loadControllerList(const std::string& path, bool binary)
{
    if (binary) {
        return true;
    }
    std::ifstream in(path);
    if (!in) {
        return false;
    }
    return readControllerList(in, path);
}

bool cControllerLibrary::readControllerList(std::istream& in, const std::string& path)
{
    mControllers.clear();
    int32_t format = -1;
    readLabeled(in, format);
    if (format != 0) {
        return in.good();
    }
    int32_t count = 0;
    readLabeled(in, count);
    skipLineEnd(in);
    int32_t complete = 0;
    for (int32_t i = 0; i < count && in.good(); ++i) {
        int32_t type = -1;
        if (!(in >> type)) {
            break;
        }
        skipLineEnd(in);
        cBaseController* controller = addController(type);
        if (!controller) {
            std::fprintf(stderr, "%s: controller %d has unknown type %d; reading stops there\n",
                         path.c_str(), static_cast<int>(i), static_cast<int>(type));
            return false;
        }
        controller->read(in, false, 0);
        skipLineEnd(in);
        if (in.fail()) {
            break;
        }
        ++complete;
    }
    if (complete < count) {
        std::fprintf(stderr, "%s: announces %d controllers but holds %d; those are kept\n", path.c_str(),
                     static_cast<int>(count), static_cast<int>(complete));
        return false;
    }
    // The end of the file right after the last controller is no failure.
    return !in.fail();
}

cControllerLibrary& getControllerLibrary()
{
    static cControllerLibrary* library = [] {
        auto* created = new cControllerLibrary();
        created->loadControllerList("Assets/Data/cont.txt", false);
        return created;
    }();
    return *library;
}

} // namespace qvr
