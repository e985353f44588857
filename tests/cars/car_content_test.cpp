// The generated race cars, rims, traffic cars and garage: every file the game
// loads by name, read back through the game's loaders, and the conventions the
// game code relies on (car frame, axles, livery bands, lamp groups, exhausts,
// budgets, a closed garage).
#include "cars/car_frame.h"
#include "cars/car_textures.h"
#include "content/tga_loader.h"
#include "content/sbm_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <memory>
#include <set>

namespace {

namespace fs = std::filesystem;

// base/ as the build generated it (the test target depends on the content),
// read back through the game's own loaders.
const fs::path& generatedBase() {
    static const fs::path base = fs::path(NIGHTRUN_RUN_DIR) / "base";
    return base;
}

std::unique_ptr<SbmModel> loadModel(const std::string& relPath) {
    auto m = std::make_unique<SbmModel>();
    EXPECT_TRUE(m->load((generatedBase() / relPath).string())) << relPath;
    return m;
}

std::string carFile(int body, const std::string& name) { return "cars/" + std::to_string(body) + "/" + name; }

struct Box {
    Vec3 lo{1e9f, 1e9f, 1e9f}, hi{-1e9f, -1e9f, -1e9f};
    void add(Vec3 p) {
        lo = {std::fmin(lo.x, p.x), std::fmin(lo.y, p.y), std::fmin(lo.z, p.z)};
        hi = {std::fmax(hi.x, p.x), std::fmax(hi.y, p.y), std::fmax(hi.z, p.z)};
    }
};

Vec3 corner(const SbmModel& m, const SbmTriangle& t, int c) { return m.vertices[size_t(t.vertexIndices[c])].position; }
Vec3 faceNormal(const SbmModel& m, const SbmTriangle& t) {
    return normalise(cross(corner(m, t, 1) - corner(m, t, 0), corner(m, t, 2) - corner(m, t, 0)));
}
Vec3 centroid(const SbmModel& m, const SbmTriangle& t) {
    return (corner(m, t, 0) + corner(m, t, 1) + corner(m, t, 2)) / 3.0f;
}
Box boundsOf(const SbmModel& m) {
    Box b;
    for (const SbmTriangle& t : m.triangles)
        for (int c = 0; c < 3; ++c) b.add(corner(m, t, c));
    return b;
}


std::string texName(int n, const char* ext) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "textures/tex%02d.%s", n, ext);
    return buf;
}

// Nearest hit of a ray against a model: distance, and the hit triangle's geometric normal.
float raycast(const SbmModel& m, Vec3 o, Vec3 d, Vec3* normal = nullptr) {
    float best = -1;
    for (const SbmTriangle& t : m.triangles) {
        const Vec3 a = corner(m, t, 0), e1 = corner(m, t, 1) - a, e2 = corner(m, t, 2) - a;
        const Vec3 p = cross(d, e2), s = o - a, q = cross(s, e1);
        const float det = dot(e1, p);
        if (std::fabs(det) < 1e-12f) continue;
        const float u = dot(s, p) / det, v = dot(d, q) / det, dist = dot(e2, q) / det;
        if (u < 0 || u > 1 || v < 0 || u + v > 1) continue;
        if (dist > 1e-4f && (best < 0 || dist < best)) {
            best = dist;
            if (normal) *normal = faceNormal(m, t);
        }
    }
    return best;
}

// Part 0 of a spoiler or scoop means none; parts 1 to 5 are five different shapes.
TEST(CarFiles, PartZeroIsEmptyAndPartsOneToFiveAreDistinctShapes) {
    for (int body = 0; body < cars::kBodyModels; ++body)
        for (const char* stem : {"krilo", "kovsh", "kovsh_top"}) {
            EXPECT_EQ(loadModel(carFile(body, std::string(stem) + "0.sbm"))->triangleCount(), 0) << stem;
            std::set<std::pair<int, long>> seen;
            for (int d = 1; d <= 5; ++d) {
                auto m = loadModel(carFile(body, std::string(stem) + std::to_string(d) + ".sbm"));
                EXPECT_GT(m->triangleCount(), 0) << stem << d;
                Box b = boundsOf(*m);
                long key = std::lround((b.hi.x - b.lo.x) * 100) * 1000000 + std::lround((b.hi.y - b.lo.y) * 100) * 1000 +
                           std::lround((b.hi.z - b.lo.z) * 100);
                EXPECT_TRUE(seen.insert({m->triangleCount(), key}).second) << stem << d << " of body " << body;
            }
        }
}

