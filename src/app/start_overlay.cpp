#include "app/start_overlay.h"

#include "app/frame_timer.h"
#include "content/texture_tables.h"
#include "race/race_flow.h"
#include "render/screen_space.h"

#include <GL/gl.h>

bool countdownImage(float t, int& bmpIndex, float& alpha) {
    // Each number fades in over its second and vanishes when the next begins;
    // the start word shows fully in the twelfth second and fades in the thirteenth.
    if (t > 8.0f && t < 9.0f) {
        bmpIndex = 46;
        alpha = t - 8.0f;
    } else if (t > 9.0f && t < 10.0f) {
        bmpIndex = 45;
        alpha = t - 9.0f;
    } else if (t > 10.0f && t < 11.0f) {
        bmpIndex = 44;
        alpha = t - 10.0f;
    } else if (t > 11.0f && t < 13.0f) {
        bmpIndex = 43;
        alpha = 13.0f - t;
        if (alpha > 1.0f) alpha = 1.0f;
    } else {
        return false;
    }
    return true;
}

void advanceCountdownClock(float f) {
    if (f < 9.5f) phaseTimer += 0.01f * f;
    if (phaseTimer > 11.0f) countdownActive = false;
    if (phaseTimer > 13.0f) phaseTimer = 0.0f;
}

void drawStartOverlay() {
    beginScreenSpace();

    int image = 0;
    float alpha = 0.0f;
    if (countdownImage(phaseTimer, image, alpha) && BmpTable[size_t(image)] != 0) {
        // The start word is twice as wide as the numbers.
        const float left = image == 43 ? 272.0f : 336.0f;
        const float right = image == 43 ? 528.0f : 464.0f;
        glDisable(GL_DEPTH_TEST);
        glEnable(GL_TEXTURE_2D);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE);
        glColor4f(1.0f, 1.0f, 1.0f, alpha);
        glBindTexture(GL_TEXTURE_2D, BmpTable[size_t(image)]);
        texturedQuad(left, 236.0f, right, 364.0f);
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
        glDisable(GL_BLEND);
        glEnable(GL_DEPTH_TEST);
    }

    endScreenSpace();

    advanceCountdownClock(frameTiming.frameTicks);
}
