#include "audio/sound_device.h"

#include "audio/audio_capture.h"
#include "audio/music_stream.h"
#include "platform/platform.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alut.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

SoundEffect soundEffects[soundEffectCount];
SoundEffect& clickSound = soundEffects[sounds::click];
SoundEffect& hoverSound = soundEffects[sounds::hover];

namespace {

const char* const soundFiles[soundEffectCount] = {
    "base/sound/en1.wav",     "base/sound/en2.wav",     "base/sound/en3.wav",   "base/sound/en4.wav",
    "base/sound/cr0.wav",     "base/sound/cr1.wav",     "base/sound/cr2.wav",   "base/sound/st.wav",
    "base/sound/accel0.wav",  "base/sound/accel1.wav",  "base/sound/accel2.wav", "base/sound/point.wav",
    "base/sound/en_pass.wav", "base/sound/gear.wav",    "base/sound/nitro.wav", "base/sound/wind.wav",
    "base/sound/signal0.wav", "base/sound/signal1.wav", "base/sound/signal2.wav",
    "base/sound/menu1.wav",   "base/sound/menu2.wav"};
const bool loopFlags[soundEffectCount] = {true,  true,  true,  true,  false, false, false,
                                          true,  false, false, false, false, true,  false,
                                          true,  true,  false, false, false, false, false};

bool alutStarted = false;

uint32_t le16(const uint8_t* p) { return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8); }
uint32_t le32(const uint8_t* p) { return le16(p) | (le16(p + 2) << 16); }

// The loader only ever sees a well-formed PCM file: RIFF "WAVE", a "fmt "
// chunk (PCM, one or two channels of 8 or 16 bits) before a "data" chunk that
// lies wholly inside the image and holds whole sample frames. Returns the
// reason a file is refused, or "" for a good one.
std::string checkWavImage(const uint8_t* data, size_t size) {
    if (size < 12 || std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "WAVE", 4) != 0)
        return "not a WAV file";
    uint32_t blockAlign = 0;
    for (size_t at = 12; at + 8 <= size;) {
        const uint8_t* chunk = data + at;
        const size_t length = le32(chunk + 4);
        if (length > size - at - 8) return "damaged (a chunk runs past the end of the file)";
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (length < 16) return "damaged (short format chunk)";
            const uint32_t tag = le16(chunk + 8), channels = le16(chunk + 10), rate = le32(chunk + 12);
            const uint32_t align = le16(chunk + 20), bits = le16(chunk + 22);
            if (tag != 1) return "not plain PCM";
            if (channels < 1 || channels > 2 || (bits != 8 && bits != 16)) return "not 8 or 16-bit mono or stereo";
            if (rate < 1000 || rate > 192000) return "damaged (sample rate)";
            if (align != channels * bits / 8) return "damaged (block alignment)";
            blockAlign = align;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (blockAlign == 0) return "damaged (no format before the samples)";
            if (length == 0 || length % blockAlign != 0) return "damaged (no whole sample frames)";
            return "";
        }
        at += 8 + length + (length & 1);
    }
    return "damaged (no samples)";
}

// A regular file of at most `limit` bytes, read whole.
std::string readSoundFile(const std::string& path, size_t limit, std::vector<uint8_t>& bytes) {
    std::error_code error;
    if (!std::filesystem::exists(path, error)) return "missing";
    if (!std::filesystem::is_regular_file(path, error)) return "not a file";
    const auto length = std::filesystem::file_size(path, error);
    if (error) return "unreadable";
    if (length > limit) return "too large";
    std::ifstream file(path, std::ios::binary);
    bytes.resize(static_cast<size_t>(length));
    if (!file || !file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size())))
        return "unreadable";
    return "";
}

}  // namespace

const char* soundFile(int i) { return i >= 0 && i < soundEffectCount ? soundFiles[i] : ""; }
bool soundLoops(int i) { return i >= 0 && i < soundEffectCount && loopFlags[i]; }

std::string SoundEffect::load(const std::string& fileName, bool loop) {
    std::vector<uint8_t> bytes;
    std::string reason = readSoundFile(fileName, maxSoundFileBytes, bytes);
    if (reason.empty() && bytes.empty()) reason = "empty";
    if (!reason.empty()) {
        loadImage(nullptr, 0, loop);
        return reason;
    }
    return loadImage(bytes.data(), bytes.size(), loop);
}

