// Sound file writers: 16-bit PCM WAV for the effects and Ogg Vorbis
// (libvorbisenc) for the music, plus the save helpers that also put a
// spectrogram of each file on the contact sheet.
#pragma once

#include "audio/synth.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace gen::audio {

// 16-bit PCM WAV (RIFF "WAVE" with "fmt " and "data" chunks) at 44.1 kHz.
// Samples are clamped to -1..1 and rounded.
std::vector<uint8_t> encodeWav(const Samples& mono);
std::vector<uint8_t> encodeWav(const StereoSamples& stereo);

// Ogg Vorbis, variable bit rate at the given quality (-0.1..1). The stream
// serial number is fixed, so the same samples always give the same bytes.
// Throws std::runtime_error when the encoder refuses the set-up.
std::vector<uint8_t> encodeOggVorbis(const StereoSamples& stereo, float quality);

// Write base/relPath and show the file's spectrogram on the contact sheet.
// Throw std::runtime_error when the file cannot be written.
void saveWav(const std::filesystem::path& base, const std::string& relPath, const Samples& mono);
void saveOgg(const std::filesystem::path& base, const std::string& relPath, const StereoSamples& stereo, float quality);

}  // namespace gen::audio