TEST(CarTextures, MaterialTexturesArePathsFromTheWorkingDirectory) {
    // Models whose textures the game loads with an empty directory (the optics' in the Optics test).
    std::vector<std::string> models = {"city/wheel.sbm", "garage/garage.sbm", "garage/trees.sbm"};
    for (int w = 0; w < 8; ++w) models.push_back("cars/wheels/" + std::to_string(w) + ".sbm");
    for (int c = 0; c < 5; ++c) models.push_back("city/car" + std::to_string(c) + ".sbm");
    fs::path workDir = generatedBase().parent_path();
    for (const std::string& path : models) {
        auto m = loadModel(path);
        ASSERT_GT(m->materialCount(), 0) << path;
        for (const SbmMaterial& mat : m->materials) {
            ASSERT_FALSE(mat.textureFile.empty()) << path;
            EXPECT_EQ(mat.textureFile.rfind("base/", 0), 0u) << mat.textureFile;
            TgaPixels img;
            EXPECT_TRUE(readTga((workDir / mat.textureFile).string(), img)) << path << " -> " << mat.textureFile;
        }
    }
}

TEST(CarFrame, BodiesWithEveryKitFitTheFrame) {
    for (int body = 0; body < cars::kBodyModels; ++body) {
        auto shell = loadModel(carFile(body, "car.sbm"));
        for (int kit = 0; kit < 4; ++kit) {
            SCOPED_TRACE("body " + std::to_string(body) + " kit " + std::to_string(kit));
            auto k = loadModel(carFile(body, "obves" + std::to_string(kit) + ".sbm"));
            Box b = boundsOf(*shell);
            Box kb = boundsOf(*k);
            b.add(kb.lo);
            b.add(kb.hi);
            EXPECT_GT(b.hi.x, 2.95f);
            EXPECT_LT(b.hi.x, 3.35f);
            EXPECT_LT(b.lo.x, -2.65f);
            EXPECT_GT(b.lo.x, -3.3f);
            EXPECT_LE(std::max(-b.lo.z, b.hi.z), 1.32f);
            EXPECT_GE(std::max(-b.lo.z, b.hi.z), 1.1f);
            EXPECT_NEAR(b.lo.z, -b.hi.z, 0.01f) << "symmetric";
            EXPECT_GT(b.lo.y, cars::kGroundY + 0.08f) << "clears the ground";
            EXPECT_LT(b.lo.y, -0.55f);
            EXPECT_GT(b.hi.y, 0.45f);
            EXPECT_LT(b.hi.y, 1.0f);
        }
    }
}

// The shell never cuts into a wheel, and its arch openings are centred on the garage table's axles.
TEST(CarFrame, WheelArchesSitOnTheTableAxles) {
    for (int body = 0; body < cars::kBodyModels; ++body) {
        SCOPED_TRACE("body " + std::to_string(body));
        auto shell = loadModel(carFile(body, "car.sbm"));
        for (float axle : {cars::frontAxleX(body), cars::rearAxleX(body)}) {
            for (const SbmVertex& v : shell->vertices) {
                Vec3 p = v.position;
                if (std::fabs(p.z) < 0.84f || std::fabs(p.z) > 1.3f) continue;
                float d = std::hypot(p.x - axle, p.y - cars::kWheelY);
                EXPECT_GE(d, cars::kWheelRadius + 0.02f) << "vertex inside the wheel at x " << p.x << " y " << p.y;
            }
            // Looking in from the right at the height of the tyre's upper half, the opening
            // shows the wheel well (deep inside) and is centred on the axle.
            float y = cars::kWheelY + 0.25f;
            auto open = [&](float x) {
                float d = raycast(*shell, {x, y, 5.0f}, {0, 0, -1});
                return d > 0 && 5.0f - d < 0.9f;
            };
            ASSERT_TRUE(open(axle));
            float open0 = axle, open1 = axle;
            while (open0 > axle - 1.0f && open(open0 - 0.005f)) open0 -= 0.005f;
            while (open1 < axle + 1.0f && open(open1 + 0.005f)) open1 += 0.005f;
            ASSERT_LT(open0, open1);
            EXPECT_NEAR(0.5f * (open0 + open1), axle, 0.03f);
            EXPECT_GT(open1 - open0, 2 * std::sqrt(cars::kWheelRadius * cars::kWheelRadius - 0.25f * 0.25f));
        }
    }
}

