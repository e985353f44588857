// Program entry, the main loop and the frame driver.
#pragma once

// The whole program: start-up, loop, exit. Returns the process exit code.
int nightrunMain();

// The pieces, so that the lab tool and the tests can drive the loop frame by frame.
enum class StartupResult { Ok, NoWindow };
StartupResult startupSequence();
// One pass of the main loop: handles one pending window message, or when there
// is none draws and presents one frame and runs the loop's key checks.
// Returns false once the loop has ended. `framePass` is set for a pass that
// found no message (a frame was drawn, or skipped while the window is inactive).
bool mainLoopPass(bool& framePass);
// Called just before a frame is presented (the lab tool's screenshots).
extern void (*beforePresent)();
// Set by the lab tool for a frame that advances a running race without
// drawing it (camera, sound, simulation and countdown as a drawn frame).
extern bool raceFrameUndrawn;
void exitSequence();

// Draws one frame of the current state; always true.
bool drawFrame();
// A race frame's picture: environment view, camera, world, motion blur,
// cars, glass, then the copy into sceneCopy and the glow passes (the HUD puts
// it back on screen). The race does not move.
void drawRaceScene();

// The loop's per-pass key checks (pause, binding capture, F1), after the frame.
void loopKeyChecks();
