// What the shipped shaders do with their uniforms, drawn and read back: the
// conventions the drawing code and the content rely on (docs/shaders.md).
// Self-illumination, reflection, the street lamps' pool, fade and tint, the
// bright pass and the blur's axis and weights change the scene reference
// pictures in tests/scene as well; the cases here are those the pictures do
// not show.
#include "render_test_support.h"


using namespace render_test;

namespace {

class ShaderFrame : public FlatFrame {
protected:
    // The square 0..100 x 0..100 at z = 0 facing +z, texture 0..1 across.
    static void square() {
        glBegin(GL_QUADS);
        glNormal3f(0, 0, 1);
        glTexCoord2f(0, 0);
        glVertex3f(0, 0, 0);
        glTexCoord2f(1, 0);
        glVertex3f(100, 0, 0);
        glTexCoord2f(1, 1);
        glVertex3f(100, 100, 0);
        glTexCoord2f(0, 1);
        glVertex3f(0, 100, 0);
        glEnd();
    }
};

}  // namespace

TEST_F(ShaderFrame, GlassWritesGlassAlphaAndEverythingElseWritesOne) {
    GLint alphaBits = 0;
    glGetIntegerv(GL_ALPHA_BITS, &alphaBits);
    if (alphaBits < 8) GTEST_SKIP() << "no destination alpha";
    glBindTexture(GL_TEXTURE_2D, texture({128, 128, 128, 128}));
    darkLightProgram();
    square();
    EXPECT_EQ(readPixel(400, 300).a, 255);
    arb::glUniform1fARB(lightProgram.GlassNow, 1);
    arb::glUniform1fARB(lightProgram.GlassAlpha, 0.3f);
    square();
    EXPECT_NEAR(readPixel(400, 300).a, 77, 2);
}

TEST_F(ShaderFrame, PaintFlakesSparkleOnlyWithNoiseNow) {
    glBindTexture(GL_TEXTURE_2D, texture({60, 60, 200, 255}));
    darkLightProgram();
    arb::glUniform4fARB(lightProgram.lightColorLocal, 1.1f, 1.1f, 1.1f, 1);
    arb::glUniform4fARB(lightProgram.lightPos, 50, 50, 20, 1);
    auto spread = [] {
        std::vector<unsigned char> row(800 * 4);
        glReadPixels(0, 300, 800, 1, GL_RGBA, GL_UNSIGNED_BYTE, row.data());
        int low = 255, high = 0;
        for (int x = 300; x < 500; ++x) {
            low = std::min<int>(low, row[size_t(x) * 4]);
            high = std::max<int>(high, row[size_t(x) * 4]);
        }
        return high - low;
    };
    square();
    const int smooth = spread();
    arb::glUniform1fARB(lightProgram.NoiseNow, 1);
    square();
    EXPECT_GT(spread(), smooth + 20);
}

TEST_F(ShaderFrame, TreesCutLeavesOutByAlphaAndTakeLampLightOnBothSides) {
    // Left texel transparent (no leaf), right texel an opaque leaf.
    glBindTexture(GL_TEXTURE_2D, texture({40, 200, 40, 0, 40, 200, 40, 255}));
    const TreesProgram& p = treesProgram;
    arb::glUseProgramObjectARB(p.program);
    arb::glUniform4fARB(p.lightColorLocal, 1.1f, 1.1f, 1.1f, 1);
    for (GLint lamp : {p.lightPos, p.light2Pos, p.light3Pos, p.light4Pos, p.light6Pos, p.light7Pos, p.light8Pos,
                       p.light9Pos})
        arb::glUniform4fARB(lamp, 0, -10000, 0, 1);
    arb::glUniform4fARB(p.ambientColor, 0.45f, 0.45f, 0.45f, 1);
    arb::glUniform4fARB(p.matAmbient, 0.5f, 0.5f, 0.5f, 1);
    arb::glUniform4fARB(p.matDiffuse, 1, 1, 1, 1);
    arb::glUniform4fARB(p.emissive, 0, 0, 0, 1);
    arb::glUniform1fARB(p.shininess, 0);
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    square();
    EXPECT_GT(readPixel(200, 300).b, 250);  // the background shows through
    const Pixel ambientOnly = readPixel(600, 300);
    EXPECT_NEAR(ambientOnly.g, 200 * 0.225, 3);
    // A lamp behind the leaves (their back side) still lights them.
    arb::glUniform4fARB(p.light9Pos, 75, 50, -7.5f, 1);
    square();
    EXPECT_GT(readPixel(600, 300).g, ambientOnly.g + 40);
}

TEST_F(ShaderFrame, BlurIsScaledByItsIntensity) {
    // A 64-texel row, one bright texel in the middle, drawn 1:1 in width and blurred along it.
    std::vector<uint8_t> row(64 * 4, 0);
    for (int c = 0; c < 4; ++c) row[32 * 4 + size_t(c)] = 255;
    glBindTexture(GL_TEXTURE_2D, texture(row));
    glViewport(0, 0, 64, 4);
    arb::glUseProgramObjectARB(blurProgram.program);
    arb::glUniform4fARB(blurProgram.texOffset, 1.0f / 64, 1.0f / 64, 1, 0);
    // Twice the weight of the middle tap (58 at intensity 1).
    arb::glUniform1fARB(blurProgram.intensity, 2.0f);
    square();
    EXPECT_NEAR(readPixel(32, 2).r, 116, 4);
}

TEST_F(ShaderFrame, RadialBlurIsStillAtRestAndPullsTowardsTheCentreAtSpeed) {
    // Four stripes: black, white, black, white (edges at s = 0.25, 0.5, 0.75).
    glBindTexture(GL_TEXTURE_2D, texture({0, 0, 0, 255, 255, 255, 255, 255, 0, 0, 0, 255, 255, 255, 255, 255}));
    arb::glUseProgramObjectARB(radialBlurProgram.program);
    arb::glUniform1fARB(radialBlurProgram.speed, 0.0f);
    square();
    EXPECT_GT(readPixel(624, 300).r, 250);  // s = 0.78, just right of an edge
    // At full speed the samples reach 15 % of the way to the centre: s = 0.78
    // then reads across the edge at 0.75, s = 0.9 stays inside its stripe.
    arb::glUniform1fARB(radialBlurProgram.speed, 1.0f);
    square();
    const int mixed = readPixel(624, 300).r;
    EXPECT_GT(mixed, 20);
    EXPECT_LT(mixed, 235);
    EXPECT_GT(readPixel(720, 300).r, 250);
    EXPECT_LT(readPixel(20, 300).r, 4);
    // Speeds above 1 are held at 1.
    arb::glUniform1fARB(radialBlurProgram.speed, 5.0f);
    square();
    EXPECT_NEAR(readPixel(624, 300).r, mixed, 2);
}
