// Sound in tests: the capture device stands in for a sound card, so a test
// plays sounds, renders exactly the time it wants (never waiting) and looks at
// what came out. Also small WAV images for the loader's cases.
#pragma once

#include "audio/audio_capture.h"
#include "audio/sound_device.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

// Opens the capture device for the test's lifetime and closes it again.
class CaptureDevice {
public:
    CaptureDevice() {
        requestAudioCapture(true);
        opened_ = openSoundDevice();
    }
    ~CaptureDevice() {
        closeSoundDevice();
        requestAudioCapture(false);
    }
    CaptureDevice(const CaptureDevice&) = delete;
    CaptureDevice& operator=(const CaptureDevice&) = delete;
    bool opened() const { return opened_; }

private:
    bool opened_ = false;
};

namespace sound_test {

// One channel of the capture from `fromSeconds` (0 left, 1 right).
inline std::vector<float> channel(int which, double fromSeconds = 0.0) {
    const std::vector<float>& all = capturedAudio();
    std::vector<float> out;
    for (size_t i = 2 * static_cast<size_t>(fromSeconds * captureRate) + static_cast<size_t>(which); i < all.size(); i += 2)
        out.push_back(all[i]);
    return out;
}

inline float rms(const std::vector<float>& s, size_t from = 0, size_t to = SIZE_MAX) {
    double sum = 0.0;
    size_t n = 0;
    for (size_t i = from; i < std::min(to, s.size()); ++i, ++n) sum += double(s[i]) * s[i];
    return n ? float(std::sqrt(sum / double(n))) : 0.0f;
}

inline float peak(const std::vector<float>& s) {
    float p = 0.0f;
    for (float x : s) p = std::max(p, std::fabs(x));
    return p;
}

// A PCM WAV image: `frames` frames of `channels` channels at `bits` bits,
// sample (i, c) from `sample` (-1..1); extra chunks (already encoded) go
// between the format and the samples.
template <class Sample>
std::vector<uint8_t> wavImage(int channels, int bits, int frames, Sample sample, const std::vector<uint8_t>& extra = {},
                              int rate = 44100) {
    std::vector<uint8_t> b;
    auto put16 = [&](uint32_t v) {
        b.push_back(uint8_t(v));
        b.push_back(uint8_t(v >> 8));
    };
    auto put32 = [&](uint32_t v) {
        put16(v & 0xffff);
        put16(v >> 16);
    };
    auto tag = [&](const char* t) {
        for (int k = 0; k < 4; ++k) b.push_back(uint8_t(t[k]));
    };
    const uint32_t align = uint32_t(channels * bits / 8), data = align * uint32_t(frames);
    tag("RIFF");
    put32(uint32_t(36 + extra.size() + data));
    tag("WAVE");
    tag("fmt ");
    put32(16);
    put16(1);
    put16(uint32_t(channels));
    put32(uint32_t(rate));
    put32(uint32_t(rate) * align);
    put16(align);
    put16(uint32_t(bits));
    b.insert(b.end(), extra.begin(), extra.end());
    tag("data");
    put32(data);
    for (int i = 0; i < frames; ++i)
        for (int c = 0; c < channels; ++c) {
            const float v = std::max(-1.0f, std::min(1.0f, sample(i, c)));
            if (bits == 8) b.push_back(uint8_t(std::lround(128.0f + 127.0f * v)));
            else put16(uint16_t(int16_t(std::lround(32767.0f * v))));
        }
    return b;
}

inline float tone(int i, float hz, float level = 0.5f) {
    return level * std::sin(2.0f * 3.14159265f * hz * float(i) / 44100.0f);
}

}  // namespace sound_test
