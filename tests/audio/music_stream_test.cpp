// Music streams: looping, rewinding, which files open, and damaged files.
// Streams are written by the generator's own Vorbis encoder and heard through
// the capture device, frame by frame.
#include "audio/audio_files.h"
#include "audio/audio_measure.h"
#include "audio/music_stream.h"
#include "platform/test_backend.h"
#include "support/image_files.h"
#include "support/sound_capture.h"
#include "support/temp_dir.h"

#include <AL/al.h>

using namespace sound_test;
using test_support::writeFileBytes;

namespace {

// A stereo stream: `first` seconds at firstHz, then `rest` seconds at restHz.
std::vector<uint8_t> toneStream(double first, float firstHz, double rest = 0.0, float restHz = 0.0f) {
    const size_t a = gen::audio::samplesFor(first), n = a + gen::audio::samplesFor(rest);
    gen::audio::StereoSamples s(n);
    for (size_t i = 0; i < n; ++i) s.left[i] = s.right[i] = tone(int(i), i < a ? firstHz : restHz, 0.5f);
    return gen::audio::encodeOggVorbis(s, 0.3f);
}

class MusicStreams : public ::testing::Test {
protected:
    void SetUp() override {
        backend.windowless = true;
        platform::installTestBackend(&backend);
        ASSERT_TRUE(device.opened());
    }
    void TearDown() override {
        stream.release();
        // No OpenAL error was ever shown.
        EXPECT_TRUE(backend.messageBoxes.empty());
        platform::installTestBackend(nullptr);
    }
    // Frames of 50 ms: render, then refill as the frame driver does.
    void frames(int count) {
        for (int i = 0; i < count; ++i) {
            renderAudioCapture(0.05);
            stream.update();
        }
    }
    platform::TestBackend backend;
    CaptureDevice device;
    SoundStream stream;
};

}  // namespace

TEST_F(MusicStreams, AStreamShorterThanOneBufferLoopsWithoutGaps) {
    ASSERT_TRUE(stream.openImage(toneStream(0.3, 440.0f), true, true));
    stream.setGain(1.0f);
    stream.play();
    frames(40);
    EXPECT_TRUE(stream.isPlaying());
    const std::vector<float> left = channel(0);
    ASSERT_GE(left.size(), 88000u);
    // Every 5 ms of the two seconds carries the tone: the stream comes round again and again.
    for (size_t at = 441; at + 221 < left.size(); at += 221) ASSERT_GT(rms(left, at, at + 221), 0.1f) << at;
}

// The menu music is stopped and rewound when a race loads, refilled while the
// pause screen shows, and rewound again when the race restarts.
TEST_F(MusicStreams, RewindLeavesAStoppedStreamStoppedAndRefillsFromTheStart) {
    // Half a second at 440 Hz, then 1200 Hz: longer than both buffers together.
    ASSERT_TRUE(stream.openImage(toneStream(0.5, 440.0f, 3.5, 1200.0f), true, true));
    stream.setGain(1.0f);
    stream.play();
    frames(45);
    EXPECT_NEAR(gen::audio::dominantFrequency(channel(0), 2 * captureRate - 4096, 4096, 100, 4000), 1200.0f, 30.0f);

    stream.stop();
    stream.rewind();
    EXPECT_FALSE(stream.isPlaying());
    clearCapturedAudio();
    frames(4);  // both buffers queued again on the stopped source
    EXPECT_FALSE(stream.isPlaying());
    EXPECT_EQ(peak(channel(0, 0.02)), 0.0f);  // after the stop's short fade-out
    stream.rewind();
    frames(4);
    ALint queued = 0;
    alGetSourcei(stream.source, AL_BUFFERS_QUEUED, &queued);
    EXPECT_EQ(queued, SoundStream::bufferCount);

    clearCapturedAudio();
    stream.play();
    frames(6);
    EXPECT_NEAR(gen::audio::dominantFrequency(channel(0), 2048, 4096, 100, 4000), 440.0f, 15.0f);
}

TEST_F(MusicStreams, OnlyOggNamesOpenInAnyCase) {
    TempDir dir("streams");
    const auto image = toneStream(0.2, 300.0f);
    for (const char* name : {"a.ogg", "b.OGG", "c.OgG", "d.wav", "e", "f.ogg.bak"})
        writeFileBytes(dir.file(name), image);
    std::filesystem::create_directory(dir.file("g.ogg"));
    for (const char* name : {"a.ogg", "b.OGG", "c.OgG"}) EXPECT_TRUE(stream.open(dir.file(name), true, true)) << name;
    for (const char* name : {"d.wav", "e", "f.ogg.bak", "g.ogg", "missing.ogg"})
        EXPECT_FALSE(stream.open(dir.file(name), true, true)) << name;
}

TEST_F(MusicStreams, DamagedFilesPlayNothingAndBreakNothing) {
    const auto image = toneStream(2.0, 500.0f);
    std::vector<std::vector<uint8_t>> refused = {{},
                                                 std::vector<uint8_t>(image.begin(), image.begin() + 60),
                                                 std::vector<uint8_t>(image.begin(), image.begin() + 3000),
                                                 std::vector<uint8_t>(5000, 0x4f)};
    for (size_t k = 0; k < refused.size(); ++k) {
        EXPECT_FALSE(stream.openImage(refused[k], true, true)) << k;
        stream.setGain(1.0f);
        stream.play();
        frames(2);
        stream.rewind();
        stream.stop();
        EXPECT_FALSE(stream.isPlaying());
    }
    EXPECT_EQ(peak(channel(0)), 0.0f);

    // Cut off in the middle of its sound, or scribbled over: whatever still
    // decodes may play, round and round, and nothing breaks.
    std::vector<uint8_t> cut(image.begin(), image.begin() + long(image.size() / 2));
    std::vector<uint8_t> scribbled = image;
    for (size_t i = image.size() / 3; i < image.size(); i += 97) scribbled[i] ^= 0x5a;
    for (const auto& damaged : {cut, scribbled}) {
        if (stream.openImage(damaged, true, true)) {
            stream.setGain(1.0f);
            stream.play();
            frames(80);
            stream.rewind();
            frames(2);
        }
    }
}

// Loading the effects and the menu music without a device: the silent lab run in tests/end_to_end.
TEST(AudioWithoutDevice, EveryCallDoesNothing) {
    ASSERT_FALSE(soundDeviceOpen());
    SoundEffect effect;
    const auto wav = wavImage(1, 16, 100, [](int i, int) { return tone(i, 300.0f); });
    EXPECT_NE(effect.loadImage(wav.data(), wav.size(), true), "");
    effect.play();
    effect.setGain(0.5f);
    effect.place(0, 0, 0, 0, 0, 0);
    EXPECT_FALSE(effect.isPlaying());
    effect.release();

    SoundStream stream;
    EXPECT_FALSE(stream.openImage(toneStream(0.2, 300.0f), true, true));
    stream.play();
    stream.update();
    stream.rewind();
    stream.setGain(1.0f);
    EXPECT_FALSE(stream.isPlaying());
    startMenuMusic();
    EXPECT_FALSE(openRaceMusic("base/music/1.ogg"));
    startRaceMusic();
    closeRaceMusic();
    releaseMenuMusic();
    closeSoundDevice();
}
