// Writes the binary-form seeds of the scene target: every text mesh file of a run directory in
// binary form. Usage: qvr_fuzz_seeds <run directory> <output directory>
#include "scene/cScenegraph.h"
#include "scene/sceneFileWriter.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <run directory> <output directory>\n", argv[0]);
        return 2;
    }
    namespace fs = std::filesystem;
    fs::create_directories(argv[2]);
    int written = 0;
    for (const auto& entry : fs::directory_iterator(fs::path(argv[1]) / "Assets")) {
        const std::string extension = entry.path().extension().string();
        if (extension != ".QVS" && extension != ".qvs") {
            continue;
        }
        qvr::cScenegraph graph;
        std::ifstream in(entry.path());
        qvr::cSpatialNode* top = graph.readScene(in, false, entry.path().string(), nullptr);
        if (!top) {
            continue;
        }
        std::ofstream out(fs::path(argv[2]) / (entry.path().stem().string() + ".bin"), std::ios::binary);
        written += qvr::writeScene(out, *top, true) ? 1 : 0;
    }
    std::printf("%d binary scene seeds\n", written);
    return written > 0 ? 0 : 1;
}
