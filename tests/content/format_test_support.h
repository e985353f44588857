// Helpers shared by the texture and model tests: scratch directories, a hidden
// GL window under the test platform back end, and byte builders for small
// TGA files.
#pragma once

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

namespace formats_test {

// The test platform back end, installed on every call (other tests may have
// swapped it); message boxes land in its record instead of on the screen.
inline platform::TestBackend& testPlatform() {
    static platform::TestBackend backend;
    platform::installTestBackend(&backend);
    return backend;
}

// A hidden window with a current GL context, made once per process.
inline bool glContext() {
    testPlatform();
    if (!platform::windowExists()) {
        platform::WindowRequest request;
        request.title = "content test";
        request.width = 64;
        request.height = 64;
        if (platform::createWindow(request) != platform::WindowResult::Ok) return false;
    }
    return true;
}

// A fresh directory under the system temp dir, removed at the end of the test.
class ScratchDir {
public:
    explicit ScratchDir(const std::string& name) {
        path_ = std::filesystem::temp_directory_path() /
                ("nightrun-" + name + "-" + std::to_string(::getpid()));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~ScratchDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

// Runs the test body with the working directory switched (the tables load
// from relative paths).
class WorkingDir {
public:
    explicit WorkingDir(const std::filesystem::path& dir) : old_(std::filesystem::current_path()) {
        std::filesystem::current_path(dir);
    }
    ~WorkingDir() { std::filesystem::current_path(old_); }

private:
    std::filesystem::path old_;
};

inline bool writeFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

// A TGA file: header fields as given, then the pixel bytes exactly as passed
// (B, G, R(, A), bottom row first).
inline std::vector<uint8_t> tgaBytes(int width, int height, int bits, const std::vector<uint8_t>& pixels,
                                     uint8_t imageType = 2, uint8_t idLength = 0,
                                     uint8_t colourMapType = 0) {
    std::vector<uint8_t> out(18, 0);
    out[0] = idLength;
    out[1] = colourMapType;
    out[2] = imageType;
    out[12] = uint8_t(width & 0xFF);
    out[13] = uint8_t(width >> 8);
    out[14] = uint8_t(height & 0xFF);
    out[15] = uint8_t(height >> 8);
    out[16] = uint8_t(bits);
    for (int i = 0; i < idLength; ++i) out.push_back('x');
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

// A solid-colour 24-bit TGA.
inline std::vector<uint8_t> solidTga(int width, int height, uint8_t r, uint8_t g, uint8_t b) {
    std::vector<uint8_t> pixels;
    for (int i = 0; i < width * height; ++i) {
        pixels.push_back(b);
        pixels.push_back(g);
        pixels.push_back(r);
    }
    return tgaBytes(width, height, 24, pixels);
}

// A solid-colour 24-bit bottom-up BMP with a 40-byte info header.
inline std::vector<uint8_t> solidBmp(int width, int height, uint8_t r, uint8_t g, uint8_t b) {
    const int stride = (width * 3 + 3) / 4 * 4;
    const uint32_t offset = 14 + 40;
    const uint32_t size = offset + uint32_t(stride * height);
    std::vector<uint8_t> out;
    auto u16 = [&](uint32_t v) { out.push_back(uint8_t(v)); out.push_back(uint8_t(v >> 8)); };
    auto u32 = [&](uint32_t v) { u16(v & 0xFFFF); u16(v >> 16); };
    out.push_back('B');
    out.push_back('M');
    u32(size);
    u32(0);
    u32(offset);
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

// Texture parameters and level sizes of a GL texture.
inline int texParameter(uint32_t texture, GLenum name) {
    GLint value = 0;
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
    return value;
}
inline int levelWidth(uint32_t texture, int level) {
    GLint value = 0;
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &value);
    return value;
}
inline int levelParameter(uint32_t texture, int level, GLenum name) {
    GLint value = 0;
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, name, &value);
    return value;
}
// Level 0 read back as tightly packed RGB or RGBA.
inline std::vector<uint8_t> texturePixels(uint32_t texture, int components) {
    glBindTexture(GL_TEXTURE_2D, texture);
    const int w = levelParameter(texture, 0, GL_TEXTURE_WIDTH);
    const int h = levelParameter(texture, 0, GL_TEXTURE_HEIGHT);
    std::vector<uint8_t> pixels(size_t(w) * size_t(h) * size_t(components));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, components == 3 ? GL_RGB : GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

}  // namespace formats_test
