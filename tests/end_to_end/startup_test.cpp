// The whole program through its start-up, loop and exit, in process on the
// test back end and as real executables.
#include "app/file_io.h"
#include "app/frame_timer.h"
#include "app/game_state.h"
#include "app/main_loop.h"
#include "app/settings.h"
#include "app/window.h"
#include "frontend/career_state.h"
#include "platform/test_backend.h"
#include "support/private_x_server.h"
#include "support/run_dir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Size of a file, or -1 when there is none (a failed run must fail cleanly, not throw).
long long sizeOf(const fs::path& path) {
    std::error_code error;
    const auto size = fs::file_size(path, error);
    return error ? -1 : static_cast<long long>(size);
}

class ProgramRun : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("ALSOFT_DRIVERS", "null", 1);
        linkGeneratedContent(dir.path() / "base");
        backend.windowless = true;
        platform::installTestBackend(&backend);
        loopFlags = LoopFlags{};
        gameSettings = GameSettings{};
        GameState = gameStates::mainMenu;
        resetFrameTimer();
        frameTiming = FrameTiming{};
    }
    void TearDown() override { platform::installTestBackend(nullptr); }
    // Runs one frame pass after advancing the clock; messages queued first are handled on the way.
    bool frame(uint32_t ms) {
        backend.clockMs += ms;
        bool framePass = false;
        bool running;
        while ((running = mainLoopPass(framePass)) && !framePass) {}
        return running;
    }
    ScopedTempDir dir;
    platform::TestBackend backend;
};

}  // namespace

TEST_F(ProgramRun, TheStartupScreenLastsNineSecondsOfShortFramesAndSlowFramesNeverEndIt) {
    ASSERT_EQ(startupSequence(), StartupResult::Ok);
    EXPECT_EQ(GameState, gameStates::mainMenu);
    for (int i = 0; i < 300; ++i) frame(101);  // a frame over 0.1 s advances nothing
    EXPECT_TRUE(loopFlags.startupLoading);
    EXPECT_EQ(loopFlags.startupTimer, 0.0f);
    int frames = 0;
    while (loopFlags.startupLoading && frames < 200) {
        frame(100);
        ++frames;
    }
    EXPECT_GE(frames, 90);
    EXPECT_LE(frames, 92);
    exitSequence();
}

TEST_F(ProgramRun, QuitDrawsTheNextFrameWithoutPresentingIt) {
    ASSERT_EQ(startupSequence(), StartupResult::Ok);
    ASSERT_TRUE(frame(10));
    int swaps = backend.swapCount;
    float clockBefore = frameTiming.gameClock;
    loopFlags.quitRequested = true;
    EXPECT_FALSE(frame(10));
    EXPECT_EQ(backend.swapCount, swaps);
    EXPECT_GT(frameTiming.gameClock, clockBefore);  // the frame itself ran
    bool framePass;
    EXPECT_FALSE(mainLoopPass(framePass));
    exitSequence();
}

TEST_F(ProgramRun, CloseMessageEndsTheLoopAndExitSavesBothFiles) {
    ASSERT_EQ(startupSequence(), StartupResult::Ok);
    ASSERT_TRUE(frame(10));
    backend.events.push_back({platform::EventType::Close});
    EXPECT_FALSE(frame(10));
    exitSequence();
    EXPECT_EQ(fs::file_size("base/menu.inf"), 76u);
    EXPECT_EQ(fs::file_size("base/career.inf"), 1408u);
    ASSERT_EQ(backend.openedUrls.size(), 1u);
    EXPECT_EQ(backend.openedUrls[0].rfind("file://", 0), 0u);
    EXPECT_NE(backend.openedUrls[0].find("/stats/nightrun.html"), std::string::npos);
    EXPECT_TRUE(fs::exists("base/stats/nightrun.html"));
}

