// Capturing the game's sound instead of playing it: OpenAL Soft's loopback
// device mixes on demand, so the caller (the lab, a test) renders exactly the
// sound of each frame it has run, at whatever speed it runs. The mix is
// stereo at 44.1 kHz, the same a player hears from a stereo sound card.
#pragma once

#include <string>
#include <vector>

constexpr int captureRate = 44100;

// Asks the next openSoundDevice to open the capture device instead of the
// system's sound device (false goes back to the system's).
void requestAudioCapture(bool on);
bool audioCaptureRequested();
// True while the capture device is the open sound device.
bool audioCaptureActive();

// Mixes the next `seconds` of the game's sound into the capture. The running
// total is rounded to whole samples, so frame after frame stays in step.
void renderAudioCapture(double seconds);
// The mix captured so far: interleaved left and right samples, -1..1.
const std::vector<float>& capturedAudio();
void clearCapturedAudio();
// Writes the capture as a 16-bit stereo WAV file (temporary file, then
// rename); false when it cannot be written.
bool writeCapturedAudio(const std::string& wavPath);

// For the sound device: open the capture device with its context, and note
// that it has been closed.
bool openCaptureDevice();
void audioCaptureDeviceClosed();
