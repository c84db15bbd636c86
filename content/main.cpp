// The content generator: writes every mesh, picture and data file the demo opens into a run
// directory, the same bytes on every run. Usage: qvr_content <run directory> [--table]
#include "content/contentFiles.h"

#include <cstdio>
#include <filesystem>
#include <string>

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <run directory> [--table]\n", argv[0]);
        return 2;
    }
    namespace fs = std::filesystem;
    const std::string root = argv[1];
    std::error_code error;
    for (const char* dir : {"Assets/Data", "Assets/Tex", "Assets/Fonts", "Assets/Mat"}) {
        fs::create_directories(fs::path(root) / dir, error);
        if (error) {
            std::fprintf(stderr, "content: cannot create %s/%s: %s\n", root.c_str(), dir,
                         error.message().c_str());
            return 1;
        }
    }
    std::vector<qvr::content::cPictureEntry> pictures;
    const bool ok = qvr::content::writeMeshFiles(root) && qvr::content::writePictures(root, pictures) &&
                    qvr::content::writeDataFiles(root, pictures) && qvr::content::writeMaterials(root);
    if (argc > 2 && std::string(argv[2]) == "--table") {
        std::printf("| index | file | purpose |\n|---|---|---|\n");
        for (size_t i = 0; i < pictures.size(); ++i) {
            std::printf("| %zu | `%s` | %s |\n", i, pictures[i].path.c_str(), pictures[i].purpose.c_str());
        }
    }
    return ok ? 0 : 1;
}
