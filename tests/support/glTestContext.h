// A real GL context for display tests: a hidden 800x600 window with the engine's GL state and
// extension loader. Needs a display (the test command runs these tests under Xvfb).
#pragma once

#include <string>

struct SDL_Window;

namespace qvr::test {

class cGlTestContext {
public:
    cGlTestContext();
    ~cGlTestContext();
    cGlTestContext(const cGlTestContext&) = delete;
    cGlTestContext& operator=(const cGlTestContext&) = delete;

    //! Whether the context is current; error() says why not.
    bool ok() const { return mContext != nullptr; }
    const std::string& error() const { return mError; }

private:
    SDL_Window* mWindow = nullptr;
    void* mContext = nullptr;
    std::string mError;
};

} // namespace qvr::test
