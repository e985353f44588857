// Bounded reading of regular files and atomic whole-file writing, for every
// file the game reads or writes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

enum class ReadStatus {
    Ok,
    Missing,     // no such file (or no such folder on the way)
    Unreadable,  // it exists but cannot be read: permissions, a folder, a pipe or device, a read error
};

// Reads at most `maxBytes` of a regular file; a longer file gives its first
// `maxBytes`. Folders, pipes and devices are refused without being read (a pipe
// is never waited on). `reason` gets the cause of a failure when given.
ReadStatus readFileBounded(const std::string& path, size_t maxBytes, std::vector<uint8_t>& bytes,
                           std::string* reason = nullptr);

// True when something of that name can be opened for reading (a pipe is not waited on).
bool fileExists(const std::string& path);

// Writes a file so that it is either the complete new content or left as it was:
// the bytes go to a fresh temporary file in the same folder, which is flushed to
// disk and renamed over the target, and the folder is flushed. False (the old
// file untouched, no temporary left) on failure, with the cause in `reason`.
bool writeFileAtomic(const std::string& path, const void* data, size_t size, std::string* reason = nullptr);

// writeFileAtomic for the game's own files: a failure is said on the standard
// error stream ("could not save <what> to <path>: <cause> (the file on disk is unchanged)").
bool saveGameFile(const std::string& path, const void* data, size_t size, const char* what);

// Test seam: reads of this path fail as Unreadable, as a file without read
// permission would (which a test running as root cannot make). Empty: none.
extern std::string simulatedUnreadableFile;

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
