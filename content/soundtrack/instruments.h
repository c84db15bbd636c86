// The soundtrack's instruments: each renders one note into a stereo bus at a start time.
#pragma once

#include "content/soundtrack/synth.h"

namespace qvr::sound {

//! Frequency of a MIDI note number.
float noteFrequency(float midi);

//! One note: when (seconds), how long it is held (seconds), how loud (0..1), where (-1..1).
struct cNote {
    float start = 0.0f;
    float held = 0.1f;
    float velocity = 1.0f;
    float pan = 0.0f;
    float midi = 60.0f;
};

void kick(cStereo& bus, const cNote& note);
void snare(cStereo& bus, const cNote& note);
//! Closed hat when held is short, open hat when it is long.
void hat(cStereo& bus, const cNote& note);
void crash(cStereo& bus, const cNote& note);
void bass(cStereo& bus, const cNote& note);
void pad(cStereo& bus, const cNote& note);
void pluck(cStereo& bus, const cNote& note);
void lead(cStereo& bus, const cNote& note);
void bell(cStereo& bus, const cNote& note);

} // namespace qvr::sound
