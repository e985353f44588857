// The .sbm reader against files from the generator's writer: round trips,
// versions, damaged files, surface classes, flattening, material textures and
// the blinking draw. Random damage is the fuzz target's (tests/fuzz/sbm_fuzz.cpp).
#include "app/frame_timer.h"
#include "content/sbm_model.h"
#include "render/model_drawing.h"
#include "format_test_support.h"
#include "sbm_writer.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <functional>

using namespace formats_test;

namespace {

sbm::Triangle triangle(uint16_t a, uint16_t b, uint16_t c, float salt = 0.0f) {
    sbm::Triangle t;
    t.vertices = {a, b, c};
    for (int corner = 0; corner < 3; ++corner) {
        t.normals[size_t(corner)] = {0.1f * float(corner), 1.0f - salt, salt};
        t.s[size_t(corner)] = 0.25f * float(corner) + salt;
        t.t[size_t(corner)] = 0.25f + 0.125f * float(corner);
    }
    return t;
}

sbm::Material material(float transparency, const std::string& texture = "") {
    sbm::Material m;
    m.transparency = transparency;
    m.texture = texture;
    return m;
}

// Four vertices, three triangles, two groups (one without material), two materials.
sbm::Model sampleModel() {
    sbm::Model m;
    m.vertices = {{0, 0, 0, 0}, {3, 0, 0, 1}, {0, 3, 0, -1}, {0, 0, 3, 2}};
    m.triangles = {triangle(0, 1, 2, 0.0f), triangle(1, 2, 3, 0.5f), triangle(3, 2, 0, 0.25f)};
    m.groups = {{"body", {0, 2}, 1}, {"trim", {1}, -1}};
    m.materials = {material(0.2f, "paint.bmp"), material(0.7f, "")};
    m.materials[1].ambient = {0.1f, 0.2f, 0.3f, 0.4f};
    m.materials[1].diffuse = {0.5f, 0.6f, 0.7f, 0.8f};
    m.materials[1].specular = {0.9f, 1.0f, 0.0f, 0.5f};
    m.materials[1].emissive = {0.25f, 0.0f, 1.0f, 1.0f};
    m.materials[1].shininess = 12.5f;
    return m;
}

bool loadBytes(SbmModel& model, const std::vector<uint8_t>& bytes) {
    return model.loadFromMemory(bytes.data(), bytes.size());
}

void expectEmpty(const SbmModel& model) {
    EXPECT_EQ(model.vertexCount(), 0);
    EXPECT_EQ(model.triangleCount(), 0);
    EXPECT_EQ(model.groupCount(), 0);
    EXPECT_EQ(model.materialCount(), 0);
}

// Where the material section ends: the writer appends a 14-byte tail.
constexpr size_t TailBytes = 14;

}  // namespace