TEST_F(ProgramRun, InactiveWindowSkipsDrawingButKeepsSwapping) {
    ASSERT_EQ(startupSequence(), StartupResult::Ok);
    frame(10);
    backend.events.push_back({platform::EventType::Deactivate});
    frame(10);
    float clock = frameTiming.gameClock;
    int swaps = backend.swapCount;
    frame(10);
    EXPECT_EQ(frameTiming.gameClock, clock);
    EXPECT_EQ(backend.swapCount, swaps + 1);
    backend.events.push_back({platform::EventType::Activate});
    frame(10);
    frame(10);
    EXPECT_GT(frameTiming.gameClock, clock);
    exitSequence();
}

TEST_F(ProgramRun, FullScreenModeMissingAsksAndNoEndsWithoutSaving) {
    backend.displayModes = {{1920, 1080, 32, 60}};
    backend.answerYes = false;
    EXPECT_EQ(startupSequence(), StartupResult::NoWindow);
    ASSERT_EQ(backend.messageBoxes.size(), 2u);
    EXPECT_EQ(backend.messageBoxes[0].caption, "Lumo GL");
    EXPECT_EQ(backend.messageBoxes[0].buttons, platform::MessageButtons::YesNo);
    EXPECT_EQ(backend.messageBoxes[1].text, "Program Will Now Close.");
    EXPECT_FALSE(fs::exists("base/menu.inf"));
}

TEST_F(ProgramRun, FullScreenModeMissingAndYesRunsWindowed) {
    backend.displayModes = {{1920, 1080, 32, 60}};
    backend.answerYes = true;
    fullscreen = true;
    ASSERT_EQ(startupSequence(), StartupResult::Ok);
    EXPECT_FALSE(fullscreen);
    EXPECT_EQ(backend.displayModeSwitches, 0);
    exitSequence();
}

TEST_F(ProgramRun, WindowFailureShowsItsMessageAndSavesNothing) {
    backend.failWindow = true;
    EXPECT_EQ(startupSequence(), StartupResult::NoWindow);
    ASSERT_FALSE(backend.messageBoxes.empty());
    EXPECT_EQ(backend.messageBoxes.back().text, "Window Creation Error.");
    EXPECT_EQ(backend.messageBoxes.back().caption, "ERROR");
    EXPECT_FALSE(fs::exists("base/career.inf"));
}

TEST_F(ProgramRun, AnUnreadableCareerIsSaidInAMessageBoxAndLeftAsItIs) {
    const std::vector<uint8_t> image(careerImageSize, 7);
    std::ofstream(careerPath, std::ios::binary).write(reinterpret_cast<const char*>(image.data()), careerImageSize);
    simulatedUnreadableFile = careerPath;  // as a file without read permission (the tests may run as root)
    ASSERT_EQ(startupSequence(), StartupResult::Ok);
    ASSERT_EQ(backend.messageBoxes.size(), 1u);
    EXPECT_NE(backend.messageBoxes[0].text.find("base/career.inf cannot be read"), std::string::npos);
    EXPECT_EQ(careerState.cash, 500.0f);  // a new career is played
    frame(10);
    exitSequence();
    simulatedUnreadableFile.clear();
    std::vector<uint8_t> after;
    readFileBounded(careerPath, 4096, after);
    EXPECT_EQ(after, image);
    EXPECT_EQ(sizeOf("base/menu.inf"), 76);  // the options are saved as usual
    readCareer(careerState);  // readable again: the file is the game's to write
}

