// Program entry: the resource list, the two timeline callbacks, then the window and its loop.
#include "core/cFrameListenerRegistry.h"
#include "core/cSystemWrapper.h"
#include "demo/timeline.h"
#include "resources/cResourceManger.h"

#include <cstdlib>
#include <cstring>

int main()
{
    qvr::getResourceManager().loadResourceList("Assets/Data/resources.dat");
    // A diagnostic for the show test: GL errors and timing lines on standard output.
    const char* debug = std::getenv("QVR_DEBUG_FRAMES");
    demo::setTimelineDebug(debug && std::strcmp(debug, "1") == 0);
    qvr::getFrameListenerRegistry().addCallback(qvr::kEventFrame, demo::updateTimeline, 0);
    qvr::getFrameListenerRegistry().addCallback(qvr::kEventStart, demo::initDemo, 0);
    if (!qvr::getSystemWrapper().openWindowAndRun("Quorvane", 800, 600, false)) {
        return EXIT_FAILURE;
    }
    return 0;
}
