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
int windowTargetWidth = 800;
int windowTargetHeight = 600;

uint32_t createRenderTarget(int width, int height, bool cleared) {
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
    std::vector<unsigned char> black;
    if (cleared) black.assign(size_t(width) * size_t(height) * 4, 0);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 cleared ? black.data() : nullptr);
    const bool refused = glGetError() != GL_NO_ERROR;
    glBindTexture(GL_TEXTURE_2D, 0);
    if (refused) {
        glDeleteTextures(1, &texture);
        return 0;
    }
    return texture;
}

void createRenderTargets(int width, int height, int effectWidth, int effectHeight) {
    // The effect targets are small and cleared: the glow mask is read by the
    // first race frame before anything wrote it. Every other target is written
    // before it is read, so its contents are left undefined (clearing the big
    // ones costs a noticeable part of the start-up on a software renderer).
    windowTargetWidth = width;
    windowTargetHeight = height;
    sceneCopy = createRenderTarget(width, height, false);
    glowTarget = createRenderTarget(effectWidth, effectHeight, true);
    glowMask = createRenderTarget(effectWidth, effectHeight, true);
    auxTarget1 = createRenderTarget(width, height, false);
    auxTarget2 = createRenderTarget(width, height, false);
    motionBlurred = createRenderTarget(effectWidth, effectHeight, true);
    motionSharp = createRenderTarget(width, height, false);
    envMap = createRenderTarget(effectWidth, effectHeight, true);
    for (uint32_t& texture : liveryTexture)
        texture = createRenderTarget(liveryTextureSize, liveryTextureSize, false);
}
