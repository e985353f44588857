// The frame's passes, drawn and read back: the environment view with and
// without Reflections, and the glow chain's blur steps and their mask.
#include "render_test_support.h"

#include "content/car_loading.h"
#include "content/texture_tables.h"
#include "content/track_loading.h"
#include "race/chase_camera.h"
#include "render/lights.h"
#include "render/post_processing.h"
#include "render/render_targets.h"
#include "render/world_drawing.h"

using namespace render_test;

namespace {

// The RGBA texels of a 256 x 256 target.
std::vector<uint8_t> targetTexels(uint32_t texture) {
    std::vector<uint8_t> texels(256 * 256 * 4);
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    return texels;
}

const uint8_t* texelAt(const std::vector<uint8_t>& texels, int x, int y) { return &texels[size_t(y * 256 + x) * 4]; }

// A wall of the track's visual layer: x = -50, facing +x (towards the view),
// 400 x 400 around the origin.
std::unique_ptr<SbmModel> wallLayer(GLuint texture) {
    auto model = std::make_unique<SbmModel>();
    addQuadGroup(*model, {{{-50, -200, -200}, {-50, 200, -200}, {-50, 200, 200}, {-50, -200, 200}}}, {1, 0, 0}, 0);
    model->materials.push_back(materialWith(texture));
    return model;
}

class ScenePasses : public FlatFrame {
protected:
    void TearDown() override {
        trackLayers = TrackLayers{};
        BmpTable[28] = 0;
        clearLightTable();
        gameSettings.reflections = 1;
        FlatFrame::TearDown();
    }
    GLuint texture(uint8_t r, uint8_t g, uint8_t b, uint8_t a) { return FlatFrame::texture({r, g, b, a}); }
};

}  // namespace

TEST_F(ScenePasses, WithReflectionsOffTheEnvironmentViewHoldsOnlyTheHalos) {
    // The player's car at the origin, the chase camera behind it along -x: the
    // view looks at a bright wall with one street lamp between.
    raceCarPlacements[0].body = Mat4{};
    cameraPosition = {-10, 0, 0};
    trackLayers.visual = wallLayer(texture(0, 0, 255, 255));
    BmpTable[28] = texture(255, 255, 255, 255);
    lightTable.entries[0].position = {-20, 0, 0};
    lightTable.count = 1;
    chooseActiveLights({-10, 0, 0}, {-1, 0, 0}, true);

    for (int reflections : {1, 0}) {
        SCOPED_TRACE(reflections);
        gameSettings.reflections = reflections;
        drawEnvironmentView(true);
        const std::vector<uint8_t> env = targetTexels(envMap);
        // The halo in the middle of the view, white over whatever is behind it.
        EXPECT_GT(texelAt(env, 128, 128)[0], 200);
        EXPECT_GT(texelAt(env, 128, 128)[1], 200);
        // The wall fills the rest when the track goes in, and only then.
        const uint8_t* corner = texelAt(env, 20, 20);
        if (reflections) EXPECT_GT(corner[2], 5);
        else EXPECT_EQ(corner[2], 0);
        EXPECT_EQ(corner[0], 0);
    }
}

TEST_F(ScenePasses, OnlyTheThirdBlurStepRefreshesTheGlowMask) {
    const GLuint white = texture(255, 255, 255, 255);
    // A known mask: clear it to black through a blank step 2.
    const GLuint black = texture(0, 0, 0, 255);
    screenEffectPass(EffectMode::Blur, black, glowTarget, 2);
    const uint8_t before = texelAt(targetTexels(glowMask), 128, 128)[0];
    EXPECT_EQ(before, 0);

    for (int step : {0, 1, 3, 4, 5}) {
        screenEffectPass(EffectMode::Blur, white, glowTarget, step);
        EXPECT_EQ(texelAt(targetTexels(glowMask), 128, 128)[0], 0) << "step " << step;
        // The step itself did blur the source into the target.
        EXPECT_GT(texelAt(targetTexels(glowTarget), 128, 128)[0], 200) << "step " << step;
    }
    screenEffectPass(EffectMode::Blur, white, glowTarget, 2);
    EXPECT_GT(texelAt(targetTexels(glowMask), 128, 128)[0], 200);
    screenEffectPass(EffectMode::Blur, black, glowTarget, 2);  // leave it empty for the next test
}
