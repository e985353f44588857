// Windows bitmap (DIB) decoding through SDL's BMP reader: every layout it reads
// (core and info headers up to v5; 1, 4, 8, 16, 24 and 32 bits; RLE4, RLE8 and
// bit fields; bottom-up or top-down) comes out as tightly packed 8-bit RGB,
// bottom row first, the order OpenGL expects.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform {

enum class BmpError {
    None,
    OpenFailed,        // the file could not be opened or read
    UnknownFormat,     // not a bitmap, a layout SDL does not read, or damaged data
    ConversionFailed,  // decoded, but could not be converted to RGB
    OutOfMemory,
};

struct BmpImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;  // width * height * 3 bytes, no row padding, bottom row first
};

// A bitmap file's bytes; `image` stays empty unless it returns BmpError::None.
// Headers with absurd dimensions, whose pixel rows cannot be in the bytes, or
// (run-length) that claim more than 128 pixels per byte are refused before SDL
// sees them.
BmpError decodeBmpBytes(const uint8_t* data, size_t size, BmpImage& image);

}  // namespace platform
