#include "render/post_processing.h"

#include "app/game_state.h"
#include "race/race_flow.h"
#include "render/render_targets.h"
#include "render/screen_space.h"
#include "render/shader_programs.h"

#include <GL/gl.h>

#include <algorithm>

int effectTextureWidth = 256;
int effectTextureHeight = 256;

namespace {

constexpr float blurStep = 0.0039f;
constexpr float hdrExposure = 0.31f;
constexpr float hdrGamma = 1.4f;

void windowOrtho() {
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, double(windowTargetWidth), 0.0, double(windowTargetHeight), -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void restoreProjection() {
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void copyFrameInto(uint32_t texture, int width, int height) {
    glBindTexture(GL_TEXTURE_2D, texture);
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, width, height);
}

void fullWindowQuad(uint32_t texture) {
    glBindTexture(GL_TEXTURE_2D, texture);
    texturedQuad(0.0f, 0.0f, float(windowTargetWidth), float(windowTargetHeight));
}

}  // namespace

void screenEffectPass(EffectMode mode, uint32_t source, uint32_t target, int step) {
    if (!shadersReady()) return;
    const int w = effectTextureWidth, h = effectTextureHeight;
    glClear(GL_COLOR_BUFFER_BIT);
    windowOrtho();
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);

    switch (mode) {
    case EffectMode::Blur: {
        useProgram(blurProgram.program);
        const bool across = step % 2 == 0;
        arb::glUniform4fARB(blurProgram.texOffset, blurStep, blurStep, across ? 1.0f : 0.0f, across ? 0.0f : 1.0f);
        arb::glUniform1fARB(blurProgram.intensity, step >= 4 ? 2.0f : 1.0f);
        break;
    }
    case EffectMode::Hdr:
        useProgram(hdrProgram.program);
        arb::glUniform1fARB(hdrProgram.exposure, hdrExposure);
        arb::glUniform1fARB(hdrProgram.gamma, hdrGamma);
        arb::glActiveTextureARB(GL_TEXTURE1_ARB);
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, glowMask);
        arb::glActiveTextureARB(GL_TEXTURE0_ARB);
        break;
    case EffectMode::RadialBlur:
        useProgram(radialBlurProgram.program);
        arb::glUniform1fARB(radialBlurProgram.speed, radialBlurSpeed(playerSpeed()));
        break;
    }

    glBindTexture(GL_TEXTURE_2D, source);
    texturedQuad(0.0f, 0.0f, float(w), float(h));
    useProgram(0);

    glBindTexture(GL_TEXTURE_2D, target);
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, w, h);
    if (mode == EffectMode::Blur && step == 2) {
        // The luminance copy the next frame's bright passes read.
        glBindTexture(GL_TEXTURE_2D, glowMask);
        glCopyTexImage2D(GL_TEXTURE_2D, 0, GL_LUMINANCE, 0, 0, w, h, 0);
    }
    if (mode == EffectMode::Hdr) {
        arb::glActiveTextureARB(GL_TEXTURE1_ARB);
        glBindTexture(GL_TEXTURE_2D, 0);
        glDisable(GL_TEXTURE_2D);
        arb::glActiveTextureARB(GL_TEXTURE0_ARB);
    }
    glEnable(GL_DEPTH_TEST);
    restoreProjection();
}

float nextBlurFactor(float factor, float speed, float ticks) {
    const float target = std::clamp(speed * 0.1f - 1.0f, 0.0f, 1.0f);
    const float step = 0.005f * ticks;
    if (target < factor) factor = std::max(target, factor - step);
    if (target > factor) factor = std::min(target, factor + step);
    return factor;
}

float radialBlurSpeed(float speed) { return std::min(speed * 0.04f, 1.0f); }

void glowPasses() {
    if (!shadersReady()) return;
    copyFrameInto(sceneCopy, windowTargetWidth, windowTargetHeight);
    screenEffectPass(EffectMode::Hdr, sceneCopy, glowTarget, 0);
    screenEffectPass(EffectMode::Hdr, glowTarget, glowTarget, 0);
    screenEffectPass(EffectMode::Blur, glowTarget, glowTarget, 1);
    screenEffectPass(EffectMode::Blur, glowTarget, glowTarget, 2);
}

void motionBlurPass() {
    if (!shadersReady()) return;
    copyFrameInto(motionSharp, windowTargetWidth, windowTargetHeight);
    screenEffectPass(EffectMode::RadialBlur, motionSharp, motionBlurred, 0);
    screenEffectPass(EffectMode::RadialBlur, motionBlurred, motionBlurred, 1);

    windowOrtho();
    glDisable(GL_DEPTH_TEST);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glColor4f(1.0f, 1.0f, 1.0f, 0.0f);
    glBlendFunc(GL_ONE, GL_ONE);
    fullWindowQuad(motionSharp);
    glColor4f(1.0f, 1.0f, 1.0f, loopFlags.speedBlur);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    fullWindowQuad(motionBlurred);
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    restoreProjection();
}

void drawSceneWithGlow() {
    if (!shadersReady()) return;
    beginScreenSpace();
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glBindTexture(GL_TEXTURE_2D, sceneCopy);
    texturedQuad(0.0f, 0.0f, 800.0f, 600.0f);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    glBindTexture(GL_TEXTURE_2D, glowTarget);
    texturedQuad(0.0f, 0.0f, 800.0f, 600.0f);
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    endScreenSpace();
}
