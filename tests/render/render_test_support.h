// Shared by the renderer tests: a scratch working directory holding
// base/shaders (the shipped sources) and small textures made here, and the
// game window opened in it through the test platform back end.
#pragma once

#include "app/game_state.h"
#include "app/settings.h"
#include "app/window.h"
#include "content/sbm_model.h"
#include "platform/platform.h"
#include "render/gl_extensions.h"
#include "render/shader_programs.h"
#include "support/gl_test_window.h"
#include "support/image_files.h"
#include "support/temp_dir.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace render_test {

namespace fs = std::filesystem;

using test_support::solidBmp;
using test_support::testPlatform;
using test_support::writeFileBytes;

inline bool writeText(const fs::path& path, const std::string& text) {
    return writeFileBytes(path, std::vector<uint8_t>(text.begin(), text.end()));
}

// Glyph colours of the test font: every printable code a solid white block,
// code 200 a solid green block, everything else (space included) empty.
constexpr int fontSize = 256;
inline std::vector<uint8_t> testFontTga() {
    gen::Raster font(fontSize, fontSize);
    for (int code = 33; code < 256; ++code) {
        if (code > 126 && code != 200) continue;
        const gen::Color colour = code == 200 ? gen::Color{0, 1, 0, 1} : gen::Color{1, 1, 1, 1};
        const int column = code % 16, row = code / 16;  // rows counted from the top
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) font.at(column * 16 + x, row * 16 + y) = colour;
    }
    return gen::encodeTga(font, true);
}

// Loading-screen images: tex42 (first) red, tex41 (second) blue; 37 and 40 grey.
constexpr uint8_t firstImageRed = 200;
constexpr uint8_t secondImageBlue = 240;

// A fresh directory with base/shaders and base/textures, removed at the end.
class ScratchBase {
public:
    explicit ScratchBase(const std::string& name) : dir_("render-" + name) {
        fs::create_directories(root() / "base" / "textures");
        fs::copy(fs::path(NIGHTRUN_SOURCE_DIR) / "data" / "shaders", root() / "base" / "shaders",
                 fs::copy_options::recursive);
        writeFileBytes(root() / "base/textures/tex01.tga", testFontTga());
        writeFileBytes(root() / "base/textures/tex42.bmp", solidBmp(8, 8, firstImageRed, 0, 0));
        writeFileBytes(root() / "base/textures/tex41.bmp", solidBmp(8, 8, 0, 0, secondImageBlue));
        writeFileBytes(root() / "base/textures/tex37.bmp", solidBmp(8, 8, 90, 90, 90));
        writeFileBytes(root() / "base/textures/tex40.bmp", solidBmp(8, 8, 90, 90, 90));
    }
    const fs::path& root() const { return dir_.path(); }
    fs::path shader(const std::string& name) const { return root() / "base" / "shaders" / name; }

private:
    TempDir dir_;
};

// Opens the game window (windowed) at the given resolution index inside
// `base`; the render targets follow the index, the window has `width` x `height`.
inline bool openGameWindow(const ScratchBase& base, int resolutionIndex, int width, int height) {
    testPlatform();
    if (platform::windowExists()) destroyGameWindow();
    gameSettings.resolutionIndex = resolutionIndex;
    applyResolutionIndex(gameSettings);
    ScopedWorkingDir cwd(base.root());
    return createGameWindow("render test", width, height, 32, false);
}

// The 800 x 600 window over the shared scratch base, opened once and kept for
// the tests that draw; tests that need their own window close it first.
inline const ScratchBase& sharedBase() {
    static ScratchBase base("shared");
    return base;
}
inline bool sharedWindow() {
    static bool open = false;
    if (open && platform::windowExists() && platform::hasGlContext()) return true;
    testPlatform().messageBoxes.clear();
    open = openGameWindow(sharedBase(), 1, 800, 600);
    return open;
}

struct Pixel {
    int r = 0, g = 0, b = 0, a = 0;
};

// A pixel of the back buffer (window pixels, y up).
inline Pixel readPixel(int x, int y) {
    unsigned char p[4] = {0, 0, 0, 0};
    glFinish();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return {p[0], p[1], p[2], p[3]};
}

