#include "app/game_paths.h"

#include "app/settings.h"
#include "app/statistics_page.h"
#include "frontend/career_state.h"
#include "platform/platform.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

GamePaths inUse{false, "", "base"};

bool isFolder(const fs::path& path) {
    std::error_code error;
    return fs::is_directory(path, error);
}

}  // namespace

GamePaths findGamePaths(const std::string& executableFolder, const char* xdgDataHome, const char* home) {
    GamePaths paths{false, "", "base"};
    if (executableFolder.empty()) return paths;
    const fs::path installedData = fs::path(executableFolder) / ".." / "share" / "nightrun";
    if (!isFolder(installedData / "base")) return paths;
    paths.installed = true;
    std::error_code error;
    const fs::path resolved = fs::weakly_canonical(installedData, error);
    paths.dataFolder = (error ? installedData : resolved).string();
    fs::path userData;
    if (xdgDataHome && *xdgDataHome && fs::path(xdgDataHome).is_absolute()) {
        userData = xdgDataHome;
    } else {
        std::string homeFolder = home && *home ? home : "";
        if (homeFolder.empty()) {
            if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir) homeFolder = entry->pw_dir;
        }
        userData = fs::path(homeFolder.empty() ? "/tmp" : homeFolder) / ".local" / "share";
    }
    paths.saveFolder = (userData / "nightrun").string();
    return paths;
}

GamePaths findGamePaths() {
    return findGamePaths(platform::executableDirectory(), std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
}

bool useGamePaths(const GamePaths& paths) {
    if (!paths.dataFolder.empty()) {
        std::error_code error;
        fs::current_path(paths.dataFolder, error);
        if (error) {
            std::fprintf(stderr, "nightrun: cannot use the game data in %s: %s\n", paths.dataFolder.c_str(),
                         error.message().c_str());
            return false;
        }
    }
    if (paths.installed) {
        std::error_code error;
        fs::create_directories(paths.saveFolder, error);
        if (!error) fs::permissions(paths.saveFolder, fs::perms::owner_all, fs::perm_options::replace, error);
        if (!isFolder(paths.saveFolder))
            std::fprintf(stderr, "nightrun: cannot make the folder for saves %s: %s\n", paths.saveFolder.c_str(),
                         error.message().c_str());
    }
    settingsPath = paths.saveFolder + "/menu.inf";
    careerPath = paths.saveFolder + "/career.inf";
    statisticsFolder = paths.saveFolder + "/stats";
    inUse = paths;
    return true;
}

const GamePaths& gamePaths() { return inUse; }
