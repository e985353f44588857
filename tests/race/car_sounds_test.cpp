// Car sounds heard through the capture device: the engine's pitch follows the
// revs, crashes come in three bands with a lockout, with sound off no source
// ever starts while every level still moves, and traffic hoots at the player.
#include "race_test_support.h"

#include "audio/audio_measure.h"
#include "race/car_control.h"
#include "race/car_sounds.h"
#include "support/sound_capture.h"

#include <AL/al.h>

using namespace race_test;
using namespace sound_test;

namespace {

class CarSounds : public RaceFixture {
protected:
    void SetUp() override {
        RaceFixture::SetUp();
        ASSERT_TRUE(device.opened());
        // The generated effects, as the game loads them.
        for (int i = 0; i < soundEffectCount; ++i)
            ASSERT_EQ(soundEffects[i].load(std::string(NIGHTRUN_RUN_DIR) + "/" + soundFile(i), soundLoops(i)), "") << i;
    }
    void TearDown() override {
        stopRaceSounds();
        RaceFixture::TearDown();
    }
    // One frame as the frame driver runs it, and its sound.
    void frame(float f = 1.6f) {
        headlessRaceFrame(f);
        renderAudioCapture(0.01 * f);
    }
    int playingSources() {
        int playing = 0;
        for (const SoundEffect& e : soundEffects) playing += e.isPlaying() ? 1 : 0;
        return playing;
    }
    CaptureDevice device;
};

}  // namespace

TEST_F(CarSounds, TheEnginePitchRisesWithTheRevsThroughAGear) {
    gameSettings.sound = 1;
    computerDriverUpdate = nullptr;  // the computer cars' engines stay at gain 0
    setUpFlatRace();
    holdKey(accelerate, true);
    std::vector<float> rpm;
    std::vector<int> gear;
    for (int i = 0; i < 260; ++i) {
        frame();
        rpm.push_back(player().engineRpm);
        gear.push_back(player().shownGear);
    }
    // Within one gear, once the throttle layer is fully in (frame 32), the
    // stretch where the revs climb most.
    int early = 0, late = 0;
    for (int i = 0; i < int(gear.size());) {
        int j = i;
        while (j < int(gear.size()) && gear[size_t(j)] == gear[size_t(i)]) ++j;
        const int from = std::max(i, 34) + 3, to = j - 4;
        if (to - from >= 12 && (late == 0 || rpm[size_t(to)] - rpm[size_t(from)] > rpm[size_t(late)] - rpm[size_t(early)]))
            early = from, late = to;
        i = j;
    }
    ASSERT_GT(late, 0);
    ASSERT_GT(rpm[size_t(late)], rpm[size_t(early)] + 1000.0f);
    const std::vector<float> left = channel(0);
    // The engine's fundamental over ~93 ms around a frame, against the pitch the revs ask for.
    auto measure = [&](int at, float& pitch) {
        const size_t centre = size_t((at + 0.5) * 0.016 * captureRate);
        float sum = 0.0f;
        int n = 0;
        for (int k = at - 3; k <= at + 3; ++k) sum += enginePitch(rpm[size_t(k)]), ++n;
        pitch = sum / float(n);
        return gen::audio::fundamentalFrequency(left, centre - 2048, 4096, 20.0f, 400.0f);
    };
    float pitchEarly = 0.0f, pitchLate = 0.0f;
    const float earlyHz = measure(early, pitchEarly), lateHz = measure(late, pitchLate);
    EXPECT_GT(lateHz, earlyHz);
    EXPECT_NEAR(lateHz / earlyHz, pitchLate / pitchEarly, 0.04f * pitchLate / pitchEarly)
        << "gear " << gear[size_t(early)] << ": " << earlyHz << " Hz at pitch " << pitchEarly << ", " << lateHz
        << " Hz at pitch " << pitchLate;
}

TEST_F(CarSounds, SoundOffStartsNothingButTheLevelsStillMove) {
    gameSettings.sound = 0;
    ASSERT_TRUE(useLine(straightLine(60, 0.0f, 6.0f)));
    setUpFlatRace({0.0f, 0.95f, 0.0f}, false);
    for (int i = 0; i < 250; ++i) {
        frame();
        ASSERT_EQ(playingSources(), 0) << "countdown frame " << i;
    }
    EXPECT_GT(raceCars[1].countdownTimer + raceCars[2].countdownTimer + raceCars[3].countdownTimer, 0.0f);
    EXPECT_GT(raceCars[1].engineRpm, 1000.0f);  // the grid revving runs silently

    countdownActive = false;
    holdKey(accelerate, true);
    holdKey(nitro, true);
    for (int i = 0; i < 200; ++i) {
        frame();
        ASSERT_EQ(playingSources(), 0) << "driving frame " << i;
    }
    EXPECT_FLOAT_EQ(throttleLevel, 1.0f);
    EXPECT_TRUE(playerNitroBurning());
    EXPECT_GT(player().shownGear, 1);
    holdKey(accelerate, false);
    holdKey(nitro, false);
    holdKey(brake, true);
    for (int i = 0; i < 20; ++i) frame();
    EXPECT_GT(playerSkidLevel, 0.0f);
    EXPECT_LT(throttleLevel, 1.0f);
    // A crash resets the crash timer even when nobody hears it.
    player().crashTimer = 5.0f;
    physics::setAngularMomentum(player().body, {0.0f, 1500.0f, 0.0f});
    frame();
    EXPECT_LT(player().crashTimer, 1.0f);
    EXPECT_EQ(playingSources(), 0);
    EXPECT_EQ(peak(channel(0)), 0.0f);
    EXPECT_EQ(peak(channel(1)), 0.0f);
}

