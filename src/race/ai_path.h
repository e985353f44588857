// The AI driving line of a track: the closed chain of points the computer
// drivers follow, the race counts checkpoints and laps on, and traffic is
// placed on. level.ai is little-endian: an int32 last index L, then L + 1
// records of x, y, z (float32) and kind (int32; 1 = checkpoint).
#pragma once

#include "physics/vector_math.h"

#include <cstddef>
#include <cstdint>
#include <string>

struct TrackPoint {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float unused = 0.0f;
    int32_t kind = 0;  // 1 checkpoint, 0 plain point
};

// Room for the longest circuit's path.
constexpr int32_t aiPathCapacity = 2048;
constexpr int32_t checkpointKind = 1;

extern TrackPoint aiPath[aiPathCapacity];
// The last index L (the path has L + 1 points); -1 while no path is loaded.
extern int32_t aiPathLast;

inline Vec3 pointPosition(const TrackPoint& p) { return {p.x, p.y, p.z}; }

// "base/maps/<slot>/points/level.ai".
std::string aiPathFile(int slot);

// Reads a path from bytes. A negative or oversized count, a file shorter than
// its count says, or a non-finite coordinate reject the whole file: the path is
// then empty and the result false. Point 0 is the start line whatever its kind.
bool parseAiPath(const uint8_t* data, size_t size);
// Reads the slot's file (see parseAiPath); false and an empty path when it is
// missing or unreadable.
bool loadAiPath(int slot);
bool loadAiPathFile(const std::string& path);
// Replaces the path with given points (tests and tools); false when empty or too long.
bool setAiPath(const TrackPoint* points, int32_t count);
void clearAiPath();
