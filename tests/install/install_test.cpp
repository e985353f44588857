// cmake --install gives a game that reads its data from the install, never
// writes there, and keeps the player's files in the per-user data folder.
#include "app/game_paths.h"
#include "support/png_image.h"
#include "support/run_dir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>
#include <map>
#include <sstream>

namespace fs = std::filesystem;

namespace {

// Every file and folder under a tree with its size and time of change.
std::map<std::string, std::pair<uintmax_t, long long>> snapshot(const fs::path& root) {
    std::map<std::string, std::pair<uintmax_t, long long>> entries;
    for (const fs::directory_entry& e : fs::recursive_directory_iterator(root)) {
        struct stat info {};
        lstat(e.path().c_str(), &info);
        entries[e.path().string()] = {uintmax_t(info.st_size),
                                      info.st_mtim.tv_sec * 1000000000LL + info.st_mtim.tv_nsec};
    }
    return entries;
}

std::string fileText(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

TEST(GamePaths, InstalledGamesSavePerUserAndRunDirectoriesUseBase) {
    TempDir prefix("paths");
    fs::create_directories(prefix.path() / "bin");
    const std::string bin = (prefix.path() / "bin").string() + "/";
    // Without share/nightrun/base beside it: base/ of the working directory, as ever.
    GamePaths paths = findGamePaths(bin, "/xdg", "/home/player");
    EXPECT_FALSE(paths.installed);
    EXPECT_EQ(paths.saveFolder, "base");
    EXPECT_EQ(paths.dataFolder, "");

    fs::create_directories(prefix.path() / "share" / "nightrun" / "base");
    paths = findGamePaths(bin, "/xdg", "/home/player");
    EXPECT_TRUE(paths.installed);
    EXPECT_EQ(paths.dataFolder, fs::canonical(prefix.path() / "share" / "nightrun").string());
    EXPECT_EQ(paths.saveFolder, "/xdg/nightrun");
    // Unset, empty or relative XDG_DATA_HOME: the default under the home folder.
    for (const char* xdg : {(const char*)nullptr, "", "relative/data"})
        EXPECT_EQ(findGamePaths(bin, xdg, "/home/player").saveFolder, "/home/player/.local/share/nightrun");
}

TEST(Install, TheInstalledGameReadsTheInstallAndSavesPerUser) {
    TempDir prefix("prefix");
    TempDir user("user");
    TempDir elsewhere("elsewhere");
    std::string output;
    const std::string install = std::string(NIGHTRUN_CMAKE) + " --install " + NIGHTRUN_BUILD_DIR + " --prefix " +
                                prefix.path().string();
    ASSERT_EQ(runCommand(install + " 2>&1", output), 0) << output;
    const fs::path p = prefix.path();
    EXPECT_TRUE(fs::exists(p / "bin" / "nightrun"));
    EXPECT_FALSE(fs::exists(p / "bin" / "nightrun-lab"));  // the lab is not part of a player's install
    EXPECT_TRUE(fs::exists(p / "share" / "nightrun" / "base" / "shaders"));
    EXPECT_FALSE(fs::exists(p / "share" / "nightrun" / "base" / "menu.inf"));
    EXPECT_FALSE(fs::exists(p / "share" / "nightrun" / "base" / "career.inf"));
    const fs::path music = p / "share" / "nightrun" / "base" / "music" / "menu.ogg";
    ASSERT_TRUE(fs::exists(music));
    EXPECT_EQ(fs::status(music).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const std::string entry = fileText(p / "share" / "applications" / "nightrun.desktop");
    EXPECT_NE(entry.find("Exec=\"" + (p / "bin" / "nightrun").string() + "\"\n"), std::string::npos) << entry;
    const fs::path icon = p / "share" / "icons" / "hicolor" / "256x256" / "apps" / "nightrun.png";
    EXPECT_NE(entry.find("Icon=" + icon.string() + "\n"), std::string::npos) << entry;
    test_support::RgbImage picture;
    ASSERT_TRUE(test_support::readPng(icon.string(), picture));
    EXPECT_EQ(picture.width, 256);
    EXPECT_EQ(picture.height, 256);

    // The lab beside it runs the installed game from another folder.
    ASSERT_EQ(runCommand(install + " --component lab 2>&1", output), 0) << output;
    const auto before = snapshot(p);
    ScopedWorkingDir cwd(elsewhere.path());
    const std::string run = "XDG_DATA_HOME=" + user.path().string() + " ALSOFT_DRIVERS=null " +
                            (p / "bin" / "nightrun-lab").string() + " run --frames 200 --frame-ms 50 --shot 190:menu.png 2>&1";
    ASSERT_EQ(runCommand(run, output), 0) << output;
    EXPECT_NE(output.find("frames=200 state=1 quit=0 exit=0"), std::string::npos) << output;
    EXPECT_EQ(output.find("message box"), std::string::npos) << output;
    const fs::path saves = user.path() / "nightrun";
    EXPECT_EQ(fs::file_size(saves / "menu.inf"), 76u);
    EXPECT_EQ(fs::file_size(saves / "career.inf"), 1408u);
    EXPECT_TRUE(fs::exists(saves / "stats" / "nightrun.html"));
    EXPECT_NE(output.find("opened file://" + (saves / "stats" / "nightrun.html").string()), std::string::npos)
        << output;
    // The screenshot named from here lands here; nothing else does, and the install is untouched.
    EXPECT_TRUE(fs::exists(elsewhere.path() / "menu.png")) << output;
    EXPECT_EQ(std::distance(fs::directory_iterator(elsewhere.path()), fs::directory_iterator{}), 1);
    EXPECT_TRUE(snapshot(p) == before);
}