TEST(CarFrame, WheelsAreCentredWithTheOuterFaceTowardsPlusZ) {
    std::vector<std::string> wheels = {"city/wheel.sbm"};
    for (int w = 0; w < 8; ++w) wheels.push_back("cars/wheels/" + std::to_string(w) + ".sbm");
    for (const std::string& path : wheels) {
        SCOPED_TRACE(path);
        auto m = loadModel(path);
        float rMax = 0, hubZ = 0;
        int hub = 0;
        for (const SbmVertex& v : m->vertices) {
            float r = std::hypot(v.position.x, v.position.y);
            rMax = std::max(rMax, r);
            EXPECT_LE(std::fabs(v.position.z), 0.25f);
            if (r < 0.12f) hubZ += v.position.z, ++hub;
        }
        EXPECT_NEAR(rMax, cars::kWheelRadius, 0.01f);
        ASSERT_GT(hub, 0);
        EXPECT_GT(hubZ / static_cast<float>(hub), 0.0f) << "the hub faces +z";
        // looking at the wheel from +z the first thing hit faces the viewer
        Vec3 n;
        float d = raycast(*m, {0.0f, 0.38f, 3.0f}, {0, 0, -1}, &n);
        ASSERT_GT(d, 0);
        EXPECT_GT(n.z, 0.0f);
    }
}

// Winding: from outside, the first surface a ray meets faces the ray's origin.
TEST(CarFrame, ShellsFaceOutwards) {
    for (int body = 0; body < cars::kBodyModels; ++body) {
        auto shell = loadModel(carFile(body, "car.sbm"));
        struct Ray {
            Vec3 o, d;
        };
        std::vector<Ray> rays = {{{2.2f, 5, 0.2f}, {0, -1, 0}},  {{-1.0f, 5, 0.3f}, {0, -1, 0}}, {{0.0f, -0.2f, 5}, {0, 0, -1}},
                                 {{1.0f, -0.3f, -5}, {0, 0, 1}}, {{8, -0.1f, 0.1f}, {-1, 0, 0}}, {{-8, 0.0f, 0.3f}, {1, 0, 0}}};
        for (const Ray& r : rays) {
            Vec3 n;
            float d = raycast(*shell, r.o, r.d, &n);
            ASSERT_GT(d, 0) << "body " << body;
            EXPECT_LT(n.x * r.d.x + n.y * r.d.y + n.z * r.d.z, 0.0f) << "body " << body << " ray from " << r.o.x << ","
                                                                     << r.o.y << "," << r.o.z;
        }
    }
}

// The design's picture coordinates: the loader keeps t as 1 - t of the file, so picture y = 1024 t.
TEST(Livery, PaintedSurfacesMapIntoTheirBands) {
    for (int body = 0; body < cars::kBodyModels; ++body) {
        std::vector<std::string> files = {"car.sbm", "obves0.sbm", "obves1.sbm", "obves2.sbm", "obves3.sbm"};
        for (const std::string& f : files) {
            SCOPED_TRACE(carFile(body, f));
            auto m = loadModel(carFile(body, f));
            int tops = 0, sides = 0;
            for (const SbmTriangle& t : m->triangles) {
                for (int c = 0; c < 3; ++c) {
                    ASSERT_GE(t.s[c], 0.0f);
                    ASSERT_LE(t.s[c], 1.0f);
                    ASSERT_GE(t.t[c], 0.0f);
                    ASSERT_LE(t.t[c], 1.0f);
                }
                float pictureY = 1024.0f * (t.t[0] + t.t[1] + t.t[2]) / 3.0f;
                if (pictureY < 300.0f) continue;  // fixed-material swatches (trim, interior, mirrors...)
                Vec3 n = faceNormal(*m, t), c = centroid(*m, t);
                if (n.y > 0.85f && c.y > 0.0f && std::fabs(c.z) < 0.9f) {  // hood, roof, trunk (not the arch lips)
                    ++tops;
                    for (int k = 0; k < 3; ++k) EXPECT_GE(1024.0f * t.t[k], 768.0f - 0.5f) << "top surface at x " << c.x;
                }
                if (std::fabs(n.z) > 0.85f && std::fabs(c.z) > 0.95f && c.y > -0.55f && c.y < 0.05f) {
                    ++sides;
                    for (int k = 0; k < 3; ++k) {
                        EXPECT_GE(1024.0f * t.t[k], 572.0f - 0.5f) << "side at x " << c.x;
                        EXPECT_LE(1024.0f * t.t[k], 828.0f + 0.5f) << "side at x " << c.x;
                    }
                }
            }
            if (f == "car.sbm") {
                EXPECT_GT(tops, 20);
                EXPECT_GT(sides, 20);
            }
        }
    }
}

