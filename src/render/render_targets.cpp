#include "render/render_targets.h"

#include <GL/gl.h>

#include <cstddef>
#include <vector>

uint32_t sceneCopy = 0;
uint32_t glowTarget = 0;
uint32_t glowMask = 0;
uint32_t auxTarget1 = 0;
uint32_t auxTarget2 = 0;
uint32_t motionBlurred = 0;
uint32_t motionSharp = 0;
uint32_t envMap = 0;
std::array<uint32_t, 4> liveryTexture{};

uint32_t createRenderTarget(int width, int height) {
    if (width <= 0 || height <= 0) return 0;
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    while (glGetError() != GL_NO_ERROR) {}
    // Cleared to transparent black, so a target read before it is first
    // written (the glow mask in the first race frame) holds nothing.
    const std::vector<unsigned char> black(size_t(width) * size_t(height) * 4, 0);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, black.data());
    const bool refused = glGetError() != GL_NO_ERROR;
    glBindTexture(GL_TEXTURE_2D, 0);
    if (refused) {
        glDeleteTextures(1, &texture);
        return 0;
    }
    return texture;
}

void createRenderTargets(int width, int height, int effectWidth, int effectHeight) {
    sceneCopy = createRenderTarget(width, height);
    glowTarget = createRenderTarget(effectWidth, effectHeight);
    glowMask = createRenderTarget(effectWidth, effectHeight);
    auxTarget1 = createRenderTarget(width, height);
    auxTarget2 = createRenderTarget(width, height);
    motionBlurred = createRenderTarget(effectWidth, effectHeight);
    motionSharp = createRenderTarget(width, height);
    envMap = createRenderTarget(effectWidth, effectHeight);
    for (uint32_t& texture : liveryTexture) texture = createRenderTarget(liveryTextureSize, liveryTextureSize);
}
