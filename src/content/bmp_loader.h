// Windows BMP files as textures. A file that exists but cannot be decoded is
// reported in an "Error" message box; a missing file is silently texture 0.
#pragma once

#include "platform/bmp_decode.h"

#include <cstdint>
#include <string>

// True when the file can be opened for reading (the test that precedes decoding).
bool bmpFileExists(const std::string& fileName);

// Reads (a regular file only, bounded) and decodes without any message.
platform::BmpError readBmpFile(const std::string& fileName, platform::BmpImage& image);

// Decodes to tightly packed bottom-up RGB. On failure shows the message box
// that names the problem and returns false.
bool decodeBmp(const std::string& fileName, platform::BmpImage& image);

// For model materials: trilinear filtering, all mipmap levels, RGB.
// Returns the GL texture name, 0 on failure.
uint32_t loadBmpTexture(const std::string& fileName);