TEST(SbmLoad, WrittenModelLoadsBackIdentically) {
    const sbm::Model source = sampleModel();
    TempDir dir("sbm-roundtrip");
    ASSERT_TRUE(sbm::writeFile(source, dir.file("m.sbm")));
    SbmModel model;
    ASSERT_TRUE(model.load(dir.file("m.sbm")));
    auto same = [](const Vec3& v, const auto& xyz) { return v.x == xyz[0] && v.y == xyz[1] && v.z == xyz[2]; };

    ASSERT_EQ(model.vertexCount(), 4);
    for (size_t i = 0; i < 4; ++i) {
        const sbm::Vertex& v = source.vertices[i];
        EXPECT_TRUE(same(model.vertices[i].position, std::array<float, 3>{v.x, v.y, v.z})) << i;
        EXPECT_EQ(model.vertices[i].boneId, v.boneId);
    }
    ASSERT_EQ(model.triangleCount(), 3);
    for (size_t i = 0; i < 3; ++i) {
        const SbmTriangle& t = model.triangles[i];
        const sbm::Triangle& s = source.triangles[i];
        EXPECT_EQ(t.surfaceClass, 0);
        for (size_t c = 0; c < 3; ++c) {
            EXPECT_EQ(t.vertexIndices[c], s.vertices[c]);
            EXPECT_TRUE(same(t.normals[c], s.normals[c]));
            EXPECT_EQ(t.s[c], s.s[c]);
            EXPECT_EQ(t.t[c], 1.0f - s.t[c]);  // t is kept as 1 - t: 0.25 in the file is 0.75
        }
    }
    ASSERT_EQ(model.groupCount(), 2);
    EXPECT_EQ(model.groups[0].materialIndex, 1);
    EXPECT_EQ(model.groups[0].triangleIndices, (std::vector<int32_t>{0, 2}));
    EXPECT_EQ(model.groups[1].materialIndex, -1);
    ASSERT_EQ(model.materialCount(), 2);
    EXPECT_EQ(model.materials[0].textureFile, "paint.bmp");
    EXPECT_EQ(model.materials[0].transparency, 0.2f);
    const SbmMaterial& m = model.materials[1];
    const sbm::Material& s = source.materials[1];
    for (size_t c = 0; c < 4; ++c)
        EXPECT_TRUE(m.ambient[c] == s.ambient[c] && m.diffuse[c] == s.diffuse[c] && m.specular[c] == s.specular[c] &&
                    m.emissive[c] == s.emissive[c]) << c;
    EXPECT_EQ(m.shininess, 12.5f);
    EXPECT_EQ(m.transparency, 0.7f);
    EXPECT_EQ(m.textureFile, "");
    EXPECT_EQ(m.texture, 0u);
}

TEST(SbmLoad, LongTextureNamesAreKeptUpToTheField) {
    sbm::Model source = sampleModel();
    source.materials[0].texture = std::string(200, 'a');
    SbmModel model;
    ASSERT_TRUE(loadBytes(model, sbm::encode(source)));
    EXPECT_EQ(model.materials[0].textureFile, std::string(127, 'a'));

    // A field without its terminating NUL is taken whole, never read past.
    std::vector<uint8_t> bytes = sbm::encode(sampleModel());
    const size_t materialStart = bytes.size() - TailBytes - 2 * 361;
    std::memset(bytes.data() + materialStart + 32 + 4 * 18 + 1, 'b', 128);
    ASSERT_TRUE(loadBytes(model, bytes));
    EXPECT_EQ(model.materials[0].textureFile, std::string(128, 'b'));
}

TEST(SbmLoad, OnlyVersionsThreeAndFour) {
    SbmModel model;
    for (int version : {2, 5, 0, -1, 1000}) {
        EXPECT_FALSE(loadBytes(model, sbm::encode(sampleModel(), version))) << version;
        expectEmpty(model);
    }
    for (int version : {3, 4}) {
        EXPECT_TRUE(loadBytes(model, sbm::encode(sampleModel(), version))) << version;
        EXPECT_EQ(model.triangleCount(), 3);
    }
    std::vector<uint8_t> bytes = sbm::encode(sampleModel());
    bytes[3] = 'E';  // "MS3E000000"
    EXPECT_FALSE(loadBytes(model, bytes));
    EXPECT_FALSE(model.load("no/such/file.sbm"));
    expectEmpty(model);
}

TEST(SbmLoad, ALoadReplacesThePreviousModelAndZeroGroupsFlattenToNothing) {
    SbmModel model;
    ASSERT_TRUE(loadBytes(model, sbm::encode(sampleModel())));
    model.flatten();
    sbm::Model source = sampleModel();
    source.groups.clear();
    ASSERT_TRUE(loadBytes(model, sbm::encode(source)));
    EXPECT_EQ(model.groupCount(), 0);
    EXPECT_EQ(model.triangleCount(), 3);
    EXPECT_EQ(model.flatCount(), 0);  // the previous model's records are gone
    model.flatten();
    EXPECT_EQ(model.flatCount(), 0);

    ASSERT_TRUE(loadBytes(model, sbm::encode(sbm::Model{})));
    expectEmpty(model);
}

