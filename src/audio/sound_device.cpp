#include "audio/sound_device.h"

#include "audio/music_stream.h"
#include "platform/platform.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alut.h>

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
const bool soundLoops[soundEffectCount] = {true,  true,  true,  true,  false, false, false,
                                           true,  false, false, false, false, true,  false,
                                           true,  true,  false, false, false, false, false};

bool alutStarted = false;

}  // namespace

void SoundEffect::load(const std::string& fileName, bool loop) {
    if (!alutStarted) alutStarted = alutInitWithoutContext(nullptr, nullptr) == AL_TRUE;
    // The loader hands back the PCM data; a file it cannot read leaves no samples.
    ALenum fileFormat = AL_FORMAT_MONO16;
    ALsizei fileSize = 0;
    ALfloat fileFrequency = 22050.0f;
    ALvoid* samples = alutStarted ? alutLoadMemoryFromFile(fileName.c_str(), &fileFormat, &fileSize, &fileFrequency)
                                  : nullptr;
    if (!samples) {
        fileFormat = AL_FORMAT_MONO16;
        fileSize = 0;
        fileFrequency = 22050.0f;
    }
    format = fileFormat;
    size = fileSize;
    frequency = static_cast<int32_t>(fileFrequency);
    alGenSources(1, &source);
    alGenBuffers(1, &buffer);
    if (samples && size > 0) alBufferData(buffer, format, samples, size, frequency);
    if (samples) free(samples);
    if (size > 0) alSourcei(source, AL_BUFFER, static_cast<ALint>(buffer));
    alSourcef(source, AL_PITCH, 1.0f);
    alSourcef(source, AL_GAIN, 1.0f);
    alSourcei(source, AL_LOOPING, loop ? AL_TRUE : AL_FALSE);
    alSourcef(source, AL_REFERENCE_DISTANCE, 10.0f);
    handle = source;
    alGetError();  // loading is silent about failures
}

void SoundEffect::play() {
    if (source) alSourcePlay(source);
}
void SoundEffect::stop() {
    if (source) alSourceStop(source);
}
void SoundEffect::setGain(float gain) {
    if (source) alSourcef(source, AL_GAIN, gain);
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
    for (int i = 0; i < soundEffectCount; ++i) soundEffects[i].load(soundFiles[i], soundLoops[i]);
}

void closeSoundDevice() {
    for (SoundEffect& effect : soundEffects) effect.release();
    releaseMenuMusic();
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
