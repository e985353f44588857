// The three model draw operations, drawn and read back: what each does per
// group, and that compiled and cell-culled models draw the same picture. The
// blinking materials' second frame is drawn in tests/content.
#include "render_test_support.h"

#include "render/model_drawing.h"

using namespace render_test;

namespace {

// `groups` squares side by side over x 0..100 (y 0..100, facing +z), each its
// own group with material `material` (or none).
void addSquares(SbmModel& model, int groups, int material) {
    const float width = 100.0f / float(groups);
    for (int g = 0; g < groups; ++g) {
        const float x0 = width * float(g), x1 = x0 + width;
        addQuadGroup(model, {{{x0, 0, 0}, {x1, 0, 0}, {x1, 100, 0}, {x0, 100, 0}}}, {0, 0, 1}, material);
    }
}

class ModelDrawing : public FlatFrame {
protected:
    void TearDown() override {
        model_.release();
        FlatFrame::TearDown();
    }
    GLuint texture(uint8_t r, uint8_t g, uint8_t b, uint8_t a) { return FlatFrame::texture({r, g, b, a}); }

    SbmModel model_;
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
