// Helpers shared by the texture and model tests: a hidden GL window under the
// test platform back end, scratch directories, small image files, and a byte
// builder for TGA files with any header.
#pragma once

#include "support/gl_test_window.h"
#include "support/image_files.h"
#include "support/temp_dir.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>

#include <cstdint>
#include <vector>

namespace formats_test {

using test_support::solidBmp;
using test_support::solidTga;
using test_support::testPlatform;
using test_support::writeFileBytes;

inline bool glContext() { return test_support::hiddenGlWindow("content test", 64, 64); }

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

// Texture parameters and level sizes of a GL texture.
inline int texParameter(uint32_t texture, GLenum name) {
    GLint value = 0;
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
    return value;
}
inline int levelParameter(uint32_t texture, int level, GLenum name) {
    GLint value = 0;
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, name, &value);
    return value;
}
inline bool usesMipmaps(uint32_t texture) {
    const int filter = texParameter(texture, GL_TEXTURE_MIN_FILTER);
    return filter != GL_NEAREST && filter != GL_LINEAR;
}
// A texture whose minifying filter reads mipmaps needs every level down to
// 1 x 1, or GL draws it as if no texture were bound.
inline void expectComplete(uint32_t texture) {
    if (!usesMipmaps(texture)) return;
    int w = levelParameter(texture, 0, GL_TEXTURE_WIDTH);
    int h = levelParameter(texture, 0, GL_TEXTURE_HEIGHT);
    int level = 0;
    for (; w > 1 || h > 1; ++level) {
        w = std::max(1, w / 2);
        h = std::max(1, h / 2);
    }
    EXPECT_EQ(levelParameter(texture, level, GL_TEXTURE_WIDTH), 1) << "texture " << texture;
    EXPECT_EQ(levelParameter(texture, level, GL_TEXTURE_HEIGHT), 1) << "texture " << texture;
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