TEST(Livery, TemplateShowsPaintOnPanelsAndCoversTrim) {
    for (int body = 0; body < cars::kBodyModels; ++body) {
        TgaPixels tmpl, mask;
        ASSERT_TRUE(readTga((generatedBase() / texName(cars::kTemplateTga[body], "tga")).string(), tmpl));
        ASSERT_TRUE(readTga((generatedBase() / texName(cars::kMaskTga[body], "tga")).string(), mask));
        ASSERT_EQ(tmpl.width, 1024);  // the livery layout's picture coordinates
        ASSERT_EQ(tmpl.components, 4);
        ASSERT_EQ(mask.width, 1024);
        ASSERT_EQ(mask.components, 4);
        auto alpha = [](const TgaPixels& img, int x, int pictureY) {
            return img.pixels[(static_cast<size_t>(pictureY) * static_cast<size_t>(img.width) + static_cast<size_t>(x)) * 4 + 3];
        };
        // Roof centre (top band) and mid door (side band) show the paint.
        int roofCol = static_cast<int>((3.2f + 0.4f) / 6.4f * 1024.0f);
        EXPECT_LT(alpha(tmpl, roofCol, 896), 20) << "body " << body;
        EXPECT_LT(alpha(tmpl, roofCol + 30, 650), 40) << "body " << body;
        // Paint reflects strongly, the dark swatch hardly at all.
        EXPECT_GT(alpha(mask, roofCol, 896), 180);
        // Dark swatch: sixth cell of the swatch row (picture y 1024 - 784).
        int darkCol = 12 + 6 * 100 + 50;
        EXPECT_GT(alpha(tmpl, darkCol, 1024 - 784), 240);
        EXPECT_LT(alpha(mask, darkCol, 1024 - 784), 60);
    }
    TgaPixels glass;  // the shared window glass is see-through
    ASSERT_TRUE(readTga((generatedBase() / texName(31, "tga")).string(), glass));
    EXPECT_EQ(glass.components, 4);
}

std::vector<int> partCounts(int body, const std::string& stem, int n) {
    std::vector<int> v;
    for (int i = 0; i < n; ++i) v.push_back(loadModel(carFile(body, stem + std::to_string(i) + ".sbm"))->triangleCount());
    return v;
}

TEST(Budgets, EveryRaceCarCombinationStaysWithinSixThousand) {
    int wheel = 0;
    for (int w = 0; w < 8; ++w) wheel = std::max(wheel, loadModel("cars/wheels/" + std::to_string(w) + ".sbm")->triangleCount());
    for (int body = 0; body < cars::kBodyModels; ++body) {
        auto maxOf = [](const std::vector<int>& v) { return *std::max_element(v.begin(), v.end()); };
        std::vector<int> optics = partCounts(body, "optika", 4), lenses = partCounts(body, "glass_optika", 4);
        int opticsMax = 0;
        for (int i = 0; i < 4; ++i) opticsMax = std::max(opticsMax, optics[static_cast<size_t>(i)] + lenses[static_cast<size_t>(i)]);
        int total = loadModel(carFile(body, "car.sbm"))->triangleCount() + loadModel(carFile(body, "glass_car.sbm"))->triangleCount() +
                    loadModel(carFile(body, "pilot.sbm"))->triangleCount() + maxOf(partCounts(body, "obves", 4)) +
                    maxOf(partCounts(body, "krilo", 6)) + maxOf(partCounts(body, "kovsh", 6)) +
                    maxOf(partCounts(body, "kovsh_top", 6)) + opticsMax + 4 * wheel;
        EXPECT_LE(total, 6000) << "body " << body;
        EXPECT_GT(loadModel(carFile(body, "glass_car.sbm"))->triangleCount(), 0);
        EXPECT_GT(loadModel(carFile(body, "pilot.sbm"))->triangleCount(), 0);
    }
}