TEST_F(CarSounds, CrashesComeInThreeBandsAtMostEveryQuarterSecond) {
    gameSettings.sound = 1;
    computerDriverUpdate = nullptr;
    setUpFlatRace();
    auto crashPlaying = [](int band) { return soundEffects[sounds::crash0 + band].isPlaying(); };
    // A spin of m (angular momentum) kept up frame after frame: which crash sounds, and when.
    auto spin = [&](RaceCar& car, float m, int frames, std::vector<int>& crashFrames) -> int {
        int band = -1;
        for (int i = 0; i < frames; ++i) {
            physics::setAngularMomentum(car.body, {0.0f, m, 0.0f});
            frame();
            for (int b = 0; b < 3; ++b)
                if (crashPlaying(b)) {
                    band = b;
                    crashFrames.push_back(i);
                    soundEffects[sounds::crash0 + b].stop();  // so the next crash shows
                }
        }
        return band;
    };
    std::vector<int> at;
    player().crashTimer = 5.0f;
    EXPECT_EQ(spin(player(), 500.0f, 5, at), -1);
    EXPECT_EQ(spin(player(), 800.0f, 1, at), 0);
    player().crashTimer = 5.0f;
    EXPECT_EQ(spin(player(), 1250.0f, 1, at), 1);
    player().crashTimer = 5.0f;
    EXPECT_EQ(spin(player(), 2000.0f, 1, at), 2);
    player().crashTimer = 5.0f;
    EXPECT_EQ(spin(player(), 40000.0f, 1, at), -1);

    // Kept spinning: a crash, then nothing until a quarter of a second has passed.
    at.clear();
    player().crashTimer = 5.0f;
    spin(player(), 1500.0f, 80, at);
    ASSERT_GE(at.size(), 4u);
    for (size_t k = 1; k < at.size(); ++k) {
        EXPECT_GE((at[k] - at[k - 1]) * 0.016f, 0.24f);
        EXPECT_LE((at[k] - at[k - 1]) * 0.016f, 0.28f);
    }

    // Computer cars never crash audibly.
    physics::setAngularMomentum(player().body, {});
    at.clear();
    raceCars[2].crashTimer = 5.0f;
    spin(raceCars[2], 2000.0f, 20, at);
    EXPECT_TRUE(at.empty());
}

TEST_F(CarSounds, ATrafficCarHootsAtThePlayerNearbyWithOneOfItsThreeHorns) {
    gameSettings.sound = 1;
    ASSERT_TRUE(useLine(straightLine(100, 0.0f, 6.0f)));
    trafficLevel = 1;
    setUpFlatRace({0.0f, 0.95f, 0.0f}, false);
    TrafficCar& car = trafficCars[0];
    placeTrafficCar(car, 30, 0);
    auto horns = [] {
        int playing = 0;
        for (int k = 0; k < 3; ++k) playing += soundEffects[sounds::signal0 + k].isPlaying() ? 1 : 0;
        return playing;
    };
    // Far away: no horn.
    for (int i = 0; i < 10; ++i) frame();
    EXPECT_EQ(horns(), 0);
    // 20 behind it: one horn sounds, from where the car is.
    physics::setPosition(player().body, physics::getPosition(car.body) - Vec3{20.0f, 0.0f, 0.0f});
    frame();
    EXPECT_EQ(horns(), 1);
    const SoundEffect& horn = soundEffects[sounds::signal0 + trafficHornChoice];
    EXPECT_TRUE(horn.isPlaying());
    float x = 0.0f, y = 0.0f, z = 0.0f;
    alGetSource3f(horn.source, AL_POSITION, &x, &y, &z);
    EXPECT_NEAR(x, physics::getPosition(car.body).x, 1.0f);
    // Still near, it sounds the same horn again rather than another on top.
    for (int i = 0; i < 30; ++i) frame();
    EXPECT_LE(horns(), 1);
}
