// "tideglass": the score (patterns and arrangement, as data) and its rendering.
#pragma once

#include "content/soundtrack/synth.h"

#include <vector>

namespace qvr::sound {

//! Seconds per beat at 123.077 BPM: four bars last 7.8 s.
constexpr float kBeat = 60.0f / 123.077f;
//! Length of the piece and of the whole render (the piece plus a quiet tail).
constexpr float kPieceSeconds = 184.0f;
constexpr float kRenderSeconds = 185.0f;

//! The moments where the show changes and the music with it.
const std::vector<float>& sectionStarts();

//! Renders and masters the whole piece: stereo, 44.1 kHz, -14 LUFS, peaks at or below -1.5 dBFS.
cStereo renderPiece();

} // namespace qvr::sound