TEST(Budgets, CityCarsWithTheirWheelsStayWithinTwoAndAHalfThousand) {
    int wheel = loadModel("city/wheel.sbm")->triangleCount();
    for (int c = 0; c < 5; ++c) EXPECT_LE(loadModel("city/car" + std::to_string(c) + ".sbm")->triangleCount() + 4 * wheel, 2500) << c;
}

// Fire and smoke come out of the exhaust points of the particle table: the tips are
// there and the bumper's rear face is just behind them.
TEST(Exhausts, TipsSitOnTheRearSurfaceAtTheTablePoints) {
    for (int body = 0; body < cars::kBodyModels; ++body)
        for (int kit = 0; kit < 4; ++kit) {
            SCOPED_TRACE("body " + std::to_string(body) + " kit " + std::to_string(kit));
            auto m = loadModel(carFile(body, "obves" + std::to_string(kit) + ".sbm"));
            Vec3 ex{cars::kExhaust[body][kit].x, cars::kExhaust[body][kit].y, cars::kExhaust[body][kit].z};
            for (float side : {1.0f, -1.0f}) {
                float tipX = 1e9f;
                for (const SbmVertex& v : m->vertices) {
                    Vec3 p = v.position;
                    if (std::hypot(p.y - ex.y, p.z - side * ex.z) < 0.1f && std::fabs(p.x - ex.x) < 0.3f) tipX = std::min(tipX, p.x);
                }
                EXPECT_NEAR(tipX, ex.x, 0.03f) << "tip";
                // Just around the tip, looking forwards from behind, the bumper's rear face is close.
                float faceX = 1e9f;
                for (Vec3 off : {Vec3{0, 0.13f, 0}, Vec3{0, 0, 0.14f}, Vec3{0, 0, -0.14f}, Vec3{0, -0.1f, 0}}) {
                    Vec3 o{ex.x - 1.0f, ex.y + off.y, side * ex.z + off.z};
                    float d = raycast(*m, o, {1, 0, 0});
                    if (d > 0) faceX = std::min(faceX, o.x + d);
                }
                EXPECT_GE(faceX, ex.x - 0.05f) << "the bumper does not reach past the tip";
                EXPECT_LE(faceX, ex.x + 0.16f) << "the bumper's rear face is near the tip";
            }
        }
}

TEST(Optics, ThreeLitGroupsGlowInTheirOwnTexture) {
    for (int body = 0; body < cars::kBodyModels; ++body)
        for (int v = 0; v < 4; ++v) {
            SCOPED_TRACE("body " + std::to_string(body) + " optics " + std::to_string(v));
            auto m = loadModel(carFile(body, "optika" + std::to_string(v) + ".sbm"));
            ASSERT_GE(m->groupCount(), 3);
            ASSERT_GE(m->materialCount(), 1);
            TgaPixels tex;
            ASSERT_TRUE(readTga((generatedBase().parent_path() / m->materials[0].textureFile).string(), tex));
            ASSERT_EQ(tex.components, 4);
            for (int g = 0; g < 3; ++g) {
                const SbmGroup& grp = m->groups[static_cast<size_t>(g)];
                ASSERT_GT(grp.triangleCount(), 0) << "group " << g;
                int glowing = 0;
                for (int32_t ti : grp.triangleIndices) {
                    const SbmTriangle& t = m->triangles[static_cast<size_t>(ti)];
                    Vec3 c = centroid(*m, t);
                    // Group 0: headlamps at the front and the tail lights lit with them.
                    if (g == 0) EXPECT_GT(std::fabs(c.x), 1.8f) << "headlamps at the front, tail lights at the back";
                    else EXPECT_LT(c.x, -1.8f) << "brake and reverse lights at the back";
                    float s = (t.s[0] + t.s[1] + t.s[2]) / 3, tt = (t.t[0] + t.t[1] + t.t[2]) / 3;
                    int x = std::clamp(static_cast<int>(s * static_cast<float>(tex.width)), 0, tex.width - 1);
                    int y = std::clamp(static_cast<int>(tt * static_cast<float>(tex.height)), 0, tex.height - 1);
                    const int alpha =
                        tex.pixels[(static_cast<size_t>(y) * static_cast<size_t>(tex.width) + static_cast<size_t>(x)) * 4 + 3];
                    // Lenses glow fully (alpha 0); the tail lights at half strength.
                    if (alpha < 30 || (g == 0 && c.x < 0 && alpha < 160)) ++glowing;
                }
                EXPECT_EQ(glowing, grp.triangleCount()) << "lenses have alpha below 1, so they glow";
            }
            EXPECT_GT(loadModel(carFile(body, "glass_optika" + std::to_string(v) + ".sbm"))->triangleCount(), 0);
        }
}

