#include "cities/ai_path_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace gen::cities {

namespace {

void put32(std::vector<uint8_t>& out, uint32_t v) {
    for (int k = 0; k < 4; ++k) out.push_back(uint8_t(v >> (8 * k)));
}

uint32_t get32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

void putFloat(std::vector<uint8_t>& out, float f) {
    uint32_t v;
    std::memcpy(&v, &f, 4);
    put32(out, v);
}

float getFloat(const uint8_t* p) {
    uint32_t v = get32(p);
    float f;
    std::memcpy(&f, &v, 4);
    return f;
}

}  // namespace

std::vector<uint8_t> encodeAiPath(const std::vector<PathPoint>& points) {
    std::vector<uint8_t> out;
    out.reserve(4 + points.size() * 16);
    put32(out, uint32_t(int32_t(points.size()) - 1));
    for (const PathPoint& p : points) {
        putFloat(out, p.x);
        putFloat(out, p.y);
        putFloat(out, p.z);
        put32(out, uint32_t(p.kind));
    }
    return out;
}

bool decodeAiPath(const uint8_t* data, size_t size, std::vector<PathPoint>& points) {
    points.clear();
    if (!data || size < 4) return false;
    int32_t last = int32_t(get32(data));
    if (last < 0 || last >= kMaxPathPoints) return false;
    size_t count = size_t(last) + 1;
    if (size != 4 + count * 16) return false;
    points.resize(count);
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* r = data + 4 + i * 16;
        points[i] = {getFloat(r), getFloat(r + 4), getFloat(r + 8), int32_t(get32(r + 12))};
    }
    return true;
}

bool readAiPath(const std::string& path, std::vector<PathPoint>& points) {
    points.clear();
    // A regular file only (a pipe is not waited on), and never more than the
    // largest path plus one byte, enough to see that a file is too long.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return false;
    struct stat info {};
    std::vector<uint8_t> bytes;
    bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    if (ok) {
        bytes.resize(4 + size_t(kMaxPathPoints) * 16 + 1);
        size_t got = 0;
        while (got < bytes.size()) {
            const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                ok = n == 0;
                break;
            }
            got += size_t(n);
        }
        bytes.resize(got);
    }
    ::close(fd);
    return ok && decodeAiPath(bytes.data(), bytes.size(), points);
}

}  // namespace gen::cities
