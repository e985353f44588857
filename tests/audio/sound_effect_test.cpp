// Sound effects: formats, loop flags, restarts, and what a missing or damaged
// file does. Heard through the capture device.
#include "support/image_files.h"
#include "support/sound_capture.h"
#include "support/temp_dir.h"

#include <AL/al.h>

#include <algorithm>
#include <cstring>

using namespace sound_test;
using test_support::writeFileBytes;

namespace {

class SoundEffects : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(device.opened()); }
    CaptureDevice device;
    SoundEffect effect;
};

}  // namespace

TEST_F(SoundEffects, EightBitStereoPlaysAsEightBitStereo) {
    // A tone on the left only, silence on the right.
    const auto image = wavImage(2, 8, 8820, [](int i, int c) { return c == 0 ? tone(i, 440.0f) : 0.0f; });
    ASSERT_EQ(effect.loadImage(image.data(), image.size(), false), "");
    EXPECT_EQ(effect.format, AL_FORMAT_STEREO8);
    EXPECT_EQ(effect.size, 2 * 8820);
    effect.play();
    renderAudioCapture(0.15);
    EXPECT_GT(rms(channel(0)), 0.1f);
    EXPECT_LT(rms(channel(1)), 0.01f);  // not mixed down to mono and spread over both sides
    effect.release();
}

TEST_F(SoundEffects, TheTableDecidesLoopingNotTheFile) {
    // A 50 ms sound whose file declares an endless loop (a sampler chunk).
    std::vector<uint8_t> sampler(8 + 60, 0);
    std::memcpy(sampler.data(), "smpl", 4);
    sampler[4] = 60;
    sampler[8 + 28] = 1;            // one loop
    sampler[8 + 36 + 16] = 0x72;    // ending at frame 2162
    sampler[8 + 36 + 17] = 0x08;
    const auto image = wavImage(1, 16, 2205, [](int i, int) { return tone(i, 440.0f); }, sampler);

    ASSERT_EQ(effect.loadImage(image.data(), image.size(), false), "");
    effect.play();
    renderAudioCapture(0.2);
    EXPECT_FALSE(effect.isPlaying());
    const std::vector<float> once = channel(0);
    EXPECT_GT(rms(once, 0, 2000), 0.05f);
    EXPECT_EQ(peak(std::vector<float>(once.begin() + 2300, once.end())), 0.0f);

    ASSERT_EQ(effect.loadImage(image.data(), image.size(), true), "");
    effect.play();
    renderAudioCapture(0.2);
    EXPECT_TRUE(effect.isPlaying());
    effect.release();
}

TEST_F(SoundEffects, StartingTheClickAgainRestartsItWithoutOverlap) {
    const auto image = wavImage(1, 16, 8820, [](int i, int) { return tone(i, 1000.0f, 0.8f); });
    ASSERT_EQ(clickSound.loadImage(image.data(), image.size(), false), "");
    clickSound.play();
    renderAudioCapture(0.1);
    const float single = peak(channel(0));
    ASSERT_GT(single, 0.1f);

    clearCapturedAudio();
    clickSound.play();
    renderAudioCapture(0.05);
    ALint offset = 0;
    alGetSourcei(clickSound.source, AL_SAMPLE_OFFSET, &offset);
    EXPECT_GE(offset, 2000);
    clickSound.play();
    alGetSourcei(clickSound.source, AL_SAMPLE_OFFSET, &offset);
    EXPECT_EQ(offset, 0);
    EXPECT_TRUE(clickSound.isPlaying());
    renderAudioCapture(0.1);
    // One voice: the second start does not add a copy (in phase, it would double the level).
    EXPECT_NEAR(peak(channel(0)), single, 0.05f * single);
    clickSound.release();
}

TEST_F(SoundEffects, MissingOrDamagedFilesStaySilentAndAreNamedOnce) {
    ScopedTempDir dir("sounds");
    const auto good = wavImage(1, 16, 4410, [](int i, int) { return tone(i, 500.0f); });
    for (int i = 0; i < soundEffectCount; ++i) writeFileBytes(soundFile(i), good);
    // en1: cut off in the middle of its samples; cr0: a directory; st: not PCM;
    // point: three channels; menu2: gone.
    writeFileBytes(soundFile(sounds::engine0), std::vector<uint8_t>(good.begin(), good.begin() + 1000));
    std::filesystem::remove(soundFile(sounds::crash0));
    std::filesystem::create_directory(soundFile(sounds::crash0));
    auto compressed = good;
    compressed[20] = 2;
    writeFileBytes(soundFile(sounds::skid), compressed);
    writeFileBytes(soundFile(sounds::checkpoint), wavImage(3, 16, 100, [](int, int) { return 0.1f; }));
    std::filesystem::remove(soundFile(sounds::hover));

    testing::internal::CaptureStderr();
    loadSoundEffects();
    const std::string report = testing::internal::GetCapturedStderr();
    for (int bad : {sounds::engine0, sounds::crash0, sounds::skid, sounds::checkpoint, sounds::hover}) {
        EXPECT_EQ(soundEffects[bad].size, 0) << soundFile(bad);
        const std::string name = soundFile(bad);
        const size_t at = report.find(name);
        EXPECT_NE(at, std::string::npos) << name;
        EXPECT_EQ(report.find(name, at + 1), std::string::npos) << name;
    }
    EXPECT_EQ(std::count(report.begin(), report.end(), '\n'), 5);
    EXPECT_GT(soundEffects[sounds::gear].size, 0);

    // Silent effects take every call and play nothing.
    for (int bad : {sounds::engine0, sounds::crash0, sounds::hover}) {
        soundEffects[bad].place(1, 2, 3, 0, 0, 0);
        soundEffects[bad].setGain(1.0f);
        soundEffects[bad].play();
    }
    renderAudioCapture(0.05);
    EXPECT_EQ(peak(channel(0)), 0.0f);
}

TEST_F(SoundEffects, ImagesThatLieAboutTheirSizeAreRefused) {
    auto image = wavImage(1, 16, 1000, [](int i, int) { return tone(i, 300.0f); });
    auto longer = image;
    longer[40] = 0xff;  // the data chunk claims more than the file holds
    EXPECT_NE(effect.loadImage(longer.data(), longer.size(), false), "");
    auto odd = image;
    odd[40] = 0x03;  // half a sample frame
    odd[41] = 0x00;
    EXPECT_NE(effect.loadImage(odd.data(), 44 + 3, false), "");
    auto hugeChunk = image;
    hugeChunk[16] = 0xff;  // a format chunk running past the end
    hugeChunk[17] = 0xff;
    hugeChunk[18] = 0xff;
    hugeChunk[19] = 0x7f;
    EXPECT_NE(effect.loadImage(hugeChunk.data(), hugeChunk.size(), false), "");
    EXPECT_NE(effect.loadImage(image.data(), 30, false), "");
    EXPECT_EQ(effect.size, 0);
    EXPECT_EQ(effect.loadImage(image.data(), image.size(), false), "");
    EXPECT_EQ(effect.size, 2000);
    effect.release();
}
