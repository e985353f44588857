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
// A car passes a checkpoint within this distance of it.
constexpr float checkpointRadius = 15.0f;
// Successive checkpoints of a lap lie at least this far apart, so that a car
// drives from one to the next rather than passing both where it stands.
constexpr float minCheckpointSpacing = 4.0f * checkpointRadius;

extern TrackPoint aiPath[aiPathCapacity];
// The last index L (the path has L + 1 points); -1 while no path is loaded.
extern int32_t aiPathLast;

inline Vec3 pointPosition(const TrackPoint& p) { return {p.x, p.y, p.z}; }

// "base/maps/<slot>/points/level.ai".
std::string aiPathFile(int slot);

// Why a line cannot give a sane lap, or null when it can. A lap runs from
// point 0 (the start line whatever its kind) through every later checkpoint
// in order and back to point 0: it needs at least one checkpoint besides point
// 0, and each checkpoint at least minCheckpointSpacing from the one before it
// (the last also from point 0), or cars would count laps without driving them.
const char* drivingLineFault(const TrackPoint* points, int32_t count);

// Reads a path from bytes. A negative or oversized count, a file shorter than
// its count says, a non-finite coordinate or a line without a sane lap (see
// drivingLineFault) reject the whole file: the path is then empty and the
// result false.
bool parseAiPath(const uint8_t* data, size_t size);
// Reads the slot's file (a regular file, at most a full table's worth of
// bytes; see parseAiPath); false and an empty path when it is missing,
// unreadable or damaged.
bool loadAiPath(int slot);
bool loadAiPathFile(const std::string& path);
// Replaces the path with given points (tests and tools, which may set lines that
// drivingLineFault would refuse); false when empty or too long.
bool setAiPath(const TrackPoint* points, int32_t count);
void clearAiPath();
