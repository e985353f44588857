// A race frame drawn with the game's own content: its picture against the
// reference, and what the Motion blur option writes.
#include "scene_test_support.h"

#include "render/render_targets.h"

using namespace scene_test;

namespace {

// A recognisable 256 x 256 picture in a target, to see whether a frame wrote it.
void fillTarget(uint32_t texture, uint8_t value) {
    std::vector<uint8_t> texels(256 * 256 * 4, value);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 256, 256, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
}

bool targetStill(uint32_t texture, uint8_t value) {
    std::vector<uint8_t> texels(256 * 256 * 4);
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    return std::all_of(texels.begin(), texels.end(), [value](uint8_t t) { return t == value; });
}

class RaceScene : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(gameWithContent()); }
    void TearDown() override {
        if (loadedTrack != 0) leaveRace();
        GameState = gameStates::mainMenu;
        gameSettings.motionBlur = 0;
    }
};

}  // namespace

TEST_F(RaceScene, DowntownAtSpeedMatchesItsReference) {
    // Half a minute in: the autopilot well into the first lap of circuit 1.
    ASSERT_TRUE(raceAfter(1, 1900));
    EXPECT_TRUE(matchesReference(racePicture(), "race_track1"));
}

TEST_F(RaceScene, MotionBlurWritesItsTargetOnlyWhenOn) {
    ASSERT_TRUE(raceAfter(11, 1200));
    fillTarget(motionBlurred, 77);
    gameSettings.motionBlur = 0;
    racePicture(3);
    EXPECT_TRUE(targetStill(motionBlurred, 77));
    gameSettings.motionBlur = 1;
    racePicture(1);
    EXPECT_FALSE(targetStill(motionBlurred, 77));
}
