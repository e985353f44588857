// Jobs that write base/sound (the 21 effects, 16-bit mono WAV) and base/music
// (the five Ogg Vorbis loops). Each file is its own job.
#include "jobs.h"

#include "audio/audio_files.h"
#include "audio/sound_families.h"

namespace gen {

namespace {

// Vorbis quality 0.4: about 128 kbit/s for these loops.
constexpr float musicQuality = 0.4f;

}  // namespace

void addAudioJobs(JobList& jobs) {
    using namespace audio;
    // The music loops take longest: they go first so the other jobs fill in around them.
    for (const MusicRecipe& m : musicTracks())
        jobs.push_back({m.file, [m](const std::filesystem::path& base) { saveOgg(base, m.file, m.make(), musicQuality); }});
    for (auto family : {engineSounds, impactSounds, carLoops, cueSounds})
        for (const SoundRecipe& s : family())
            jobs.push_back({s.file, [s](const std::filesystem::path& base) { saveWav(base, s.file, s.make()); }});
}

}  // namespace gen
