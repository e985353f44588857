// The three model draw operations, drawn and read back: what each does per
// group, and that compiled and cell-culled models draw the same picture.
#include "render_test_support.h"

#include "app/frame_timer.h"
#include "render/model_drawing.h"
#include "render/shader_programs.h"

#include <gtest/gtest.h>

using namespace render_test;

namespace {

GLuint solidTexture(uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    // Two rows: the lower half of the image as given, the upper half black
    // (a blinking material's second frame).
    const uint8_t texels[] = {r, g, b, a, r, g, b, a, 0, 0, 0, 255, 0, 0, 0, 255};
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 2, 2, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels);
    return texture;
}

// `groups` squares side by side over x 0..100 (y 0..100, facing +z), each its
// own group with material `material` (or none), t running 0..0.45 (the lower
// half of the texture).
void addSquares(SbmModel& model, int groups, int material) {
    const float width = 100.0f / float(groups);
    for (int g = 0; g < groups; ++g) {
        const float x0 = width * float(g), x1 = x0 + width;
        const Vec3 corners[4] = {{x0, 0, 0}, {x1, 0, 0}, {x1, 100, 0}, {x0, 100, 0}};
        const int first = model.vertexCount();
        for (const Vec3& c : corners) model.vertices.push_back({-1, c});
        SbmGroup group;
        group.materialIndex = material;
        const int triangles[2][3] = {{0, 1, 2}, {0, 2, 3}};
        for (const auto& corner : triangles) {
            SbmTriangle t;
            for (int c = 0; c < 3; ++c) {
                t.vertexIndices[c] = first + corner[c];
                t.normals[c] = {0, 0, 1};
                t.s[c] = corner[c] == 1 || corner[c] == 2 ? 1.0f : 0.0f;
                t.t[c] = corner[c] >= 2 ? 0.45f : 0.0f;
            }
            group.triangleIndices.push_back(model.triangleCount());
            model.triangles.push_back(t);
        }
        model.groups.push_back(group);
    }
}

SbmMaterial materialWith(GLuint texture, float transparency = 1.0f) {
    SbmMaterial m;
    m.texture = texture;
    m.transparency = transparency;
    return m;
}

class ModelDrawing : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(sharedWindow());
        glViewport(0, 0, 800, 600);
        glDisable(GL_BLEND);
        glDisable(GL_CULL_FACE);
        glDisable(GL_DEPTH_TEST);
        glEnable(GL_TEXTURE_2D);
        glColor4f(1, 1, 1, 1);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, 100, 0, 100, -10, 10);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        clearFrame();
    }
    void TearDown() override {
        useProgram(0);
        model_.release();
        for (GLuint t : textures_) glDeleteTextures(1, &t);
        glEnable(GL_CULL_FACE);
        glEnable(GL_DEPTH_TEST);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
    }
    GLuint texture(uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
        textures_.push_back(solidTexture(r, g, b, a));
        return textures_.back();
    }
    // The Light program with no light at all: only self-illumination shows.
    static void darkLightProgram() {
        const LightProgram& p = lightProgram;
        useProgram(p.program);
        arb::glUniform4fARB(p.lightColorGlobal, 0, 0, 0, 1);
        arb::glUniform4fARB(p.lightColorLocal, 0, 0, 0, 1);
        arb::glUniform4fARB(p.ambientColor, 0, 0, 0, 1);
        arb::glUniform4fARB(p.emissive, 0, 0, 0, 1);
        for (GLint flag : {p.RefInt, p.GlassNow, p.GlassAlpha, p.LightNow, p.StrongLightNow, p.NoiseNow})
            arb::glUniform1fARB(flag, 0);
    }

    SbmModel model_;
    std::vector<GLuint> textures_;
};

}  // namespace

TEST_F(ModelDrawing, LitGroupsGiveTheirValuesToTheFirstThreeGroupsAndNothingToTheFourth) {
    // A fully glowing white texture: each group shows exactly its LightNow.
    model_.materials = {materialWith(texture(255, 255, 255, 0))};
    addSquares(model_, 4, 0);
    for (bool compiled : {false, true}) {
        SCOPED_TRACE(compiled ? "compiled" : "from the arrays");
        if (compiled) compileModel(model_);
        clearFrame();
        darkLightProgram();
        drawLitGroups(model_, 0.25f, 0.5f, 0.75f);
        EXPECT_NEAR(readPixel(100, 300).r, 64, 3);
        EXPECT_NEAR(readPixel(300, 300).r, 128, 3);
        EXPECT_NEAR(readPixel(500, 300).r, 191, 3);
        EXPECT_LT(readPixel(700, 300).r, 3);  // whatever the three values are
    }
}

TEST_F(ModelDrawing, OneTextureIgnoresEveryMaterialTexture) {
    model_.materials = {materialWith(texture(255, 0, 0, 255)), materialWith(texture(0, 0, 255, 255))};
    addSquares(model_, 2, 0);
    model_.groups[1].materialIndex = 1;
    const GLuint green = texture(0, 255, 0, 255);

    drawSimple(model_);
    EXPECT_EQ(readPixel(200, 300).r, 255);
    EXPECT_EQ(readPixel(600, 300).b, 255);

    clearFrame();
    drawWithOneTexture(model_, green);
    for (int x : {200, 600}) {
        const Pixel p = readPixel(x, 300);
        EXPECT_EQ(p.r, 0);
        EXPECT_EQ(p.g, 255);
        EXPECT_EQ(p.b, 0);
    }
}

TEST_F(ModelDrawing, CompiledBlinkingGroupsShowTheirOtherFrameWhileTheBlinkValueIsNegative) {
    model_.materials = {materialWith(texture(255, 255, 0, 255), 0.5f)};
    addSquares(model_, 1, 0);
    compileModel(model_);
    const float saved = frameTiming.blinkValue;
    frameTiming.blinkValue = 0.5f;
    drawSimple(model_);
    EXPECT_EQ(readPixel(400, 300).r, 255);
    frameTiming.blinkValue = -0.5f;
    clearFrame();
    drawSimple(model_);
    EXPECT_EQ(readPixel(400, 300).r, 0);  // the black frame half a texture up
    frameTiming.blinkValue = saved;
    // The texture matrix is left as it was found.
    float matrix[16];
    glGetFloatv(GL_TEXTURE_MATRIX, matrix);
    EXPECT_FLOAT_EQ(matrix[13], 0.0f);
}

TEST_F(ModelDrawing, CellsOutOfViewAreSkippedAndTheRestDrawTheSamePicture) {
    model_.materials = {materialWith(texture(0, 200, 255, 255))};
    // A strip of ten squares along x 0..100 cut into cells of 10.
    addSquares(model_, 10, 0);
    compileModel(model_, 10.0f);
    EXPECT_EQ(model_.chunks.size(), 10u);

    // A view of x 0..45 only: five cells in view, five beyond its edge.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 45, 0, 100, -10, 10);
    glMatrixMode(GL_MODELVIEW);
    resetCullReport();
    drawSimple(model_);
    EXPECT_EQ(cullReport().total, 10);
    EXPECT_LE(cullReport().drawn, 6);
    EXPECT_GE(cullReport().drawn, 5);
    for (int x : {10, 400, 790}) EXPECT_EQ(readPixel(x, 300).g, 200) << x;

    // Nothing is drawn beyond the draw distance (measured from the eye at z 0).
    clearFrame();
    setDrawDistance(15.0f);
    resetCullReport();
    drawSimple(model_);
    setDrawDistance(0.0f);
    EXPECT_LE(cullReport().drawn, 2);
}
