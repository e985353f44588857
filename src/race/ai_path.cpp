#include "race/ai_path.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

TrackPoint aiPath[aiPathCapacity];
int32_t aiPathLast = -1;

namespace {

constexpr size_t recordSize = 16;

int32_t readInt(const uint8_t* p) {
    return int32_t(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24);
}

float readFloat(const uint8_t* p) {
    const uint32_t bits = uint32_t(readInt(p));
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

}  // namespace

std::string aiPathFile(int slot) { return "base/maps/" + std::to_string(slot) + "/points/level.ai"; }

void clearAiPath() {
    for (TrackPoint& p : aiPath) p = TrackPoint{};
    aiPathLast = -1;
}

bool setAiPath(const TrackPoint* points, int32_t count) {
    clearAiPath();
    if (!points || count <= 0 || count > aiPathCapacity) return false;
    for (int32_t i = 0; i < count; ++i) aiPath[i] = points[i];
    aiPathLast = count - 1;
    return true;
}

bool parseAiPath(const uint8_t* data, size_t size) {
    clearAiPath();
    if (!data || size < 4) return false;
    const int32_t last = readInt(data);
    if (last < 0 || last >= aiPathCapacity) return false;
    const size_t count = size_t(last) + 1;
    if (size < 4 + count * recordSize) return false;
    std::vector<TrackPoint> points(count);
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* r = data + 4 + i * recordSize;
        TrackPoint& p = points[i];
        p.x = readFloat(r);
        p.y = readFloat(r + 4);
        p.z = readFloat(r + 8);
        p.kind = readInt(r + 12);
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) return false;
    }
    return setAiPath(points.data(), int32_t(count));
}

bool loadAiPathFile(const std::string& path) {
    clearAiPath();
    // Only a plain file: a directory of that name would fail half-way through the read.
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return false;
    std::ifstream file(path, std::ios::binary);
    if (!file) return false;
    // No path can use more than a full table's worth of bytes.
    std::vector<uint8_t> bytes(4 + size_t(aiPathCapacity) * recordSize);
    file.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(bytes.size()));
    bytes.resize(size_t(std::max<std::streamsize>(file.gcount(), 0)));
    return parseAiPath(bytes.data(), bytes.size());
}

bool loadAiPath(int slot) { return loadAiPathFile(aiPathFile(slot)); }
