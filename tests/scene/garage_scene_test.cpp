// The garage behind the menus: the camera's glide and drag, and the scene
// drawn with the game's own content (picture, neon, livery, rims).
#include "scene_test_support.h"

#include "app/input.h"
#include "content/car_loading.h"
#include "render/render_targets.h"

using namespace scene_test;

TEST(GarageCamera, GlidesTheShortWayThroughZero) {
    GarageCamera camera;
    camera.pitch = 5.0f;
    camera.yaw = 322.0f;
    const GarageView rims{1.0f, 14.0f};
    // Up past 322 and round through 360, never down through 180.
    for (int k = 0; k < 2000 && camera.yaw != 14.0f; ++k) {
        stepGarageCameraTowards(camera, rims, 1.0f);
        EXPECT_TRUE(camera.yaw < 100.0f || camera.yaw > 300.0f) << camera.yaw;
    }
    EXPECT_FLOAT_EQ(camera.yaw, 14.0f);
    EXPECT_FLOAT_EQ(camera.pitch, 1.0f);
}

TEST(GarageCamera, YawAndPitchArriveTogetherAndAYawOnTargetMovesThePitchStraightThere) {
    GarageCamera camera;
    camera.pitch = 1.0f;
    camera.yaw = 100.0f;
    const GarageView spoiler{18.0f, 114.0f};
    // Each step closes the same share of the yaw's and the pitch's gap.
    stepGarageCameraTowards(camera, spoiler, 1.0f);
    EXPECT_GT(camera.yaw, 100.0f);
    EXPECT_NEAR((camera.yaw - 100.0f) / 14.0f, (camera.pitch - 1.0f) / 17.0f, 1e-4f);
    for (int k = 0; k < 2000; ++k) stepGarageCameraTowards(camera, spoiler, 1.0f);
    EXPECT_FLOAT_EQ(camera.yaw, 114.0f);
    EXPECT_FLOAT_EQ(camera.pitch, 18.0f);

    // Same yaw, another pitch: nothing to divide by; the pitch goes to its target.
    camera.yaw = 357.0f;
    camera.pitch = 2.0f;
    stepGarageCameraTowards(camera, GarageView{23.0f, 357.0f}, 1.0f);
    EXPECT_FLOAT_EQ(camera.pitch, 23.0f);
    EXPECT_FLOAT_EQ(camera.yaw, 357.0f);
}

TEST(GarageCamera, DraggingTurnsTheCarAndTheMotionDiesOutAfterRelease) {
    GarageCamera camera;
    camera.yaw = 100.0f;
    camera.pitch = 5.0f;
    mouseState = MouseState{};
    mouseState.leftHeld = true;
    mouseState.dragX = 300;
    mouseState.dragY = 300;
    menuCursor = {340, 300};  // forty units to the right
    stepGarageCameraFree(camera, 1.0f);
    EXPECT_GT(camera.yawSpeed, 0.3f);
    EXPECT_EQ(mouseState.dragX, 340);
    EXPECT_GT(camera.yaw, 100.0f);
    menuCursor = {340, 450};  // and down: the pitch speed tops out at 1
    stepGarageCameraFree(camera, 1.0f);
    EXPECT_FLOAT_EQ(camera.pitchSpeed, 1.0f - 0.03f);

    mouseState.leftHeld = false;
    for (int k = 0; k < 1000; ++k) stepGarageCameraFree(camera, 1.0f);
    EXPECT_EQ(camera.yawSpeed, 0.0f);
    EXPECT_EQ(camera.pitchSpeed, 0.0f);
    EXPECT_LE(camera.pitch, 23.0f);
    mouseState = MouseState{};
}

namespace {

class GarageScene : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(gameWithContent());
        // The new career's car, whatever an earlier test in this process raced.
        applyStoredConfig();
        paintGarageWithWorkingCar();
        saved_ = workingCar;
        GameState = shownScreen = gameStates::mainMenu;
        mouseState = MouseState{};
        garageCamera = GarageCamera{};
    }
    void TearDown() override { workingCar = saved_; }
    CarConfig saved_;
};

// The livery's texel at (x, y), and a way to mark it.
std::array<uint8_t, 4> liveryTexel(int x, int y) {
    std::vector<uint8_t> texels(size_t(liveryTextureSize) * liveryTextureSize * 4);
    glBindTexture(GL_TEXTURE_2D, liveryTexture[0]);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    const uint8_t* t = &texels[(size_t(y) * liveryTextureSize + size_t(x)) * 4];
    return {t[0], t[1], t[2], t[3]};
}

void markLivery(int x, int y) {
    const uint8_t magenta[4] = {255, 0, 255, 255};
    glBindTexture(GL_TEXTURE_2D, liveryTexture[0]);
    glTexSubImage2D(GL_TEXTURE_2D, 0, x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, magenta);
}

}  // namespace

TEST_F(GarageScene, ShowroomMatchesItsReference) {
    // The main menu's view, half-way through the glide from the start angles.
    workingCar.neon = 3;
    EXPECT_TRUE(matchesReference(garagePicture(30), "garage_main_menu"));
}

TEST_F(GarageScene, NeonZeroDrawsNoGlow) {
    // The camera low on the car's side, the floor in front of the sill in view.
    garageCamera.pitch = 12.0f;
    garageCamera.yaw = 90.0f;
    GameState = gameStates::careerHub;  // in a fade between screens the camera stays
    shownScreen = gameStates::mainMenu;
    auto redness = [] {
        const RgbImage frame = readFrame();
        long red = 0;
        for (int y = 470; y < 560; ++y)
            for (int x = 200; x < 600; ++x) red += long(frame.at(x, y)[0]) - long(frame.at(x, y)[2]);
        return red;
    };
    workingCar.neon = 0;
    garagePicture(2);
    const long none = redness();
    workingCar.neon = 1;  // red, pulsing between 0 and 1
    for (int k = 0; k < 40; ++k) {
        garagePicture(1);
        if (neonGlow(1, frameTiming.gameClock).intensity > 0.8f) break;
    }
    EXPECT_GT(redness(), none + 100000);
    GameState = gameStates::mainMenu;
}

TEST_F(GarageScene, PaintRepaintsTheLiveryAtOnceAndRimsChangeOnlyTheWheels) {
    garagePicture(1);
    markLivery(600, 100);
    // Browsing rims: the next frame shows other wheels and leaves the livery alone.
    workingCar.rims = (workingCar.rims + 3) % rimsCount;
    garagePicture(1);
    EXPECT_EQ(liveryTexel(600, 100), (std::array<uint8_t, 4>{255, 0, 255, 255}));
    EXPECT_EQ(appearanceOf(workingCar).rims, workingCar.rims);
    // A new colour: the livery is painted again before the frame is drawn.
    workingCar.paintColor[0] = 0.1f;
    workingCar.paintColor[1] = 0.9f;
    workingCar.paintColor[2] = 0.2f;
    garagePicture(1);
    EXPECT_NE(liveryTexel(600, 100), (std::array<uint8_t, 4>{255, 0, 255, 255}));
}
