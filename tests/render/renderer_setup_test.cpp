// Renderer set-up through the real window creation: shipped shaders link with
// every uniform found, failures reach the player as the right messages, the
// render targets follow the resolution, extension and source reading rules.
#include "render_test_support.h"

#include "render/render_targets.h"

#include <algorithm>

using namespace render_test;

namespace {

int textureSize(uint32_t texture, GLenum which) {
    GLint value = 0;
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, which, &value);
    return value;
}

bool hasMessage(const platform::TestBackend& backend, const std::string& caption, const std::string& text = "") {
    return std::any_of(backend.messageBoxes.begin(), backend.messageBoxes.end(), [&](const auto& box) {
        return box.caption == caption && (text.empty() || box.text == text);
    });
}

}  // namespace

TEST(RendererSetup, ShippedShadersLinkWithEveryUniformFound) {
    testPlatform();
    if (platform::windowExists()) destroyGameWindow();
    GameState = gameStates::options;
    ASSERT_TRUE(sharedWindow());
    EXPECT_EQ(GameState, gameStates::mainMenu);
    EXPECT_TRUE(testPlatform().messageBoxes.empty());

    EXPECT_TRUE(shadersReady());
    const std::vector<std::string> missing = missingUniforms();
    EXPECT_TRUE(missing.empty()) << "first missing: " << (missing.empty() ? "" : missing.front());
    // Same name, different programs: separate locations of separate programs.
    EXPECT_GE(lightProgram.decal, 0);
    EXPECT_GE(treesProgram.decal, 0);
}

TEST(RendererSetup, ScreenTargetsFollowTheResolutionIndexAndEffectTargetsStaySmall) {
    ScratchBase base("large");
    // A small window, but the chosen resolution is 1600 x 1200.
    ASSERT_TRUE(openGameWindow(base, 4, 320, 240));
    for (uint32_t target : {sceneCopy, auxTarget1, auxTarget2, motionSharp}) {
        ASSERT_NE(target, 0u);
        EXPECT_EQ(textureSize(target, GL_TEXTURE_WIDTH), 1600);
        EXPECT_EQ(textureSize(target, GL_TEXTURE_HEIGHT), 1200);
    }
    for (uint32_t target : {glowTarget, glowMask, motionBlurred, envMap}) {
        ASSERT_NE(target, 0u);
        EXPECT_EQ(textureSize(target, GL_TEXTURE_WIDTH), 256);
        EXPECT_EQ(textureSize(target, GL_TEXTURE_HEIGHT), 256);
    }
    // The glow mask is read before it is first written: it starts black.
    std::vector<uint8_t> pixels(256 * 256 * 4, 99);
    glBindTexture(GL_TEXTURE_2D, glowMask);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    EXPECT_TRUE(std::all_of(pixels.begin(), pixels.end(), [](uint8_t v) { return v == 0; }));
    destroyGameWindow();
}

TEST(RendererSetup, ABrokenShaderShowsTheLinkLogAndAMissingOneFailsWithoutIt) {
    ScratchBase base("broken");
    ASSERT_TRUE(writeText(base.shader("HDRVS.glsl"), "#version 110\nvoid main() { gl_Position = ftransform() }\n"));
    platform::TestBackend& backend = testPlatform();
    backend.messageBoxes.clear();
    EXPECT_FALSE(openGameWindow(base, 1, 200, 150));
    EXPECT_FALSE(platform::windowExists());
    ASSERT_EQ(backend.messageBoxes.size(), 2u);
    EXPECT_EQ(backend.messageBoxes[0].caption, "Error linking shaders...");
    EXPECT_FALSE(backend.messageBoxes[0].text.empty());
    EXPECT_TRUE(hasMessage(backend, "ERROR", "Initialization Failed."));
    // The programs before the broken one were built, the broken one is not kept.
    EXPECT_EQ(hdrProgram.program, 0u);

    std::filesystem::remove(base.shader("HDRVS.glsl"));
    backend.messageBoxes.clear();
    EXPECT_FALSE(openGameWindow(base, 1, 200, 150));
    EXPECT_FALSE(hasMessage(backend, "Error linking shaders..."));
    EXPECT_TRUE(hasMessage(backend, "ERROR", "Initialization Failed."));
}

TEST(ExtensionWords, OnlyWholeSpaceSeparatedWordsCount) {
    EXPECT_TRUE(extensionWordPresent("GL_A GL_ARB_multitexture GL_B", "GL_ARB_multitexture"));
    EXPECT_TRUE(extensionWordPresent("GL_ARB_multitexture", "GL_ARB_multitexture"));
    EXPECT_TRUE(extensionWordPresent("GL_A GL_ARB_multitexture ", "GL_ARB_multitexture"));
    EXPECT_FALSE(extensionWordPresent("GL_ARB_multitexture_extra GL_B", "GL_ARB_multitexture"));
    EXPECT_FALSE(extensionWordPresent("XGL_ARB_multitexture", "GL_ARB_multitexture"));
    EXPECT_FALSE(extensionWordPresent("", "GL_ARB_multitexture"));
    EXPECT_FALSE(extensionWordPresent(nullptr, "GL_ARB_multitexture"));
}

TEST(ShaderSource, ReadsTheWholeFileWhateverItsLines) {
    ScratchBase base("source");
    const std::string longLine(5000, 'x');
    const std::string text = "// first\n" + longLine + "\nlast line without newline";
    const std::filesystem::path path = base.root() / "long.glsl";
    ASSERT_TRUE(writeText(path, text));
    std::optional<std::string> read = readShaderSource(path.string());
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(*read, text);

    ASSERT_TRUE(writeText(base.root() / "empty.glsl", ""));
    read = readShaderSource((base.root() / "empty.glsl").string());
    ASSERT_TRUE(read.has_value());
    EXPECT_TRUE(read->empty());
}
