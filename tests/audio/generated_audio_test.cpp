// The generated sounds and music, as the game loads them and as a listener
// would measure them: formats, seamless loops, loudness, distinct tracks, and
// a generator that writes the same bytes every time.
#include "audio/audio_measure.h"
#include "audio/music_stream.h"
#include "audio/sound_families.h"
#include "job_runner.h"
#include "jobs.h"
#include "support/run_dir.h"
#include "support/sound_capture.h"
#include "support/temp_dir.h"

#include <AL/al.h>
#include <vorbis/vorbisfile.h>

#include <fstream>
#include <iterator>

using namespace sound_test;
namespace fs = std::filesystem;

namespace {

const fs::path generated = fs::path(NIGHTRUN_RUN_DIR) / "base";
const char* const musicFiles[] = {"music/menu.ogg", "music/1.ogg", "music/2.ogg", "music/3.ogg", "music/4.ogg"};

std::vector<uint8_t> readAll(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(f), {});
}

// The samples of a generated 16-bit mono WAV (its data chunk follows the 44-byte header).
gen::audio::Samples wavSamples(const fs::path& p) {
    const std::vector<uint8_t> b = readAll(p);
    gen::audio::Samples s;
    for (size_t i = 44; i + 1 < b.size(); i += 2) s.push_back(float(int16_t(b[i] | (b[i + 1] << 8))) / 32767.0f);
    return s;
}

gen::audio::StereoSamples decodeOgg(const fs::path& p) {
    gen::audio::StereoSamples s;
    OggVorbis_File vf;
    if (ov_fopen(p.c_str(), &vf) != 0) return s;
    char block[8192];
    int section = 0;
    for (long n; (n = ov_read(&vf, block, sizeof block, 0, 2, 1, &section)) > 0;) {
        const int16_t* pcm = reinterpret_cast<const int16_t*>(block);
        for (long i = 0; i + 1 < n / 2; i += 2) {
            s.left.push_back(pcm[i] / 32768.0f);
            s.right.push_back(pcm[i + 1] / 32768.0f);
        }
    }
    ov_clear(&vf);
    return s;
}

}  // namespace

TEST(GeneratedSounds, EveryEffectLoadsAsSixteenBitMono) {
    CaptureDevice device;
    ASSERT_TRUE(device.opened());
    ScopedTempDir dir("generated-sounds");
    linkGeneratedContent(dir.path() / "base");
    testing::internal::CaptureStderr();
    loadSoundEffects();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    for (int i = 0; i < soundEffectCount; ++i) {
        EXPECT_EQ(soundEffects[i].format, AL_FORMAT_MONO16) << soundFile(i);
        EXPECT_EQ(soundEffects[i].frequency, 44100) << soundFile(i);
        EXPECT_GT(soundEffects[i].size, 2000) << soundFile(i);
        ALint looping = AL_FALSE;
        alGetSourcei(soundEffects[i].source, AL_LOOPING, &looping);
        EXPECT_EQ(looping == AL_TRUE, soundLoops(i)) << soundFile(i);
    }
}

TEST(GeneratedSounds, LoopsHaveNoSeamAndEnginesAreNoPureTone) {
    for (int i = 0; i < soundEffectCount; ++i) {
        if (!soundLoops(i)) continue;
        const std::string name = fs::path(soundFile(i)).filename().string();
        const gen::audio::Samples s = wavSamples(generated / "sound" / name);
        ASSERT_GT(s.size(), 44100u) << name;
        EXPECT_LE(gen::audio::seamStep(s), gen::audio::largestStep(s)) << name;
        EXPECT_LT(gen::audio::peakDb(s), -0.5f) << name;
        if (name.rfind("en", 0) != 0) continue;
        // An engine: many harmonics, the strongest holding well under half the energy.
        const std::vector<float> m = gen::audio::magnitudeSpectrum(s, 0, 32768);
        double total = 0.0, strongest = 0.0;
        for (size_t k = 0; k < m.size(); ++k) total += double(m[k]) * m[k];
        for (size_t k = 2; k + 2 < m.size(); ++k) {
            double around = 0.0;
            for (size_t j = k - 2; j <= k + 2; ++j) around += double(m[j]) * m[j];
            strongest = std::max(strongest, around);
        }
        EXPECT_LT(strongest / total, 0.5) << name;
    }
}

TEST(GeneratedMusic, FiveDistinctSeamlessStreamsAtOneLoudness) {
    CaptureDevice device;
    ASSERT_TRUE(device.opened());
    std::vector<gen::audio::StereoSamples> tracks;
    for (const char* file : musicFiles) {
        SoundStream stream;
        EXPECT_TRUE(stream.open((generated / file).string(), true, true)) << file;
        tracks.push_back(decodeOgg(generated / file));
        const gen::audio::StereoSamples& t = tracks.back();
        const double seconds = double(t.size()) / 44100.0;
        EXPECT_GE(seconds, 60.0) << file;
        EXPECT_LE(seconds, 120.0) << file;
        EXPECT_NEAR(gen::audio::integratedLoudness(t), gen::audio::musicLoudness, 1.0) << file;
        for (const gen::audio::Samples* side : {&t.left, &t.right}) {
            EXPECT_LE(gen::audio::seamStep(*side), gen::audio::largestStep(*side)) << file;
            EXPECT_LT(gen::audio::peakOf(*side), 1.0f) << file;
        }
    }
    // No two tracks alike: over their first half minute the waveforms are unrelated.
    const size_t n = 30 * 44100;
    for (size_t a = 0; a < tracks.size(); ++a)
        for (size_t b = a + 1; b < tracks.size(); ++b) {
            double ab = 0.0, aa = 0.0, bb = 0.0;
            for (size_t i = 0; i < n; ++i) {
                const double x = tracks[a].left[i], y = tracks[b].left[i];
                ab += x * y;
                aa += x * x;
                bb += y * y;
            }
            EXPECT_LT(std::fabs(ab) / std::sqrt(aa * bb), 0.2) << musicFiles[a] << " and " << musicFiles[b];
            EXPECT_NE(tracks[a].size(), tracks[b].size()) << musicFiles[a] << " and " << musicFiles[b];
        }
}

TEST(GeneratedAudio, TheSameJobsWriteTheSameBytes) {
    gen::JobList all, some;
    gen::addAudioJobs(all);
    for (const gen::Job& j : all)
        if (j.name == "sound/en3.wav" || j.name == "sound/cr2.wav" || j.name == "sound/st.wav" ||
            j.name == "sound/signal2.wav")
            some.push_back(j);
    ASSERT_EQ(some.size(), 4u);
    TempDir again("audio-determinism");
    ASSERT_TRUE(gen::runJobs(some, again.path(), 2).empty());
    for (const gen::Job& j : some) EXPECT_TRUE(readAll(again.path() / j.name) == readAll(generated / j.name)) << j.name;
}
