// Shared by the renderer tests: a scratch working directory holding
// base/shaders (the shipped sources) and small textures made here, and the
// game window opened in it through the test platform back end.
#pragma once

#include "app/game_state.h"
#include "app/settings.h"
#include "app/window.h"
#include "platform/platform.h"
#include "support/gl_test_window.h"
#include "support/image_files.h"
#include "support/temp_dir.h"

#include <GL/gl.h>

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

}  // namespace render_test
