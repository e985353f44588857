// The car generator's content as the build wrote it, and small helpers to read
// it back through the game's own loaders.
#pragma once

#include "content/sbm_model.h"
#include "job_runner.h"
#include "jobs.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>

namespace cars_test {

namespace fs = std::filesystem;

// base/ as the build generated it (the test target depends on the content).
inline const fs::path& generatedBase() {
    static const fs::path base = fs::path(NIGHTRUN_RUN_DIR) / "base";
    return base;
}

// A scratch directory removed when it goes out of scope.
struct ScratchDir {
    fs::path root;
    ScratchDir() {
        std::string pattern = (fs::temp_directory_path() / "nightrun-cars-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        root = pattern;
    }
    ~ScratchDir() {
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }
};

inline std::unique_ptr<SbmModel> loadModel(const std::string& relPath) {
    auto m = std::make_unique<SbmModel>();
    EXPECT_TRUE(m->load((generatedBase() / relPath).string())) << relPath;
    return m;
}

inline std::string carFile(int body, const std::string& name) { return "cars/" + std::to_string(body) + "/" + name; }

struct Box {
    Vec3 lo{1e9f, 1e9f, 1e9f}, hi{-1e9f, -1e9f, -1e9f};
    void add(Vec3 p) {
        lo = {std::fmin(lo.x, p.x), std::fmin(lo.y, p.y), std::fmin(lo.z, p.z)};
        hi = {std::fmax(hi.x, p.x), std::fmax(hi.y, p.y), std::fmax(hi.z, p.z)};
    }
};

inline Box boundsOf(const SbmModel& m) {
    Box b;
    for (const SbmTriangle& t : m.triangles)
        for (int c = 0; c < 3; ++c) b.add(m.vertices[static_cast<size_t>(t.vertexIndices[c])].position);
    return b;
}

inline Vec3 corner(const SbmModel& m, const SbmTriangle& t, int c) {
    return m.vertices[static_cast<size_t>(t.vertexIndices[c])].position;
}

inline Vec3 faceNormal(const SbmModel& m, const SbmTriangle& t) {
    Vec3 a = corner(m, t, 0), b = corner(m, t, 1), c = corner(m, t, 2);
    Vec3 u{b.x - a.x, b.y - a.y, b.z - a.z}, v{c.x - a.x, c.y - a.y, c.z - a.z};
    Vec3 n{u.y * v.z - u.z * v.y, u.z * v.x - u.x * v.z, u.x * v.y - u.y * v.x};
    float l = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
    return l > 0 ? Vec3{n.x / l, n.y / l, n.z / l} : Vec3{0, 0, 0};
}

inline Vec3 centroid(const SbmModel& m, const SbmTriangle& t) {
    Vec3 a = corner(m, t, 0), b = corner(m, t, 1), c = corner(m, t, 2);
    return {(a.x + b.x + c.x) / 3, (a.y + b.y + c.y) / 3, (a.z + b.z + c.z) / 3};
}

}  // namespace cars_test