TEST(SbmDamage, EveryTruncationBeforeTheTailFails) {
    const std::vector<uint8_t> bytes = sbm::encode(sampleModel());
    const size_t sectionsEnd = bytes.size() - TailBytes;
    SbmModel model;
    for (size_t length = 0; length <= bytes.size(); ++length) {
        // Exact-size copies, so a sanitizer build catches any read past the end.
        std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + long(length));
        const bool loaded = loadBytes(model, cut);
        if (length < sectionsEnd) {
            ASSERT_FALSE(loaded) << length;
            expectEmpty(model);
        } else {
            ASSERT_TRUE(loaded) << length;  // what follows the materials is ignored
        }
    }
}

TEST(SbmDamage, IndicesOutsideTheirArraysFail) {
    const std::function<void(sbm::Model&)> outside[] = {
        [](sbm::Model& m) { m.triangles[1].vertices[2] = 4; },    // four vertices
        [](sbm::Model& m) { m.groups[1].triangles.push_back(3); },  // three triangles
        [](sbm::Model& m) { m.groups[0].material = 2; },            // two materials
        [](sbm::Model& m) { m.groups[0].material = -2; },
    };
    SbmModel model;
    for (const auto& spoil : outside) {
        sbm::Model m = sampleModel();
        spoil(m);
        EXPECT_FALSE(loadBytes(model, sbm::encode(m)));
        expectEmpty(model);
    }
    sbm::Model m = sampleModel();
    m.materials.clear();
    m.groups[0].material = -1;
    EXPECT_TRUE(loadBytes(model, sbm::encode(m)));  // -1 needs no material
}

TEST(SbmSurfaces, TransparencyGivesTheSurfaceClass) {
    const std::vector<std::pair<float, int>> cases = {
        {0.0999f, 0}, {0.1f, 1}, {0.2f, 1}, {0.3329f, 1}, {0.333f, 2}, {0.5f, 2}, {0.665f, 2},
        {0.666f, 3}, {1.0f, 3}, {1.01f, 0}, {0.0f, 0}, {-0.5f, 0}};
    sbm::Model source;
    source.vertices = {{0, 0, 0, 0}, {1, 0, 0, 0}, {0, 1, 0, 0}};
    for (size_t i = 0; i < cases.size(); ++i) {
        source.triangles.push_back(triangle(0, 1, 2));
        source.materials.push_back(material(cases[i].first));
        source.groups.push_back({"g", {uint16_t(i)}, int8_t(i)});
    }
    const uint16_t noMaterial = uint16_t(source.triangles.size());
    source.triangles.push_back(triangle(0, 1, 2));
    source.groups.push_back({"none", {noMaterial}, -1});
    source.triangles.push_back(triangle(0, 1, 2));  // in no group

    SbmModel model;
    ASSERT_TRUE(loadBytes(model, sbm::encode(source)));
    model.classifySurfaces();
    for (size_t i = 0; i < cases.size(); ++i)
        EXPECT_EQ(model.triangles[i].surfaceClass, cases[i].second) << "transparency " << cases[i].first;
    EXPECT_EQ(model.triangles[noMaterial].surfaceClass, 0);
    EXPECT_EQ(model.triangles.back().surfaceClass, 0);
}

