// The game window and its GL context, the projection, display modes and the
// window-level messages.
#pragma once

#include "platform/platform.h"

#include <string>

extern bool fullscreen;  // cleared when the player accepts windowed mode

// Opens the window at the given size (switching the display for full screen, with
// the windowed-mode question when the mode does not exist), creates the GL context
// and runs the renderer set-up. Shows its own message and returns false on failure.
bool createGameWindow(const std::string& title, int width, int height, int colourBits, bool fullscreenFlag);
// Releases everything; safe on a partly created window.
void destroyGameWindow();
// Alt+Enter: full screen at the current resolution, or a window of that size.
// The GL context and its textures stay; the choice holds for the rest of the
// run (re-activating the window keeps it). When the display cannot take the
// resolution the game stays in its window and says so.
void toggleFullscreen();

// Viewport and perspective: the race view widens with speed, the front end is a
// narrow 25 degree view of the garage. A height of 0 counts as 1.
void setProjection(int width, int height);
// The race field of view in degrees for the current speed blur and field-of-view boost.
float raceFieldOfView();

bool IsDisplayModeAvailable(int width, int height);

// Resolution cycling of the Options screen. `choice` is the current resolution
// index; on success it and the chosen size (gameSettings.chosenWidth and
// .chosenHeight) take the next (or previous) resolution the display lists,
// wrapping round to the one in use. The running window keeps its size until the
// next start. With no listed resolution at all nothing changes.
void nextResolution(int& choice);
void previousResolution(int& choice);
extern bool resolutionChanged;

// Window-level messages: resize, activation, close, screen saver. Returns true
// when the event was one of these.
bool handleWindowEvent(const platform::Event& event);
// Set by a close message; the main loop ends on it.
extern bool closeRequested;
