// Whole-file reading and atomic whole-file writing for the game's own files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Reads a whole file; false when it cannot be opened or read.
bool readWholeFile(const std::string& path, std::vector<uint8_t>& bytes);

// Writes a file so that it is either the complete new content or left as it was:
// the bytes go to a temporary file in the same folder, which is flushed to disk
// and then renamed over the target. False (and the old file untouched) on failure.
bool writeFileAtomic(const std::string& path, const void* data, size_t size);

// Little-endian 32-bit helpers for the game's raw file images.
inline void putLe32(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
    p[2] = static_cast<uint8_t>(v >> 16);
    p[3] = static_cast<uint8_t>(v >> 24);
}
inline uint32_t getLe32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
