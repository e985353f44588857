// GL state, extensions, render targets and shader programs, set up when the window opens.
#pragma once

// Returns false (after showing its own message where it has one) when the
// renderer cannot run; sets GameState to the main menu on success.
bool rendererSetup();
