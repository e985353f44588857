#include "race/ai_path.h"

#include "app/file_io.h"

#include <cmath>
#include <cstring>
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

const char* drivingLineFault(const TrackPoint* points, int32_t count) {
    if (!points || count < 1) return "the line has no points";
    int32_t previous = 0;
    int checkpoints = 1;  // point 0
    auto farEnough = [&](int32_t a, int32_t b) {
        return length(pointPosition(points[a]) - pointPosition(points[b])) >= minCheckpointSpacing;
    };
    for (int32_t k = 1; k < count; ++k) {
        if (points[k].kind != checkpointKind) continue;
        if (!farEnough(previous, k)) return "two successive checkpoints lie too close together";
        previous = k;
        ++checkpoints;
    }
    if (checkpoints < 2) return "the line has no checkpoint besides the start line";
    if (!farEnough(previous, 0)) return "the last checkpoint lies too close to the start line";
    return nullptr;
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
    if (drivingLineFault(points.data(), int32_t(count))) return false;
    return setAiPath(points.data(), int32_t(count));
}

bool loadAiPathFile(const std::string& path) {
    clearAiPath();
    // No path can use more than a full table's worth of bytes.
    std::vector<uint8_t> bytes;
    if (readFileBounded(path, 4 + size_t(aiPathCapacity) * recordSize, bytes) != ReadStatus::Ok) return false;
    return parseAiPath(bytes.data(), bytes.size());
}

bool loadAiPath(int slot) { return loadAiPathFile(aiPathFile(slot)); }
