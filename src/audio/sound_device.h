// The OpenAL device and the 21 sound effects, each one source with one buffer.
// Without a device every effect stays empty and every call does nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

struct SoundEffect {
    uint32_t handle = 0;     // copy of the source name once loaded
    int32_t format = 0;      // OpenAL buffer format from the file
    int32_t size = 0;        // PCM bytes
    int32_t frequency = 0;
    uint8_t fileLoop = 0;    // the file's own loop flag: not used (the table decides), and never reported by the loader
    uint32_t source = 0;
    uint32_t buffer = 0;

    // Loads a WAV file (a regular file of at most maxSoundFileBytes) with the
    // table's loop flag. A missing or damaged file leaves the effect silent;
    // the reason is returned (empty when the sound loaded).
    std::string load(const std::string& fileName, bool loop);
    // The same from a WAV image in memory.
    std::string loadImage(const uint8_t* data, size_t length, bool loop);
    void play();             // restarts when already playing
    void stop();
    bool isPlaying() const;
    void setGain(float gain);
    void setPitch(float pitch);
    void place(float px, float py, float pz, float vx, float vy, float vz);
    void release();
};

constexpr int soundEffectCount = 21;
constexpr size_t maxSoundFileBytes = 16u << 20;
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
// The file and loop flag of table entry i.
const char* soundFile(int i);
bool soundLoops(int i);

// Opens the system's default device with a context (or, when a capture was
// asked for, the capture device of audio_capture.h). False when there is none.
bool openSoundDevice();
// Loads the table; each effect that cannot be loaded is named once on the
// standard error stream and stays silent.
void loadSoundEffects();
// Releases the effects and the music streams, then the context and the device.
void closeSoundDevice();
bool soundDeviceOpen();

// Shows "OpenAL error: ..." and returns false when OpenAL reports an error.
bool checkAlError();

// Plays the hover sound (the caller tests the sound setting).
void playHoverSound();
