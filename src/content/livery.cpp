#include "content/livery.h"

#include "app/settings.h"
#include "content/car_loading.h"
#include "content/texture_tables.h"
#include "render/render_targets.h"
#include "render/screen_space.h"

#include <GL/gl.h>

namespace {

constexpr int tileSize = 256;
constexpr int tilesPerSide = 4;  // 4 x 4 tiles of 256 make the 1024 x 1024 picture
constexpr float pictureSize = float(tileSize * tilesPerSide);

// Body template and reflection mask of body models 0..5.
const int templateImages[bodyModelCount] = {3, 11, 16, 18, 34, 32};
const int maskImages[bodyModelCount] = {13, 14, 15, 19, 35, 33};

uint32_t tableTexture(int image) {
    return image >= 0 && image < TgaTableSize ? TgaTable[size_t(image)].texture : 0;
}

// An image stretched over a rectangle of the picture. A missing image (texture
// 0) is left out rather than drawn as a blank white quad, so the paint stays
// visible where it would have been.
void imageQuad(uint32_t texture, float x0, float y0, float x1, float y1) {
    if (texture == 0) return;
    glBindTexture(GL_TEXTURE_2D, texture);
    texturedQuad(x0, y0, x1, y1);
}

}  // namespace

int liveryTemplateImage(int carModel) { return templateImages[bodyModelOf(carModel)]; }
int reflectionMaskImage(int carModel) { return maskImages[bodyModelOf(carModel)]; }

int vinylTopImage(int vinyl) {
    if (vinyl == 0) return 40;
    return vinyl >= 1 && vinyl <= 20 ? 60 + vinyl : -1;
}

int vinylSideImage(int vinyl) {
    if (vinyl == 0) return 40;
    return vinyl >= 1 && vinyl <= 20 ? 40 + vinyl : -1;
}

void composeLivery(uint32_t texture, int carModel, float red, float green, float blue, int topVinyl,
                   int sideVinyl) {
    if (texture == 0) return;
    const uint32_t topImage = tableTexture(vinylTopImage(topVinyl));
    const uint32_t sideImage = tableTexture(vinylSideImage(sideVinyl));
    const uint32_t bodyTemplate = tableTexture(liveryTemplateImage(carModel));
    const uint32_t mask = tableTexture(reflectionMaskImage(carModel));

    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, tileSize, 0.0, tileSize, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glViewport(0, 0, tileSize, tileSize);
    glDisable(GL_DEPTH_TEST);

    for (int i = 0; i < tilesPerSide; ++i) {
        for (int j = 0; j < tilesPerSide; ++j) {
            // The paint, with alpha 0 so that nothing but the vinyls' own alpha matters below.
            glClear(GL_COLOR_BUFFER_BIT);
            glDisable(GL_TEXTURE_2D);
            glColor4f(red, green, blue, 0.0f);
            texturedQuad(0.0f, 0.0f, tileSize, tileSize);

            // Vinyls use an inverted alpha: 0 covers the paint, 1 leaves it.
            glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
            glEnable(GL_TEXTURE_2D);
            glPushMatrix();
            glTranslatef(-float(tileSize * i), -float(tileSize * j), 0.0f);
            glEnable(GL_BLEND);
            glBlendFunc(GL_ONE_MINUS_SRC_ALPHA, GL_SRC_ALPHA);
            imageQuad(topImage, 0.0f, 768.0f, pictureSize, 1024.0f);
            imageQuad(sideImage, 0.0f, 572.0f, pictureSize, 828.0f);

            glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
            imageQuad(bodyTemplate, 0.0f, 0.0f, pictureSize, pictureSize);

            glDisable(GL_BLEND);
            glBindTexture(GL_TEXTURE_2D, texture);
            glCopyTexSubImage2D(GL_TEXTURE_2D, 0, tileSize * i, tileSize * j, 0, 0, tileSize, tileSize);

            // The tile's colours back with alpha 0, then only the mask's alpha added.
            glClear(GL_COLOR_BUFFER_BIT);
            glColor4f(1.0f, 1.0f, 1.0f, 0.0f);
            imageQuad(texture, 0.0f, 0.0f, pictureSize, pictureSize);
            glEnable(GL_BLEND);
            glBlendFunc(GL_ONE, GL_ONE);
            glColor4f(0.0f, 0.0f, 0.0f, 1.0f);
            imageQuad(mask, 0.0f, 0.0f, pictureSize, pictureSize);

            glDisable(GL_BLEND);
            glBindTexture(GL_TEXTURE_2D, texture);
            glCopyTexSubImage2D(GL_TEXTURE_2D, 0, tileSize * i, tileSize * j, 0, 0, tileSize, tileSize);
            glPopMatrix();
        }
    }

    glEnable(GL_DEPTH_TEST);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glClear(GL_COLOR_BUFFER_BIT);
    glViewport(0, 0, gameSettings.width, gameSettings.height);
}

void paintLivery(int slot, int carModel, float red, float green, float blue, int topVinyl, int sideVinyl) {
    if (slot < 0 || slot >= int(liveryTexture.size())) return;
    composeLivery(liveryTexture[size_t(slot)], carModel, red, green, blue, topVinyl, sideVinyl);
}