TEST(SbmFlatten, CopiesGroupTrianglesInOrderUpTo5000) {
    sbm::Model source;
    for (int i = 0; i < 5200; ++i)
        source.vertices.push_back({float(i), float(2 * i), -float(i), 0});
    for (int i = 0; i < 5100; ++i) {
        source.triangles.push_back(triangle(uint16_t(i), uint16_t(i + 1), uint16_t(i + 2), 0.0f));
        source.triangles.back().s = {float(i), 0.5f, 1.0f};
    }
    source.materials = {material(1.0f), material(0.5f)};
    sbm::Group first{"a", {}, 0}, second{"b", {}, 1};
    for (int i = 0; i < 3000; ++i) first.triangles.push_back(uint16_t(5099 - i));  // reversed
    for (int i = 0; i < 2100; ++i) second.triangles.push_back(uint16_t(i));
    source.groups = {first, second};

    SbmModel model;
    ASSERT_TRUE(loadBytes(model, sbm::encode(source)));
    model.flatten();
    ASSERT_EQ(model.flatCount(), SbmModel::FlatCapacity);

    const FlatTriangle& head = model.flat[0];  // triangle 5099
    EXPECT_EQ(head.materialIndex, 0);
    EXPECT_EQ(head.corners[0].position.x, 5099.0f);
    EXPECT_EQ(head.corners[2].position.x, 5101.0f);
    EXPECT_EQ(head.corners[0].s, 5099.0f);
    EXPECT_EQ(head.corners[1].t, 1.0f - 0.375f);
    EXPECT_EQ(head.corners[2].normal.x, 0.2f);
    EXPECT_FLOAT_EQ(head.centroid.x, 5100.0f);
    EXPECT_FLOAT_EQ(head.centroid.y, 10200.0f);
    EXPECT_FLOAT_EQ(head.centroid.z, -5100.0f);

    const FlatTriangle& last = model.flat[4999];  // group b, entry 1999
    EXPECT_EQ(last.materialIndex, 1);
    EXPECT_EQ(last.corners[0].position.x, 1999.0f);
    EXPECT_FLOAT_EQ(last.centroid.x, 2000.0f);

    // Fewer triangles than the capacity: exactly one record each.
    source.groups[1].triangles.resize(10);
    ASSERT_TRUE(loadBytes(model, sbm::encode(source)));
    model.flatten();
    EXPECT_EQ(model.flatCount(), 3010);
}

// ---- with a GL context ----

namespace {

// A 1 x 8 TGA: the bottom half red, the top half green.
std::vector<uint8_t> twoFrameTga() {
    gen::Raster image(1, 8, test_support::byteColour(0, 255, 0));
    for (int y = 4; y < 8; ++y) image.at(0, y) = test_support::byteColour(255, 0, 0);  // raster rows run down
    return gen::encodeTga(image, false);
}

// A full-viewport quad sampling one texture point: s = 0.5, t = 0.25 once loaded.
sbm::Model screenQuad(float transparency, const std::string& texture) {
    sbm::Model m;
    m.vertices = {{-1, -1, 0, 0}, {1, -1, 0, 0}, {1, 1, 0, 0}, {-1, 1, 0, 0}};
    for (auto corners : {std::array<uint16_t, 3>{0, 1, 2}, std::array<uint16_t, 3>{0, 2, 3}}) {
        sbm::Triangle t = triangle(corners[0], corners[1], corners[2]);
        t.s = {0.5f, 0.5f, 0.5f};
        t.t = {0.75f, 0.75f, 0.75f};
        m.triangles.push_back(t);
    }
    m.materials = {material(transparency, texture)};
    m.groups = {{"quad", {0, 1}, 0}};
    return m;
}

// Draws the model over a cleared 64 x 64 viewport and reads the centre pixel.
std::array<uint8_t, 3> drawAndSample(const SbmModel& model) {
    glViewport(0, 0, 64, 64);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
    glColor3f(1, 1, 1);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    drawSimple(model);
    glFinish();
    std::array<uint8_t, 3> pixel{};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(32, 32, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, pixel.data());
    return pixel;
}

const std::array<uint8_t, 3> red{255, 0, 0}, green{0, 255, 0}, black{0, 0, 0}, white{255, 255, 255};

}  // namespace

