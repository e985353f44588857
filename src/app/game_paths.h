// Where the game reads its data and keeps the player's files.
//
// Run from a build's run directory (or any folder with base/ in it) the game
// reads and writes base/ of the working directory. Installed (the executable in
// PREFIX/bin beside PREFIX/share/nightrun/base) it reads its data from the
// install, which it never writes, and keeps menu.inf, career.inf and the
// statistics page in the per-user data folder: $XDG_DATA_HOME/nightrun, by
// default ~/.local/share/nightrun.
#pragma once

#include <string>

struct GamePaths {
    bool installed = false;
    std::string dataFolder;  // holds base/; empty: the working directory
    std::string saveFolder;  // menu.inf, career.inf and stats/ (relative to the working directory or absolute)
};

// Decides from the executable's folder and the environment's XDG_DATA_HOME
// and HOME (either may be null or empty). A relative XDG_DATA_HOME is ignored,
// as the XDG rules ask.
GamePaths findGamePaths(const std::string& executableFolder, const char* xdgDataHome, const char* home);
// The same for this process: platform::executableDirectory() and the environment.
GamePaths findGamePaths();

// Uses them: the working directory becomes the data folder (content paths are
// base/... throughout), the save folder is created (private to the user), and
// the settings, career and statistics page are kept there. False, with the
// reason on the standard error stream, when the data folder cannot be entered;
// a save folder that cannot be made is reported and leaves the saves to fail
// safely when written.
bool useGamePaths(const GamePaths& paths);
// The paths in use ({false, "", "base"} until useGamePaths).
const GamePaths& gamePaths();