// The real executables, as a player and a developer start them.
TEST(Executables, WithoutASoundDeviceTheGamePlaysSilently) {
    // OpenAL Soft with a back end that does not exist opens no device.
    ScopedTempDir dir;
    linkGeneratedContent(dir.path() / "base");
    std::string output;
    std::string command = std::string("ALSOFT_DRIVERS=no-such-backend ") + NIGHTRUN_RUN_DIR +
                          "/nightrun-lab run --frames 1000 2>&1";
    ASSERT_EQ(runCommand(command, output), 0) << output;
    EXPECT_NE(output.find("no sound device"), std::string::npos) << output;
    EXPECT_EQ(output.find("message box"), std::string::npos) << output;
    EXPECT_NE(output.find("frames=1000 state=1 quit=0 exit=0"), std::string::npos) << output;
    EXPECT_EQ(fs::file_size("base/menu.inf"), 76u);
    EXPECT_EQ(fs::file_size("base/career.inf"), 1408u);
}

TEST(Executables, LabRunRejectsABadEventScript) {
    ScopedTempDir dir;
    std::ofstream("events.txt") << "10 keydown zz\n";
    std::string output;
    std::string command = std::string(NIGHTRUN_RUN_DIR) + "/nightrun-lab run --frames 5 --events events.txt 2>&1";
    EXPECT_EQ(runCommand(command, output), 2);
    EXPECT_NE(output.find("line 1"), std::string::npos) << output;
}

TEST(Executables, GameOpensItsWindowUnderAnXServerAndExitsCleanly) {
    // The game's default resolution is the screen's only mode, so the
    // full-screen switch succeeds without a question.
    PrivateXServer server("800x600x24");
    ASSERT_FALSE(server.display().empty()) << "Xvfb did not start";
    const std::string name = server.display();

    ScopedTempDir dir;
    linkGeneratedContent(dir.path() / "base");
    pid_t game = fork();
    if (game == 0) {
        setenv("DISPLAY", name.c_str(), 1);
        setenv("SDL_VIDEODRIVER", "x11", 1);  // no silent fall-back to another video driver
        setenv("ALSOFT_DRIVERS", "null", 1);
        setenv("LIBGL_ALWAYS_SOFTWARE", "1", 1);
        std::string exe = std::string(NIGHTRUN_RUN_DIR) + "/nightrun";
        execl(exe.c_str(), "nightrun", (char*)nullptr);
        _exit(127);
    }
    ASSERT_GT(game, 0);
    std::string output;
    bool windowShown = false;
    int status = 0;
    bool exited = false;
    // Poll until the window is mapped or the game has ended; a loaded machine may take a while to start it.
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    while (!windowShown && !exited && std::chrono::steady_clock::now() < deadline) {
        runCommand("DISPLAY=" + name + " xwininfo -name Nightrun 2>/dev/null", output);
        windowShown = output.find("Map State: IsViewable") != std::string::npos;
        exited = waitpid(game, &status, WNOHANG) == game;
        if (!windowShown && !exited) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    EXPECT_TRUE(windowShown) << (exited ? "the game ended before it showed its window" : output);
    if (!exited) {
        kill(game, SIGTERM);  // arrives as a close request
        waitpid(game, &status, 0);
    }
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(sizeOf("base/menu.inf"), 76);
    EXPECT_EQ(sizeOf("base/career.inf"), 1408);
}

TEST(Executables, WithoutAVideoSystemTheGameReportsAWindowFailure) {
    // An X display that does not exist: the video system cannot start. That is
    // a window failure, not a full-screen mode the display lacks.
    ScopedTempDir dir;
    linkGeneratedContent(dir.path() / "base");
    std::string output;
    const std::string command = std::string("DISPLAY=:4093 SDL_VIDEODRIVER=x11 ALSOFT_DRIVERS=null ") +
                                NIGHTRUN_RUN_DIR + "/nightrun 2>&1";
    EXPECT_EQ(runCommand(command, output), 0) << output;
    EXPECT_NE(output.find("video system cannot start"), std::string::npos) << output;
    EXPECT_NE(output.find("Window Creation Error."), std::string::npos) << output;
    EXPECT_EQ(output.find("Fullscreen Mode"), std::string::npos) << output;
    EXPECT_EQ(sizeOf("base/career.inf"), -1);  // nothing is saved by a game that never started
}