TEST(CityCars, FitTheTrafficBoxWithIndicatorsOnTheirSides) {
    for (int c = 0; c < 5; ++c) {
        SCOPED_TRACE("city car " + std::to_string(c));
        auto m = loadModel("city/car" + std::to_string(c) + ".sbm");
        Box b = boundsOf(*m);
        EXPECT_GE(b.lo.x, -3.05f);
        EXPECT_LE(b.hi.x, 3.05f);
        EXPECT_GT(b.hi.x - b.lo.x, 5.0f);
        EXPECT_LE(std::max(-b.lo.z, b.hi.z), 1.3f);
        EXPECT_GT(b.lo.y, cars::kGroundY);
        ASSERT_GE(m->groupCount(), 3);
        for (int g = 0; g < 3; ++g) ASSERT_GT(m->groups[static_cast<size_t>(g)].triangleCount(), 0);
        for (int g = 1; g <= 2; ++g)
            for (int32_t ti : m->groups[static_cast<size_t>(g)].triangleIndices) {
                Vec3 p = centroid(*m, m->triangles[static_cast<size_t>(ti)]);
                if (g == 1) EXPECT_LT(p.z, 0.0f) << "left indicators on the car's left (-z)";
                else EXPECT_GT(p.z, 0.0f) << "right indicators on +z";
            }
        // arches around the traffic table's axles
        for (float axle : {cars::trafficFrontX(c), cars::trafficRearX(c)}) {
            Vec3 n;
            float d = raycast(*m, {axle, 2.0f, 0.95f}, {0, -1, 0}, &n);
            ASSERT_GT(d, 0);
            EXPECT_GT(2.0f - d, -0.43f + 0.46f) << "the wing clears the wheel at x " << axle;
        }
    }
}

TEST(Garage, ClosedRoomAroundTheOrbitingCamera) {
    auto room = loadModel("garage/garage.sbm");
    EXPECT_GT(loadModel("garage/glass_garage.sbm")->triangleCount(), 0);
    // The ceiling lamps fill the light table (200 entries) from their centres, high above the car.
    auto lights = loadModel("garage/light.sbm");
    EXPECT_GE(lights->triangleCount(), 8);
    EXPECT_LE(lights->triangleCount(), 200);
    for (const SbmTriangle& t : lights->triangles) EXPECT_GT(centroid(*lights, t).y, 5.0f);
    Box b = boundsOf(*room);
    EXPECT_NEAR(b.lo.y, -0.92f, 0.001f);
    // In every direction from where the camera can be, a wall faces it.
    for (int k = 0; k < 72; ++k) {
        float a = static_cast<float>(k) * 5.0f * 3.14159265f / 180.0f;
        for (float pitch : {1.0f, 23.0f}) {
            float pr = pitch * 3.14159265f / 180.0f;
            Vec3 cam{11.5f * std::cos(pr) * std::cos(a), 11.5f * std::sin(pr) + 0.25f, 11.5f * std::cos(pr) * std::sin(a)};
            for (int j = 0; j < 8; ++j) {
                float b2 = static_cast<float>(j) * 45.0f * 3.14159265f / 180.0f;
                Vec3 dir{std::cos(b2), 0.05f, std::sin(b2)};
                Vec3 n;
                float d = raycast(*room, cam, dir, &n);
                ASSERT_GT(d, 0) << "open towards " << j * 45 << " degrees from camera angle " << k * 5;
                EXPECT_GT(d, 0.5f);
                EXPECT_LT(n.x * dir.x + n.y * dir.y + n.z * dir.z, 0.0f) << "surfaces face into the room";
            }
            Vec3 n;
            EXPECT_GT(raycast(*room, cam, {0, 1, 0}, &n), 1.5f) << "ceiling above the camera";
            EXPECT_LT(n.y, 0.0f);
        }
    }
}

}  // namespace
