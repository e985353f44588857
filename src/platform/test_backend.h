// The test back end of the platform layer, used by the tests and nightrun-lab.
// Installing one redirects the clock, the event pump, message boxes, URL opening,
// the display-mode list and mode switching into this record; nothing blocks and
// nothing reaches the desktop. The GL window is still real (hidden) unless
// `windowless` is set, in which case window creation succeeds without GL.
#pragma once

#include "platform/platform.h"

#include <deque>
#include <string>
#include <vector>

namespace platform {

struct RecordedMessageBox {
    std::string text;
    std::string caption;
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::Exclamation;
    bool answer = true;
};

struct TestBackend {
    uint32_t clockMs = 0;                 // advanced by the caller
    std::deque<Event> events;             // delivered in order by pollEvent
    std::vector<RecordedMessageBox> messageBoxes;
    std::vector<std::string> openedUrls;
    std::vector<DisplayMode> displayModes = {
        {640, 480, 32, 60}, {800, 600, 32, 60}, {1024, 768, 32, 60},
        {1280, 1024, 32, 60}, {1600, 1200, 32, 60}};
    bool answerYes = true;                // answer to Yes/No questions
    bool windowless = false;              // no SDL window and no GL at all
    bool failWindow = false;              // make window creation fail
    bool failVideo = false;               // make the video system fail to start
    int cursorX = 0;                      // window pixels
    int cursorY = 0;
    bool cursorVisible = true;
    int displayModeSwitches = 0;          // successful full-screen switches
    int swapCount = 0;
    bool fullscreen = false;              // the window's state as the game last set it
    bool realFullscreen = false;          // mode switches go to the real (shown) SDL window
    std::string executableDir;            // stands in for the executable's folder when not empty
};

// Installs (or with null removes) the test back end. The record must outlive its use.
void installTestBackend(TestBackend* backend);
TestBackend* testBackend();

}  // namespace platform