TEST(SbmDraw, BlinkingMaterialsShowTheirOtherFrameWhileTheBlinkValueIsNegative) {
    ASSERT_TRUE(glContext());
    TempDir dir("sbm-blink");
    ASSERT_TRUE(writeFileBytes(dir.file("sign.tga"), twoFrameTga()));
    const std::string directory = dir.path().string() + "/";

    SbmModel blinking, steady;
    ASSERT_TRUE(loadBytes(blinking, sbm::encode(screenQuad(0.5f, "sign.tga"))));
    ASSERT_TRUE(loadBytes(steady, sbm::encode(screenQuad(0.5001f, "sign.tga"))));
    blinking.loadMaterialTextures(directory);
    steady.loadMaterialTextures(directory);
    ASSERT_NE(blinking.materials[0].texture, 0u);

    const float saved = frameTiming.blinkValue;
    frameTiming.blinkValue = 0.5f;
    EXPECT_EQ(drawAndSample(blinking), red);
    EXPECT_EQ(drawAndSample(steady), red);
    frameTiming.blinkValue = 0.0f;
    EXPECT_EQ(drawAndSample(blinking), red);
    frameTiming.blinkValue = -0.01f;
    EXPECT_EQ(drawAndSample(blinking), green);
    EXPECT_EQ(drawAndSample(steady), red);
    frameTiming.blinkValue = saved;

    // With the sign's texture still bound, an untextured model draws its plain colour
    // and a model never loaded draws nothing.
    SbmModel untextured, neverLoaded;
    ASSERT_TRUE(loadBytes(untextured, sbm::encode(screenQuad(1.0f, ""))));
    EXPECT_EQ(drawAndSample(untextured), white);
    EXPECT_EQ(drawAndSample(neverLoaded), black);
}

TEST(SbmTextures, NamesContainingDotTgaGoToTheTgaLoader) {
    ASSERT_TRUE(glContext());
    platform::TestBackend& backend = testPlatform();
    backend.messageBoxes.clear();
    TempDir dir("sbm-textures");
    const std::vector<uint8_t> tga = solidTga(2, 2, 10, 20, 30);
    const std::vector<uint8_t> bmp = solidBmp(2, 2, 40, 50, 60);
    ASSERT_TRUE(writeFileBytes(dir.file("pre_sign.tga.bmp"), tga));  // ".tga" in the middle: TGA
    ASSERT_TRUE(writeFileBytes(dir.file("pre_shop.tga.bmp"), bmp));  // read as TGA: fails
    ASSERT_TRUE(writeFileBytes(dir.file("pre_WALL.TGA"), bmp));      // upper case: BMP
    ASSERT_TRUE(writeFileBytes(dir.file("pre_ROOF.TGA"), tga));      // read as BMP: fails, reported
    ASSERT_TRUE(writeFileBytes(dir.file("pre_road.bmp"), bmp));

    sbm::Model source;
    for (const char* name : {"sign.tga.bmp", "shop.tga.bmp", "WALL.TGA", "ROOF.TGA", "road.bmp", "", "gone.bmp"})
        source.materials.push_back(material(1.0f, name));
    SbmModel model;
    ASSERT_TRUE(loadBytes(model, sbm::encode(source)));
    // No separator is added: the directory string ends in a name prefix here.
    model.loadMaterialTextures(dir.path().string() + "/pre_");

    std::vector<uint32_t> textures;
    for (const SbmMaterial& m : model.materials) textures.push_back(m.texture);
    EXPECT_NE(textures[0], 0u);
    EXPECT_EQ(texturePixels(textures[0], 3)[0], 10);
    EXPECT_EQ(textures[1], 0u);
    EXPECT_NE(textures[2], 0u);
    EXPECT_EQ(texturePixels(textures[2], 3)[0], 40);
    EXPECT_EQ(textures[3], 0u);
    EXPECT_NE(textures[4], 0u);
    EXPECT_EQ(textures[5], 0u);  // empty name
    EXPECT_EQ(textures[6], 0u);  // missing file: silent
    ASSERT_EQ(backend.messageBoxes.size(), 1u);  // the BMP reader's message
}
