// Alt+Enter through the real SDL window on an X server: full screen to a
// window and back, and the game keeps drawing its textured menus each time.
#include "support/png_image.h"
#include "support/private_x_server.h"
#include "support/run_dir.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

// The share of pixels that are not (nearly) black.
double litShare(const test_support::RgbImage& image) {
    size_t lit = 0;
    for (size_t i = 0; i + 2 < image.pixels.size(); i += 3)
        if (image.pixels[i] + image.pixels[i + 1] + image.pixels[i + 2] > 30) ++lit;
    return double(lit) / double(image.width * image.height);
}

}  // namespace

TEST(FullscreenToggle, AltEnterSwitchesBothWaysAndTheMenusStillDraw) {
    PrivateXServer server("800x600x24");  // the game's default resolution is the screen's only mode
    ASSERT_FALSE(server.display().empty()) << "Xvfb did not start";
    ScopedTempDir dir;
    linkGeneratedContent(dir.path() / "base");
    // 50 ms frames: the start-up picture is over after 180 of them.
    std::ofstream("toggle.events") << "200 shot full.png\n"
                                      "201 altenter\n"
                                      "210 shot windowed.png\n"
                                      "211 altenter\n"
                                      "220 shot full_again.png\n"
                                      "221 altenter\n";
    std::string output;
    const std::string command = "DISPLAY=" + server.display() +
                                " SDL_VIDEODRIVER=x11 LIBGL_ALWAYS_SOFTWARE=1 ALSOFT_DRIVERS=null " NIGHTRUN_RUN_DIR
                                "/nightrun-lab run --real-window --frames 230 --frame-ms 50 --events toggle.events 2>&1";
    ASSERT_EQ(runCommand(command, output), 0) << output;
    // Three switches: the run ends in a window.
    EXPECT_NE(output.find("fullscreen=0"), std::string::npos) << output;
    EXPECT_EQ(output.find("not available"), std::string::npos) << output;
    double shares[3];
    int i = 0;
    for (const char* shot : {"full.png", "windowed.png", "full_again.png"}) {
        test_support::RgbImage image;
        ASSERT_TRUE(test_support::readPng(shot, image)) << shot << "\n" << output;
        shares[i++] = litShare(image);
        EXPECT_GT(litShare(image), 0.5) << shot;
    }
    // The same menu picture before and after each switch: no texture was lost.
    EXPECT_NEAR(shares[1], shares[0], 0.05);
    EXPECT_NEAR(shares[2], shares[0], 0.05);
}
