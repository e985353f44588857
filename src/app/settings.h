// The player's options: menu.inf (see settingsPath), 19 little-endian int32 fields (76 bytes),
// read once at start-up and written once at exit.
#pragma once

#include "app/file_io.h"

#include <cstdint>
#include <string>

constexpr int settingsFieldCount = 19;
constexpr int settingsFileSize = settingsFieldCount * 4;
constexpr int resolutionCount = 5;
extern const int resolutionWidths[resolutionCount];
extern const int resolutionHeights[resolutionCount];

struct GameSettings {
    int32_t resolutionIndex = 1;  // 0..4: 640x480 .. 1600x1200
    int32_t colourDepth = 32;     // bits of the mode set on re-activation
    int32_t reflections = 1;      // 0 "Min", 1 "Max"
    uint8_t sound = 1;            // byte flags in memory, any non-zero value in the file is on
    uint8_t music = 1;
    int32_t reserved6 = 0;
    int32_t cityTraffic = 1;      // 0 "No", 1 "Norm", 2 "Max"
    int32_t motionBlur = 0;       // only exactly 1 draws motion blur
    int32_t particles = 1;
    int32_t keys[5] = {0x25, 0x27, 0x26, 0x28, 0x10};  // left, right, accelerate, brake, nitro
    int32_t reserved15[5] = {0, 0, 0, 0, 0};
    // Derived from the resolution index; an index outside 0..4 leaves them as they were.
    int32_t width = 800;
    int32_t height = 600;
    // The size chosen on the Options screen for the next start; the running
    // game keeps width and height (its window, viewports and copies).
    int32_t chosenWidth = 800;
    int32_t chosenHeight = 600;
};

extern GameSettings gameSettings;
// Set by "Accept" on the Options screen after a resolution change: only then is
// the index of the chosen size saved.
extern bool resolutionApplied;

// Where the settings are kept: base/menu.inf, or the per-user folder (app/game_paths).
extern std::string settingsPath;

// Reads the settings (at most the 76 bytes of the format). A missing file keeps
// the defaults; a short file reads every missing field as -1. A file that exists
// but cannot be read keeps the defaults, is named on the standard error stream
// and is never written over by saveSettings during this run.
ReadStatus loadSettings(GameSettings& settings, const std::string& path = settingsPath);
// Writes the 19 fields atomically; false (old file intact, the cause on the
// standard error stream) when it cannot or must not.
bool saveSettings(const GameSettings& settings, bool applied, const std::string& path = settingsPath);

// The file image and back: fields missing from a short image read as -1.
void decodeSettings(const uint8_t* bytes, size_t size, GameSettings& settings);
void encodeSettings(const GameSettings& settings, bool applied, uint8_t bytes[settingsFileSize]);

// Sets width and height, and the chosen size, from the resolution index (no
// change outside 0..4).
void applyResolutionIndex(GameSettings& settings);
// Resolution index of a width (640 -> 0 ... 1600 -> 4), -1 for any other.
int resolutionIndexForWidth(int width);
