// The AI driving line file (points/level.ai): little-endian int32 last index L,
// then L + 1 records of x, y, z (float32) and kind (int32, 1 = checkpoint).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace gen::cities {

struct PathPoint {
    float x = 0, y = 0, z = 0;
    int32_t kind = 0;
};

// Largest number of points a path may hold.
constexpr int kMaxPathPoints = 1169;

std::vector<uint8_t> encodeAiPath(const std::vector<PathPoint>& points);
// False for a short, truncated or oversized file, a negative or too large count,
// or trailing bytes; points is cleared then.
bool decodeAiPath(const uint8_t* data, size_t size, std::vector<PathPoint>& points);
// The same from a file: a regular file only, read no further than the largest path.
bool readAiPath(const std::string& path, std::vector<PathPoint>& points);

}  // namespace gen::cities
