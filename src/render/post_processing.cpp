#include "render/post_processing.h"

#include "app/settings.h"
#include "render/render_targets.h"

#include <GL/gl.h>

int effectTextureWidth = 256;
int effectTextureHeight = 256;

void motionBlurPass() {}

void glowPasses() {
    // For now only the copy of the frame that the HUD draws back; glowTarget
    // stays black, so adding it changes nothing.
    if (sceneCopy == 0) return;
    glBindTexture(GL_TEXTURE_2D, sceneCopy);
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, gameSettings.width, gameSettings.height);
}