std::string SoundEffect::loadImage(const uint8_t* data, size_t length, bool loop) {
    release();
    if (!soundDeviceOpen()) return "no sound device";
    if (!alutStarted) alutStarted = alutInitWithoutContext(nullptr, nullptr) == AL_TRUE;
    std::string reason = data ? checkWavImage(data, length) : "missing";
    // The loader hands back the PCM data; a file it cannot read leaves no samples.
    ALenum fileFormat = AL_FORMAT_MONO16;
    ALsizei fileSize = 0;
    ALfloat fileFrequency = 22050.0f;
    ALvoid* samples = nullptr;
    if (reason.empty()) {
        samples = alutStarted ? alutLoadMemoryFromFileImage(data, static_cast<ALsizei>(length), &fileFormat, &fileSize,
                                                            &fileFrequency)
                              : nullptr;
        if (!samples) reason = "refused by the WAV loader";
    }
    if (!samples) {
        fileFormat = AL_FORMAT_MONO16;
        fileSize = 0;
        fileFrequency = 22050.0f;
    }
    format = fileFormat;
    size = fileSize;
    frequency = static_cast<int32_t>(fileFrequency);
    fileLoop = 0;
    alGenSources(1, &source);
    alGenBuffers(1, &buffer);
    if (samples && size > 0) alBufferData(buffer, format, samples, size, frequency);
    if (samples) std::free(samples);
    if (size > 0) alSourcei(source, AL_BUFFER, static_cast<ALint>(buffer));
    alSourcef(source, AL_PITCH, 1.0f);
    alSourcef(source, AL_GAIN, 1.0f);
    alSourcei(source, AL_LOOPING, loop ? AL_TRUE : AL_FALSE);
    alSourcef(source, AL_REFERENCE_DISTANCE, 10.0f);
    handle = source;
    if (alGetError() != AL_NO_ERROR && reason.empty()) reason = "refused by OpenAL";
    return reason;
}

void SoundEffect::play() {
    if (source) alSourcePlay(source);
}
void SoundEffect::stop() {
    if (source) alSourceStop(source);
}
bool SoundEffect::isPlaying() const {
    if (!source) return false;
    ALint state = AL_STOPPED;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    return state == AL_PLAYING;
}
void SoundEffect::setGain(float gain) {
    if (source) alSourcef(source, AL_GAIN, gain);
}
void SoundEffect::setPitch(float pitch) {
    if (source) alSourcef(source, AL_PITCH, pitch);
}
void SoundEffect::place(float px, float py, float pz, float vx, float vy, float vz) {
    if (!source) return;
    alSource3f(source, AL_POSITION, px, py, pz);
    alSource3f(source, AL_VELOCITY, vx, vy, vz);
}
void SoundEffect::release() {
    if (source) alDeleteSources(1, &source);
    if (buffer) alDeleteBuffers(1, &buffer);
    source = buffer = handle = 0;
    size = 0;
}

bool openSoundDevice() {
    if (audioCaptureRequested()) return openCaptureDevice();
    ALCdevice* device = alcOpenDevice(nullptr);
    if (!device) return false;
    ALCcontext* context = alcCreateContext(device, nullptr);
    if (!context || !alcMakeContextCurrent(context)) {
        if (context) alcDestroyContext(context);
        alcCloseDevice(device);
        return false;
    }
    alGetError();
    return true;
}

bool soundDeviceOpen() { return alcGetCurrentContext() != nullptr; }

void loadSoundEffects() {
    if (!soundDeviceOpen()) return;
    for (int i = 0; i < soundEffectCount; ++i) {
        const std::string reason = soundEffects[i].load(soundFiles[i], loopFlags[i]);
        if (!reason.empty())
            std::fprintf(stderr, "Nightrun: sound %s is %s; it stays silent\n", soundFiles[i], reason.c_str());
    }
}

void closeSoundDevice() {
    for (SoundEffect& effect : soundEffects) effect.release();
    releaseMenuMusic();
    closeRaceMusic();
    if (alutStarted) {
        alutExit();
        alutStarted = false;
    }
    ALCcontext* context = alcGetCurrentContext();
    if (!context) return;
    ALCdevice* device = alcGetContextsDevice(context);
    alcMakeContextCurrent(nullptr);
    alcDestroyContext(context);
    if (device) alcCloseDevice(device);
    audioCaptureDeviceClosed();
}

bool checkAlError() {
    ALenum error = alGetError();
    if (error == AL_NO_ERROR) return true;
    const ALchar* text = alGetString(error);
    platform::messageBox(std::string("OpenAL error: ") + (text ? text : "unknown"), "Error",
                         platform::MessageButtons::Ok, platform::MessageIcon::Exclamation);
    return false;
}

void playHoverSound() { hoverSound.play(); }
