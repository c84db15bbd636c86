// The demo's data files: the resource list, the controller library, the font list and the track
// editor's sample track.
#include "content/contentFiles.h"
#include "content/fontRaster.h"

#include "math/cLinearController.h"
#include "math/cTcbController.h"
#include "scene/cTrackNode.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace qvr::content {

namespace {

cControllerKey key(float time, float x, float y = 0.0f, float z = 0.0f)
{
    cControllerKey k;
    k.time = time;
    k.value.set(x, y, z);
    return k;
}

bool writeControllers(const std::string& path)
{
    // Index: purpose (the same table is in content/RESOURCES.md).
    cLinearController pulse;  // 0: 0 -> 1 -> 0 over the animation phase
    pulse.setDimension(1);
    pulse.addKey(key(0.0f, 0.0f));
    pulse.addKey(key(0.5f, 1.0f));
    pulse.addKey(key(1.0f, 0.0f));
    cTcbController drift;  // 1: slow colour drift, cold -> lantern -> teal -> cold
    drift.addKey(key(0.0f, 0.2f, 0.4f, 0.9f));
    drift.addKey(key(0.33f, 1.0f, 0.7f, 0.4f));
    drift.addKey(key(0.66f, 0.3f, 0.9f, 0.8f));
    drift.addKey(key(1.0f, 0.2f, 0.4f, 0.9f));
    cLinearController swell;  // 2: point size 4 -> 12 -> 4
    swell.setDimension(1);
    swell.addKey(key(0.0f, 4.0f));
    swell.addKey(key(0.5f, 12.0f));
    swell.addKey(key(1.0f, 4.0f));
    cLinearController ramp;  // 3: 0 -> 1 over the phase
    ramp.setDimension(1);
    ramp.addKey(key(0.0f, 0.0f));
    ramp.addKey(key(1.0f, 1.0f));

    std::ofstream out(path, std::ios::binary);
    const cBaseController* controllers[] = {&pulse, &drift, &swell, &ramp};
    out << "controller list format:0\n" << "number of controllers:" << std::size(controllers) << "\n";
    for (const cBaseController* c : controllers) {
        c->write(out, false);
        out << "\n";
    }
    return out.good();
}

// The sample track of the track editor: a closed loop of twelve keys per curve with three bulges and
// two hills, 600 units wide, its edges raised into kerbs.
bool writeTrack(const std::string& path)
{
    cTrackNode track;
    const float across[4] = {-300.0f, -250.0f, 250.0f, 300.0f};
    const float kerb[4] = {40.0f, 0.0f, 0.0f, 40.0f};
    constexpr int kKeys = 12;
    for (int k = 0; k <= kKeys; ++k) {
        const float t = static_cast<float>(k) / kKeys;
        const float angle = 6.2831853f * static_cast<float>(k % kKeys) / kKeys;
        const float radius = 2400.0f + 500.0f * std::sin(3.0f * angle);
        const float height = 180.0f * std::sin(2.0f * angle);
        for (int c = 0; c < 4; ++c) {
            const float r = radius + across[c];
            track.getCurve(c).addKey(key(t, r * std::cos(angle), height + kerb[c], r * std::sin(angle)));
        }
    }
    std::ofstream out(path, std::ios::binary);
    return track.writeCurves(out);
}

} // namespace

bool writeDataFiles(const std::string& root, const std::vector<cPictureEntry>& pictures)
{
    namespace fs = std::filesystem;
    bool ok = true;
    {
        std::ofstream out(root + "/Assets/Data/resources.dat", std::ios::binary);
        out << "VERSION1\n";
        for (const cPictureEntry& picture : pictures) {
            out << "TEXTURE " << picture.path << "\n";
        }
        ok = out.good() && ok;
    }
    ok = writeControllers(root + "/Assets/Data/cont.txt") && ok;
    ok = writeTrack(root + "/Assets/Data/track.txt") && ok;
    {
        std::error_code error;
        for (const char* font : {kFontRegular, kFontBold}) {
            const fs::path target = fs::path(root) / "Assets/Fonts" / fs::path(font).filename();
            fs::copy_file(font, target, fs::copy_options::overwrite_existing, error);
            ok = !error && ok;
        }
        std::ofstream out(root + "/Assets/Fonts/fontCollection.txt", std::ios::binary);
        out << "Assets/Fonts/DejaVuSans.ttf 24\n"
            << "Assets/Fonts/DejaVuSans-Bold.ttf 40\n"
            << "Assets/Fonts/DejaVuSans.ttf 11\n";
        ok = out.good() && ok;
    }
    if (!ok) {
        std::fprintf(stderr, "content: cannot write the data files under %s\n", root.c_str());
    }
    return ok;
}

} // namespace qvr::content