inline void clearFrame() {
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

// A nearest-filtered, edge-clamped texture of `width` x `height` RGBA texels.
inline GLuint rgbaTexture(int width, int height, const std::vector<uint8_t>& rgba) {
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    return texture;
}

// Adds a group of two triangles over four corners, counter-clockwise seen from
// the side they face; the texture runs 0..1 across.
inline void addQuadGroup(SbmModel& model, const std::array<Vec3, 4>& corners, Vec3 normal, int material) {
    const int first = model.vertexCount();
    for (const Vec3& c : corners) model.vertices.push_back({-1, c});
    SbmGroup group;
    group.materialIndex = material;
    const int triangles[2][3] = {{0, 1, 2}, {0, 2, 3}};
    for (const auto& corner : triangles) {
        SbmTriangle t;
        for (int c = 0; c < 3; ++c) {
            t.vertexIndices[c] = first + corner[c];
            t.normals[c] = normal;
            t.s[c] = corner[c] == 1 || corner[c] == 2 ? 1.0f : 0.0f;
            t.t[c] = corner[c] >= 2 ? 1.0f : 0.0f;
        }
        group.triangleIndices.push_back(model.triangleCount());
        model.triangles.push_back(t);
    }
    model.groups.push_back(group);
}

inline SbmMaterial materialWith(GLuint texture, float transparency = 1.0f) {
    SbmMaterial m;
    m.texture = texture;
    m.transparency = transparency;
    return m;
}

// The shared window looking flat at the square 0..100 x 0..100 (z -10..10),
// blending, culling and depth testing off, the frame cleared; textures made
// through texture() are deleted and the state put back at the end.
class FlatFrame : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(sharedWindow());
        glViewport(0, 0, 800, 600);
        glDisable(GL_BLEND);
        glDisable(GL_CULL_FACE);
        glDisable(GL_DEPTH_TEST);
        glEnable(GL_TEXTURE_2D);
        glColor4f(1, 1, 1, 1);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, 100, 0, 100, -10, 10);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        clearFrame();
    }
    void TearDown() override {
        useProgram(0);
        arb::glActiveTextureARB(GL_TEXTURE1_ARB);
        glBindTexture(GL_TEXTURE_2D, 0);
        arb::glActiveTextureARB(GL_TEXTURE0_ARB);
        for (GLuint texture : textures_) glDeleteTextures(1, &texture);
        glViewport(0, 0, 800, 600);
        glEnable(GL_CULL_FACE);
        glEnable(GL_DEPTH_TEST);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
    }
    // A row of texels, kept until the end of the test.
    GLuint texture(const std::vector<uint8_t>& rgba) {
        textures_.push_back(rgbaTexture(int(rgba.size() / 4), 1, rgba));
        return textures_.back();
    }
    // The Light program with every light off or parked and the default material.
    static void darkLightProgram() {
        const LightProgram& p = lightProgram;
        useProgram(p.program);
        arb::glUniform4fARB(p.lightColorGlobal, 0, 0, 0, 1);
        arb::glUniform4fARB(p.lightColorLocal, 0, 0, 0, 1);
        arb::glUniform4fARB(p.lightOri, 0, 0, -1, 0);
        for (GLint lamp : {p.lightPos, p.light2Pos, p.light3Pos, p.light4Pos, p.light5Pos})
            arb::glUniform4fARB(lamp, 0, -10000, 0, 1);
        arb::glUniform4fARB(p.ambientColor, 0, 0, 0, 1);
        arb::glUniform4fARB(p.matAmbient, 0.5f, 0.5f, 0.5f, 1);
        arb::glUniform4fARB(p.matDiffuse, 1, 1, 1, 1);
        arb::glUniform4fARB(p.matSpecular, 0, 0, 0, 1);
        arb::glUniform4fARB(p.emissive, 0, 0, 0, 1);
        arb::glUniform1fARB(p.shininess, 0);
        arb::glUniform4fARB(p.cameraOri, 50, 50, 60, 1);
        for (GLint flag : {p.RefInt, p.GlassNow, p.GlassAlpha, p.LightNow, p.StrongLightNow, p.NoiseNow})
            arb::glUniform1fARB(flag, 0);
    }

private:
    std::vector<GLuint> textures_;
};

}  // namespace render_test
