// Synthesizes "tideglass" and encodes it to MP3 (192 kbit/s CBR, joint stereo) with libmp3lame.
// Usage: qvr_soundtrack <output.mp3>
#include "content/soundtrack/score.h"

#include <lame/lame.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

bool encode(const qvr::sound::cStereo& audio, const char* path)
{
    lame_global_flags* lame = lame_init();
    lame_set_in_samplerate(lame, 44100);
    lame_set_out_samplerate(lame, 44100);
    lame_set_num_channels(lame, 2);
    lame_set_brate(lame, 192);
    lame_set_mode(lame, JOINT_STEREO);
    lame_set_quality(lame, 2);
    if (lame_init_params(lame) < 0) {
        lame_close(lame);
        return false;
    }
    FILE* out = std::fopen(path, "wb");
    if (!out) {
        lame_close(lame);
        return false;
    }
    const size_t chunk = 8192;
    std::vector<short> left(chunk), right(chunk);
    std::vector<unsigned char> mp3(chunk * 5 / 4 + 7200);
    bool ok = true;
    for (size_t at = 0; at < audio.frames() && ok; at += chunk) {
        const size_t n = std::min(chunk, audio.frames() - at);
        for (size_t i = 0; i < n; ++i) {
            left[i] = static_cast<short>(std::lround(std::clamp(audio.left[at + i], -1.0f, 1.0f) * 32767.0f));
            right[i] = static_cast<short>(std::lround(std::clamp(audio.right[at + i], -1.0f, 1.0f) * 32767.0f));
        }
        const int bytes = lame_encode_buffer(lame, left.data(), right.data(), static_cast<int>(n), mp3.data(),
                                             static_cast<int>(mp3.size()));
        ok = bytes >= 0 && std::fwrite(mp3.data(), 1, static_cast<size_t>(bytes), out) == static_cast<size_t>(bytes);
    }
    const int tail = lame_encode_flush(lame, mp3.data(), static_cast<int>(mp3.size()));
    ok = ok && tail >= 0 && std::fwrite(mp3.data(), 1, static_cast<size_t>(tail), out) == static_cast<size_t>(tail);
    lame_close(lame);
    return std::fclose(out) == 0 && ok;
}

double seconds(std::chrono::steady_clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output.mp3>\n", argv[0]);
        return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    const qvr::sound::cStereo audio = qvr::sound::renderPiece();
    const auto rendered = std::chrono::steady_clock::now();
    if (!encode(audio, argv[1])) {
        std::fprintf(stderr, "soundtrack: cannot encode %s\n", argv[1]);
        return 1;
    }
    std::printf("soundtrack: %s: synthesis %.1f s, encoding %.1f s\n", argv[1], seconds(rendered - start),
                seconds(std::chrono::steady_clock::now() - rendered));
    return 0;
}
