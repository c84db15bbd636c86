// Program entry. The scenes and the music are not built yet: the entry reads the resource list,
// opens the window after the fullscreen question and runs an empty frame loop (a black
// window) until Escape or the window is closed.
#include "core/cFrameListenerRegistry.h"
#include "core/cInputSystemSDL.h"
#include "core/cSystemWrapper.h"
#include "resources/cResourceManger.h"

#include <cstdio>
#include <cstdlib>

namespace {

void initDemo()
{
    qvr::getFrameListenerRegistry().addListener(&qvr::getInputSystem());
}

} // namespace

int main()
{
    qvr::cResourceManger& resources = qvr::getResourceManager();
    resources.loadResourceList("Assets/Data/resources.dat");
    std::printf("Quorvane: %d entries in Assets/Data/resources.dat; no scenes are built yet, so the "
                "window stays empty (Escape ends it).\n",
                static_cast<int>(resources.count()));
    std::fflush(stdout);
    qvr::getFrameListenerRegistry().addCallback(qvr::kEventStart, initDemo, 0);
    if (!qvr::getSystemWrapper().openWindowAndRun("Quorvane", 800, 600, false)) {
        return EXIT_FAILURE;
    }
    return 0;
}
