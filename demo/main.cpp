// Program entry. For now it only reads the resource list: the window, the scenes and the music
// are not built yet, so it reports what it read and ends.
#include "resources/cResourceManger.h"

#include <cstdio>

int main()
{
    qvr::cResourceManger& resources = qvr::getResourceManager();
    resources.loadResourceList("Assets/Data/resources.dat");
    std::printf("Quorvane engine: read %d entries from Assets/Data/resources.dat.\n",
                static_cast<int>(resources.count()));
    std::printf("The window, the scenes and the music are not built yet; nothing else to do.\n");
    return 0;
}
