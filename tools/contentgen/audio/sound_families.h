// The families of generated sounds. Each entry makes one file's finished,
// levelled samples; the audio jobs write them. One source file per family:
// engine_sounds (engine loops, the off-throttle layer, countdown revs),
// impact_sounds (crashes, gear change), car_loops (tyre squeal, wind, nitro),
// cue_sounds (checkpoint chime, horns, menu click and hover) and
// music_tracks (the five music loops).
#pragma once

#include "audio/synth.h"

#include <functional>
#include <string>
#include <vector>

namespace gen::audio {

struct SoundRecipe {
    std::string file;  // relative to base/
    std::function<Samples()> make;
};

struct MusicRecipe {
    std::string file;  // relative to base/
    std::function<StereoSamples()> make;
};

std::vector<SoundRecipe> engineSounds();
std::vector<SoundRecipe> impactSounds();
std::vector<SoundRecipe> carLoops();
std::vector<SoundRecipe> cueSounds();
std::vector<MusicRecipe> musicTracks();

// The loudness every music loop is levelled to (LUFS, integrated).
constexpr float musicLoudness = -16.0f;

}  // namespace gen::audio
