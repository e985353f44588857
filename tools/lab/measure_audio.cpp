// nightrun-lab measure-audio: loudness, peak and loop seam of sound files
// (16-bit PCM WAV, Ogg Vorbis), by default every generated effect and music
// loop; --windows S adds the loudness and peak of every S seconds, for
// listening to a capture by numbers.
#include "lab_commands.h"

#include "audio/audio_measure.h"

#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

using gen::audio::Samples;
using gen::audio::StereoSamples;

uint32_t le(const std::vector<uint8_t>& b, size_t at, int bytes) {
    uint32_t v = 0;
    for (int k = bytes - 1; k >= 0; --k) v = (v << 8) | b[at + size_t(k)];
    return v;
}

// A 16-bit PCM WAV at 44.1 kHz as stereo (a mono file on both sides); false otherwise.
bool readWav(const std::string& path, StereoSamples& out, int& channels) {
    std::ifstream f(path, std::ios::binary);
    const std::vector<uint8_t> b((std::istreambuf_iterator<char>(f)), {});
    if (b.size() < 12 || std::memcmp(b.data(), "RIFF", 4) != 0 || std::memcmp(b.data() + 8, "WAVE", 4) != 0) return false;
    channels = 0;
    for (size_t at = 12; at + 8 <= b.size();) {
        const size_t length = le(b, at + 4, 4);
        if (length > b.size() - at - 8) return false;
        if (std::memcmp(b.data() + at, "fmt ", 4) == 0 && length >= 16) {
            channels = int(le(b, at + 10, 2));
            if (le(b, at + 8, 2) != 1 || le(b, at + 22, 2) != 16 || le(b, at + 12, 4) != 44100 || channels < 1 ||
                channels > 2)
                return false;
        } else if (std::memcmp(b.data() + at, "data", 4) == 0 && channels > 0) {
            const size_t frames = length / size_t(2 * channels);
            out = StereoSamples(frames);
            for (size_t i = 0; i < frames; ++i)
                for (int c = 0; c < 2; ++c) {
                    const size_t s = at + 8 + 2 * (i * size_t(channels) + size_t(std::min(c, channels - 1)));
                    const float v = float(int16_t(le(b, s, 2))) / 32768.0f;
                    (c == 0 ? out.left : out.right)[i] = v;
                }
            return true;
        }
        at += 8 + length + (length & 1);
    }
    return false;
}

bool readOgg(const std::string& path, StereoSamples& out, int& channels) {
    OggVorbis_File vf;
    if (ov_fopen(path.c_str(), &vf) != 0) return false;
    const vorbis_info* info = ov_info(&vf, -1);
    channels = info ? info->channels : 0;
    if (!info || info->rate != 44100 || channels < 1 || channels > 2) {
        ov_clear(&vf);
        return false;
    }
    char block[16384];
    int section = 0;
    for (long n; (n = ov_read(&vf, block, sizeof block, 0, 2, 1, &section)) > 0;) {
        const int16_t* pcm = reinterpret_cast<const int16_t*>(block);
        for (long i = 0; i + channels <= n / 2; i += channels) {
            out.left.push_back(pcm[i] / 32768.0f);
            out.right.push_back(pcm[i + channels - 1] / 32768.0f);
        }
    }
    ov_clear(&vf);
    return true;
}

double loudnessOf(const StereoSamples& s, int channels) {
    return channels == 1 ? gen::audio::integratedLoudness(s.left) : gen::audio::integratedLoudness(s);
}

int measureAudio(const std::vector<std::string>& args) {
    std::vector<std::string> files;
    double window = 0.0;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--windows" && i + 1 < args.size()) window = std::atof(args[++i].c_str());
        else files.push_back(args[i]);
    }
    if (files.empty()) {
        for (const char* dir : {"base/sound", "base/music"}) {
            std::vector<std::string> found;
            std::error_code error;
            for (const auto& entry : std::filesystem::directory_iterator(dir, error)) found.push_back(entry.path().string());
            std::sort(found.begin(), found.end());
            files.insert(files.end(), found.begin(), found.end());
        }
    }
    int failed = 0;
    for (const std::string& file : files) {
        StereoSamples s;
        int channels = 0;
        const bool ogg = file.size() > 4 && file.compare(file.size() - 4, 4, ".ogg") == 0;
        if (!(ogg ? readOgg(file, s, channels) : readWav(file, s, channels)) || s.size() == 0) {
            std::printf("%s: not a 44.1 kHz 16-bit WAV or Ogg Vorbis file\n", file.c_str());
            ++failed;
            continue;
        }
        const float peak = std::max(gen::audio::peakOf(s.left), gen::audio::peakOf(s.right));
        const float seam = std::max(gen::audio::seamStep(s.left), gen::audio::seamStep(s.right));
        const float inside = std::max(gen::audio::largestStep(s.left), gen::audio::largestStep(s.right));
        std::printf("%s: %s %.2f s loudness %.1f LUFS peak %.1f dBFS seam %.4f largest-step %.4f\n", file.c_str(),
                    channels == 1 ? "mono" : "stereo", double(s.size()) / 44100.0, loudnessOf(s, channels),
                    gen::audio::gainToDb(peak), seam, inside);
        if (window <= 0.0) continue;
        const size_t step = gen::audio::samplesFor(window);
        for (size_t at = 0; at < s.size(); at += step) {
            StereoSamples part(std::min(step, s.size() - at));
            std::copy_n(s.left.begin() + long(at), part.size(), part.left.begin());
            std::copy_n(s.right.begin() + long(at), part.size(), part.right.begin());
            const float p = std::max(gen::audio::peakOf(part.left), gen::audio::peakOf(part.right));
            std::printf("  %7.1f s  loudness %6.1f LUFS  peak %6.1f dBFS\n", double(at) / 44100.0, loudnessOf(part, channels),
                        gen::audio::gainToDb(p));
        }
    }
    return failed == 0 ? 0 : 1;
}

LabCommand measureAudioCommand("measure-audio", "[--windows SECONDS] [FILE.wav|FILE.ogg ...]", measureAudio);

}  // namespace
