// The music: one stream played once from the start through SDL2_mixer. It never blocks the frame
// loop and never fails the run: without an audio device or a readable file the show is silent.
#pragma once

namespace demo {

//! Opens the audio device and starts path playing once; later calls do nothing. Any failure prints
//! one line on standard error and leaves the run silent. The device is closed when the process
//! exits.
void startMusic(const char* path);
//! Whether a stream is playing now.
bool isMusicPlaying();

} // namespace demo
