// Bitmap text and the start-up loading screen, read back from the frame.
// The 800 x 600 window maps one text unit to one pixel; the test font has a
// solid white block for every printable code and a green block for code 200.
#include "render_test_support.h"

#include "app/bitmap_text.h"
#include "app/loading_screen.h"

using namespace render_test;

namespace {

class TextFrame : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(sharedWindow());
        glViewport(0, 0, 800, 600);
        glEnable(GL_TEXTURE_2D);
        glColor4f(1, 1, 1, 1);
        textAlpha = 1.0f;
        textStyle = textStyles::white;
        clearFrame();
    }
    void TearDown() override {
        textAlpha = 1.0f;
        textStyle = textStyles::white;
    }
};

bool isWhite(const Pixel& p) { return p.r > 240 && p.g > 240 && p.b > 240; }
bool isBlack(const Pixel& p) { return p.r < 10 && p.g < 10 && p.b < 10; }

}  // namespace

TEST_F(TextFrame, GlyphsSitAtTheirFontsOffsetAndAdvance) {
    // " A": the space is empty, the A's block starts one advance on.
    struct Font {
        void (*print)(float, float, const char*, ...);
        int x, y, advance, low, size;
    };
    for (const Font& f : {Font{printText, 100, 200, 10, -3, 19}, Font{printLargeText, 300, 300, 13, 0, 25}}) {
        SCOPED_TRACE(f.size);
        f.print(float(f.x), float(f.y), " A");
        const int left = f.x + f.advance, bottom = f.y + f.low, middle = bottom + f.size / 2;
        EXPECT_TRUE(isBlack(readPixel(f.x + f.advance / 2, middle)));
        EXPECT_TRUE(isWhite(readPixel(left + 2, bottom + 2)));
        EXPECT_TRUE(isWhite(readPixel(left + f.size - 2, bottom + f.size - 2)));
        EXPECT_TRUE(isBlack(readPixel(left + f.size + 3, middle)));
        EXPECT_TRUE(isBlack(readPixel(left + f.size / 2, bottom - 3)));
        EXPECT_TRUE(isBlack(readPixel(left + f.size / 2, bottom + f.size + 3)));
    }
}

TEST_F(TextFrame, FormatsLikePrintfPrintsHighCodesAndCutsOverlongText) {
    // "FPS:%2i" with 7 is "FPS: 7": the space at the fifth cell, the 7 at the sixth.
    printText(500, 100, "FPS:%2i", 7);
    EXPECT_TRUE(isWhite(readPixel(500 + 4 * 10 - 2, 105)));  // the colon's block reaches under the space
    EXPECT_TRUE(isWhite(readPixel(500 + 5 * 10 + 15, 105)));
    EXPECT_TRUE(isBlack(readPixel(500 + 6 * 10 + 12, 105)));  // the pen stopped 60 units on

    printText(100, 400, "\xC8");
    const Pixel green = readPixel(109, 406);
    EXPECT_LT(green.r, 10);
    EXPECT_GT(green.g, 240);

    // Overlong text is cut safely.
    printText(0, 300, "%s", std::string(1000, 'A').c_str());
    EXPECT_TRUE(isWhite(readPixel(700, 306)));
}

TEST_F(TextFrame, StylesColourTheText) {
    textStyle = textStyles::orange;
    printText(100, 100, "A");
    Pixel p = readPixel(109, 106);
    EXPECT_GT(p.r, 240);
    EXPECT_NEAR(p.g, 128, 3);
    EXPECT_LT(p.b, 10);

    textStyle = textStyles::green;
    printLargeText(200, 100, "A");
    p = readPixel(212, 112);
    EXPECT_LT(p.r, 10);
    EXPECT_GT(p.g, 240);

    // Green is a large-font style: the small font keeps the current colour.
    glColor4f(0, 0, 1, 1);
    printText(300, 100, "A");
    p = readPixel(309, 106);
    EXPECT_LT(p.r, 10);
    EXPECT_GT(p.b, 240);
}

TEST_F(TextFrame, TextAlphaFadesAndStateIsRestored) {
    textAlpha = 0.5f;
    printText(100, 100, "A");
    EXPECT_NEAR(readPixel(109, 106).r, 128, 3);

    textAlpha = 0.0f;
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    printLargeText(300, 100, "A");
    EXPECT_TRUE(isBlack(readPixel(312, 112)));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    GLint source = 0, destination = 0;
    glGetIntegerv(GL_BLEND_SRC, &source);
    glGetIntegerv(GL_BLEND_DST, &destination);
    EXPECT_EQ(source, GL_ONE);
    EXPECT_EQ(destination, GL_ONE);

    // The small font leaves opaque white behind, whatever it printed in.
    textAlpha = 1.0f;
    textStyle = textStyles::orange;
    printText(100, 300, nullptr);  // prints nothing
    printText(100, 300, "A");
    GLfloat colour[4] = {0, 0, 0, 0};
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_FLOAT_EQ(colour[1], 1.0f);
    EXPECT_FLOAT_EQ(colour[3], 1.0f);

    GLint depth = 0;
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, 1);
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, 1);
}

TEST_F(TextFrame, LoadingScreenShowsTheFirstImageThenFadesInTheSecond) {
    drawLoadingScreen(false);
    Pixel p = readPixel(400, 300);
    EXPECT_NEAR(p.r, firstImageRed, 2);
    EXPECT_LT(p.b, 5);
    EXPECT_NEAR(readPixel(689, 16).r, firstImageRed, 2);  // no text over the first image

    clearFrame();
    loopFlags.startupTimer = 7.5f;
    drawLoadingScreen(true);
    p = readPixel(400, 300);
    EXPECT_LT(p.r, 5);
    EXPECT_NEAR(p.b, secondImageBlue / 2, 3);
    // "Loading..." in white at (680, 10).
    EXPECT_TRUE(isWhite(readPixel(689, 16)));

    clearFrame();
    loopFlags.startupTimer = 8.6f;
    drawLoadingScreen(true);
    EXPECT_NEAR(readPixel(400, 300).b, secondImageBlue, 2);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    GLint depth = 0;
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, 1);
    loopFlags.startupTimer = 0.0f;
}
