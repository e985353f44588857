#include "audio/audio_capture.h"

#include "app/file_io.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>

#include <algorithm>
#include <cmath>

namespace {

bool requested = false;
ALCdevice* captureDevice = nullptr;
LPALCRENDERSAMPLESSOFT renderSamples = nullptr;
std::vector<float> captured;
double secondsRendered = 0.0;

void put16(std::vector<uint8_t>& b, uint32_t v) {
    b.push_back(static_cast<uint8_t>(v & 255));
    b.push_back(static_cast<uint8_t>((v >> 8) & 255));
}
void put32(std::vector<uint8_t>& b, uint32_t v) {
    put16(b, v & 0xffff);
    put16(b, v >> 16);
}
void putTag(std::vector<uint8_t>& b, const char* tag) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(tag[i]));
}

}  // namespace

void requestAudioCapture(bool on) { requested = on; }
bool audioCaptureRequested() { return requested; }
bool audioCaptureActive() { return captureDevice != nullptr && alcGetCurrentContext() != nullptr; }

bool openCaptureDevice() {
    auto openLoopback =
        reinterpret_cast<LPALCLOOPBACKOPENDEVICESOFT>(alcGetProcAddress(nullptr, "alcLoopbackOpenDeviceSOFT"));
    renderSamples = reinterpret_cast<LPALCRENDERSAMPLESSOFT>(alcGetProcAddress(nullptr, "alcRenderSamplesSOFT"));
    if (!openLoopback || !renderSamples) return false;
    ALCdevice* device = openLoopback(nullptr);
    if (!device) return false;
    // The output limiter keeps the mix within full scale, as it does on a sound card.
    const ALCint attributes[] = {ALC_FORMAT_CHANNELS_SOFT, ALC_STEREO_SOFT, ALC_FORMAT_TYPE_SOFT, ALC_FLOAT_SOFT,
                                 ALC_FREQUENCY, captureRate, ALC_OUTPUT_LIMITER_SOFT, ALC_TRUE, 0};
    ALCcontext* context = alcCreateContext(device, attributes);
    if (!context || !alcMakeContextCurrent(context)) {
        if (context) alcDestroyContext(context);
        alcCloseDevice(device);
        return false;
    }
    alGetError();
    captureDevice = device;
    clearCapturedAudio();
    return true;
}

void audioCaptureDeviceClosed() { captureDevice = nullptr; }

void renderAudioCapture(double seconds) {
    if (!audioCaptureActive() || !(seconds > 0.0)) return;
    const auto before = static_cast<long long>(std::llround(secondsRendered * captureRate));
    secondsRendered += seconds;
    const auto after = static_cast<long long>(std::llround(secondsRendered * captureRate));
    const size_t frames = static_cast<size_t>(std::max(0LL, after - before));
    if (frames == 0) return;
    const size_t start = captured.size();
    captured.resize(start + 2 * frames);
    renderSamples(captureDevice, captured.data() + start, static_cast<ALCsizei>(frames));
}

const std::vector<float>& capturedAudio() { return captured; }

void clearCapturedAudio() {
    captured.clear();
    secondsRendered = 0.0;
}

bool writeCapturedAudio(const std::string& wavPath) {
    const uint32_t dataBytes = static_cast<uint32_t>(captured.size() * 2);
    std::vector<uint8_t> b;
    b.reserve(44 + dataBytes);
    putTag(b, "RIFF");
    put32(b, 36 + dataBytes);
    putTag(b, "WAVE");
    putTag(b, "fmt ");
    put32(b, 16);
    put16(b, 1);
    put16(b, 2);
    put32(b, captureRate);
    put32(b, captureRate * 4);
    put16(b, 4);
    put16(b, 16);
    putTag(b, "data");
    put32(b, dataBytes);
    for (float x : captured) {
        const float clamped = std::clamp(std::isfinite(x) ? x : 0.0f, -1.0f, 1.0f);
        put16(b, static_cast<uint16_t>(static_cast<int16_t>(std::lround(clamped * 32767.0f))));
    }
    return writeFileAtomic(wavPath, b.data(), b.size());
}
