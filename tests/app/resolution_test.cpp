#include "app/settings.h"
#include "app/window.h"
#include "platform/test_backend.h"

#include <gtest/gtest.h>

namespace {

class ResolutionCycling : public ::testing::Test {
protected:
    void SetUp() override {
        platform::installTestBackend(&backend);
        gameSettings = GameSettings{};
        gameSettings.sound = 0;
        resolutionChanged = false;
    }
    void TearDown() override { platform::installTestBackend(nullptr); }
    void modes(std::initializer_list<std::pair<int, int>> sizes) {
        backend.displayModes.clear();
        for (auto [w, h] : sizes) backend.displayModes.push_back({w, h, 32, 60});
    }
    platform::TestBackend backend;
};

}  // namespace

// Stepping over unlisted modes and wrapping round: tests/frontend/options_screen_test.cpp.
TEST_F(ResolutionCycling, WithOnlyTheCurrentOrNoGameModeListedTheChoiceStays) {
    // A mode is listed whatever its depth.
    backend.displayModes = {{1024, 768, 16, 75}};
    EXPECT_TRUE(IsDisplayModeAvailable(1024, 768));
    EXPECT_FALSE(IsDisplayModeAvailable(768, 1024));
    modes({{1024, 768}, {1920, 1080}});
    int choice = 2;
    nextResolution(choice);
    previousResolution(choice);
    EXPECT_EQ(choice, 2);
    modes({{1920, 1080}, {720, 400}});
    gameSettings.width = gameSettings.chosenWidth = 800;  // as a fresh start
    choice = 1;
    nextResolution(choice);
    previousResolution(choice);
    EXPECT_EQ(choice, 1);
    EXPECT_EQ(gameSettings.chosenWidth, 800);
    EXPECT_TRUE(resolutionChanged);
    modes({});
    nextResolution(choice);
    EXPECT_EQ(choice, 1);
}
