// Scripted input for the lab tool, one step per line, "WHEN WHAT":
//   WHEN  a frame number, or "+N": N frames after the previous step ran
//   WHAT  "keydown VK", "keyup VK" (VK in hex), "move X Y" (window pixels),
//         "press left|right", "release left|right", "click X Y" (a left click in
//         the 800 x 600 menu space), "activate", "deactivate", "close",
//         "wait SCREEN" (holds the script until that screen is on view, 0 until
//         a race runs),
//         "shot FILE.png" (a screenshot of that frame).
// Steps run in the order written. Blank lines and lines starting with # are skipped.
#pragma once

#include "platform/platform.h"

#include <cstdint>
#include <string>
#include <vector>

struct ScriptStep {
    enum class Kind { Event, Click, Wait, Shot };
    long frame = 0;       // the frame, or with `relative` the frames after the previous step
    bool relative = false;
    Kind kind = Kind::Event;
    platform::Event event;
    int x = 0, y = 0;     // a click, in menu units
    int32_t screen = 0;   // what a wait waits for
    std::string path;     // a screenshot's file
};

struct ScriptedEvents {
    std::vector<ScriptStep> steps;
    size_t next = 0;       // the first step not yet run
    long lastRun = 0;      // the frame the previous step ran on
    bool empty() const { return steps.empty(); }
    bool finished() const { return next >= steps.size(); }
};

// Parses a script; on a bad line sets `error` (with the line number) and returns false.
bool parseScriptedEvents(const std::string& text, ScriptedEvents& events, std::string& error);
bool loadScriptedEvents(const std::string& path, ScriptedEvents& events, std::string& error);

// What the due steps of a frame produce: window events in order (a click is a
// move, a press and a release at the pixels of a `width` x `height` window)
// and screenshot files.
struct DueSteps {
    std::vector<platform::Event> events;
    std::vector<std::string> shots;
};
// Runs every step that is due at `frame`, with the game going to `gameState`
// and showing `shownScreen`.
DueSteps takeDueSteps(ScriptedEvents& events, long frame, int32_t gameState, int32_t shownScreen, int width,
                      int height);

// Common options: "FRAME:FILE.png" screenshot requests.
struct ShotRequest {
    long frame = 0;
    std::string path;
};
bool parseShotRequest(const std::string& text, ShotRequest& shot);
