#include "render/renderer_setup.h"

#include "app/bitmap_text.h"
#include "app/game_state.h"
#include "app/settings.h"
#include "content/texture_tables.h"
#include "platform/platform.h"
#include "render/gl_extensions.h"
#include "render/particles.h"
#include "render/post_processing.h"
#include "render/render_targets.h"
#include "render/shader_programs.h"

#include <GL/gl.h>

#include <cstdlib>
#include <ctime>

namespace {

void setGlobalState() {
    glColor4f(1.0f, 1.0f, 1.0f, 0.5f);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glEnable(GL_TEXTURE_2D);
    glShadeModel(GL_SMOOTH);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClearDepth(1.0);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_DEPTH_TEST);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
}

// Screen-size targets follow the chosen resolution by table.
void windowTargetSize(int& width, int& height) {
    const int index = gameSettings.resolutionIndex;
    if (index >= 0 && index < resolutionCount) {
        width = resolutionWidths[index];
        height = resolutionHeights[index];
    } else {
        width = gameSettings.width;
        height = gameSettings.height;
    }
}

}  // namespace

bool rendererSetup() {
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    // The windowless test back end has no GL at all: only the state changes.
    if (!platform::hasGlContext()) {
        GameState = gameStates::mainMenu;
        return true;
    }

    loadMultitextureExtensions();
    loadTgaTableBase();
    setGlobalState();
    platform::setSwapInterval(0);
    glCullFace(GL_BACK);
    glEnable(GL_CULL_FACE);

    loadLoadingTextures();
    buildFonts();
    GameState = gameStates::mainMenu;

    int width = 0, height = 0;
    windowTargetSize(width, height);
    createRenderTargets(width, height, effectTextureWidth, effectTextureHeight);
    loadParticleEffects();

    if (!loadShaderExtensions()) return false;
    return buildShaderPrograms();
}
