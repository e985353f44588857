// The OpenAL device and the 21 sound effects, each one source with one buffer.
#pragma once

#include <cstdint>
#include <string>

struct SoundEffect {
    uint32_t handle = 0;     // copy of the source name once loaded
    int32_t format = 0;      // OpenAL buffer format from the file
    int32_t size = 0;        // PCM bytes
    int32_t frequency = 0;
    uint32_t source = 0;
    uint32_t buffer = 0;

    // Loads a WAV file; a missing or unreadable file leaves the effect silent.
    void load(const std::string& fileName, bool loop);
    void play();             // restarts when already playing
    void stop();
    void setGain(float gain);
    void place(float px, float py, float pz, float vx, float vy, float vz);
    void release();
};

constexpr int soundEffectCount = 21;
// In loading order: en1..en4, cr0..cr2, st, accel0..2, point, en_pass, gear,
// nitro, wind, signal0..2, menu1 (click), menu2 (hover).
extern SoundEffect soundEffects[soundEffectCount];
namespace sounds {
constexpr int engine0 = 0;
constexpr int crash0 = 4;
constexpr int skid = 7;
constexpr int accel0 = 8;
constexpr int checkpoint = 11;
constexpr int enginePass = 12;
constexpr int gear = 13;
constexpr int nitro = 14;
constexpr int wind = 15;
constexpr int signal0 = 16;
constexpr int click = 19;
constexpr int hover = 20;
}  // namespace sounds
extern SoundEffect& clickSound;
extern SoundEffect& hoverSound;

// Opens the system's default device with a context. False when there is none.
bool openSoundDevice();
void loadSoundEffects();
// Releases the effects and the menu music, then the context and the device.
void closeSoundDevice();
bool soundDeviceOpen();

// Shows "OpenAL error: ..." and returns false when OpenAL reports an error.
bool checkAlError();

// Plays the hover sound (the caller tests the sound setting).
void playHoverSound();
