// The music on SDL2_mixer: opened once, played once, closed by an exit handler.
#include "demo/music.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdio>
#include <cstdlib>

namespace demo {

namespace {

struct cMusic {
    bool attempted = false;
    bool opened = false;
    Mix_Music* stream = nullptr;
};

cMusic& music()
{
    static cMusic current;
    return current;
}

// Stops the stream and closes the device before the process goes, so the audio system is left
// as it was found.
void closeMusic()
{
    cMusic& m = music();
    if (m.stream) {
        Mix_HaltMusic();
        Mix_FreeMusic(m.stream);
        m.stream = nullptr;
    }
    if (m.opened) {
        Mix_CloseAudio();
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        m.opened = false;
    }
}

bool openDevice()
{
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        std::fprintf(stderr, "music: no audio (%s); the show runs silently\n", SDL_GetError());
        return false;
    }
    if (Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 2048) != 0) {
        std::fprintf(stderr, "music: cannot open the audio device (%s); the show runs silently\n",
                     Mix_GetError());
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    music().opened = true;
    std::atexit(closeMusic);
    return true;
}

} // namespace

void startMusic(const char* path)
{
    cMusic& m = music();
    if (m.attempted) {
        return;
    }
    m.attempted = true;
    if (!openDevice()) {
        return;
    }
    m.stream = Mix_LoadMUS(path);
    if (!m.stream) {
        std::fprintf(stderr, "music: cannot play %s (%s); the show runs silently\n", path, Mix_GetError());
        return;
    }
    if (Mix_PlayMusic(m.stream, 0) != 0) {
        std::fprintf(stderr, "music: cannot play %s (%s); the show runs silently\n", path, Mix_GetError());
    }
}

bool isMusicPlaying()
{
    return music().stream && Mix_PlayingMusic() != 0;
}

} // namespace demo
