// Shared by the renderer tests: a scratch working directory holding
// base/shaders (the shipped sources) and small textures made here, and the
// game window opened in it through the test platform back end.
#pragma once

#include "app/game_state.h"
#include "app/settings.h"
#include "app/window.h"
#include "platform/platform.h"
#include "platform/test_backend.h"

#include <GL/gl.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace render_test {

namespace fs = std::filesystem;

// Reinstalled on every call: message boxes land here, not on the desktop.
inline platform::TestBackend& testPlatform() {
    static platform::TestBackend backend;
    platform::installTestBackend(&backend);
    return backend;
}

inline bool writeBytes(const fs::path& path, const std::vector<uint8_t>& bytes) {
    fs::create_directories(path.parent_path());
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

inline bool writeText(const fs::path& path, const std::string& text) {
    return writeBytes(path, std::vector<uint8_t>(text.begin(), text.end()));
}

// A 32-bit TGA from RGBA rows given bottom row first.
inline std::vector<uint8_t> tgaBytes(int width, int height, const std::vector<uint8_t>& rgba) {
    std::vector<uint8_t> out(18, 0);
    out[2] = 2;
    out[12] = uint8_t(width & 0xFF);
    out[13] = uint8_t(width >> 8);
    out[14] = uint8_t(height & 0xFF);
    out[15] = uint8_t(height >> 8);
    out[16] = 32;
    for (size_t i = 0; i + 3 < rgba.size(); i += 4) {
        out.push_back(rgba[i + 2]);
        out.push_back(rgba[i + 1]);
        out.push_back(rgba[i]);
        out.push_back(rgba[i + 3]);
    }
    return out;
}

// Glyph colours of the test font: every printable code a solid white block,
// code 200 a solid green block, everything else (space included) empty.
constexpr int fontSize = 256;
inline std::vector<uint8_t> testFontTga() {
    std::vector<uint8_t> rgba(size_t(fontSize) * fontSize * 4, 0);
    for (int code = 33; code < 256; ++code) {
        if (code > 126 && code != 200) continue;
        const int column = code % 16, rowFromTop = code / 16;
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                const int px = column * 16 + x;
                const int pyFromBottom = fontSize - 1 - (rowFromTop * 16 + y);
                uint8_t* p = &rgba[(size_t(pyFromBottom) * fontSize + size_t(px)) * 4];
                p[0] = code == 200 ? 0 : 255;
                p[1] = 255;
                p[2] = code == 200 ? 0 : 255;
                p[3] = 255;
            }
        }
    }
    return tgaBytes(fontSize, fontSize, rgba);
}

// A solid 24-bit bottom-up BMP.
inline std::vector<uint8_t> solidBmp(int width, int height, uint8_t r, uint8_t g, uint8_t b) {
    const int stride = (width * 3 + 3) / 4 * 4;
    std::vector<uint8_t> out;
    auto u16 = [&](uint32_t v) { out.push_back(uint8_t(v)); out.push_back(uint8_t(v >> 8)); };
    auto u32 = [&](uint32_t v) { u16(v & 0xFFFF); u16(v >> 16); };
    out.push_back('B');
    out.push_back('M');
    u32(uint32_t(54 + stride * height));
    u32(0);
    u32(54);
    u32(40);
    u32(uint32_t(width));
    u32(uint32_t(height));
    u16(1);
    u16(24);
    u32(0);
    u32(uint32_t(stride * height));
    u32(2835);
    u32(2835);
    u32(0);
    u32(0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            out.push_back(b);
            out.push_back(g);
            out.push_back(r);
        }
        for (int p = width * 3; p < stride; ++p) out.push_back(0);
    }
    return out;
}

// Loading-screen images: tex42 (first) red, tex41 (second) blue; 37 and 40 grey.
constexpr uint8_t firstImageRed = 200;
constexpr uint8_t secondImageBlue = 240;

// A fresh directory with base/shaders and base/textures, removed at the end.
class ScratchBase {
public:
    explicit ScratchBase(const std::string& name) {
        root_ = fs::temp_directory_path() / ("nightrun-render-" + name + "-" + std::to_string(::getpid()));
        fs::remove_all(root_);
        fs::create_directories(root_ / "base" / "textures");
        fs::copy(fs::path(NIGHTRUN_SOURCE_DIR) / "data" / "shaders", root_ / "base" / "shaders",
                 fs::copy_options::recursive);
        writeBytes(root_ / "base/textures/tex01.tga", testFontTga());
        writeBytes(root_ / "base/textures/tex42.bmp", solidBmp(8, 8, firstImageRed, 0, 0));
        writeBytes(root_ / "base/textures/tex41.bmp", solidBmp(8, 8, 0, 0, secondImageBlue));
        writeBytes(root_ / "base/textures/tex37.bmp", solidBmp(8, 8, 90, 90, 90));
        writeBytes(root_ / "base/textures/tex40.bmp", solidBmp(8, 8, 90, 90, 90));
    }
    ~ScratchBase() {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }
    const fs::path& root() const { return root_; }
    fs::path shader(const std::string& name) const { return root_ / "base" / "shaders" / name; }

private:
    fs::path root_;
};

// Runs a block with the working directory switched (base/ is relative).
class WorkingDir {
public:
    explicit WorkingDir(const fs::path& dir) : old_(fs::current_path()) { fs::current_path(dir); }
    ~WorkingDir() { fs::current_path(old_); }

private:
    fs::path old_;
};

// Opens the game window (windowed) at the given resolution index inside
// `base`; the render targets follow the index, the window has `width` x `height`.
inline bool openGameWindow(const ScratchBase& base, int resolutionIndex, int width, int height) {
    testPlatform();
    if (platform::windowExists()) destroyGameWindow();
    gameSettings.resolutionIndex = resolutionIndex;
    applyResolutionIndex(gameSettings);
    WorkingDir cwd(base.root());
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
