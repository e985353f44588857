#include "app/loading_screen.h"

#include "app/bitmap_text.h"
#include "app/game_state.h"
#include "content/texture_tables.h"
#include "render/screen_space.h"

#include <GL/gl.h>

namespace {

// LoadingTextures holds tex42, tex41, tex37 and tex40 in that order.
constexpr int firstImage = 0;
constexpr int secondImage = 1;

void fullScreenQuad(uint32_t texture) {
    // A missing image stays black rather than a white sheet.
    if (texture == 0) return;
    glBindTexture(GL_TEXTURE_2D, texture);
    texturedQuad(0.0f, 0.0f, 800.0f, 600.0f);
}

}  // namespace

void drawLoadingScreen(bool ready) {
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    beginScreenSpace();

    if (!ready) {
        fullScreenQuad(LoadingTextures[firstImage]);
    } else {
        // The second image fades in from black during the eighth second.
        const float timer = loopFlags.startupTimer;
        float c = timer < 8.0f ? timer - 7.0f : 1.0f;
        if (c < 0.0f) c = 0.0f;
        glColor4f(c, c, c, c);
        glEnable(GL_BLEND);
        glBlendFunc(GL_ONE, GL_ONE);
        fullScreenQuad(LoadingTextures[secondImage]);
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
        printText(680, 10, "Loading...");
        glDisable(GL_BLEND);
    }

    endScreenSpace();
}
