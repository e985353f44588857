// The two files the game writes survive a kill at any moment of a save; a save
// that cannot be made (full disk, read-only folder, a file where a folder should
// be) says so on the standard error stream and keeps the old file; a file that
// exists but cannot be read is never written over. Every failure here holds for
// root too, so nothing is skipped where the tests run as root.
#include "app/file_io.h"
#include "app/settings.h"
#include "frontend/career_state.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <thread>

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> bytesOf(const std::string& path) {
    std::vector<uint8_t> bytes;
    readFileBounded(path, 1 << 20, bytes);
    return bytes;
}

// Settings and careers that carry a version number in a field the game keeps as it is.
GameSettings settingsVersion(int k) {
    GameSettings s;
    s.reserved15[0] = k;
    s.colourDepth = 16 + k % 17;
    return s;
}
CareerState careerVersion(int k) {
    CareerState c;
    setNewCareerValues(c);
    c.reserved1376 = k;
    c.cash = float(k % 100000);
    return c;
}
std::vector<uint8_t> settingsImage(int k) {
    uint8_t bytes[settingsFileSize];
    encodeSettings(settingsVersion(k), false, bytes);
    return {bytes, bytes + settingsFileSize};
}
std::vector<uint8_t> careerImage(int k) {
    uint8_t bytes[careerImageSize];
    encodeCareer(careerVersion(k), bytes);
    return {bytes, bytes + careerImageSize};
}
// The version a file holds whole, or -1 when it holds no whole version.
int settingsVersionIn(const std::vector<uint8_t>& bytes) {
    if (bytes.size() != size_t(settingsFileSize)) return -1;
    const int k = int(getLe32(&bytes[56]));
    return bytes == settingsImage(k) ? k : -1;
}
int careerVersionIn(const std::vector<uint8_t>& bytes) {
    if (bytes.size() != size_t(careerImageSize)) return -1;
    const int k = int(getLe32(&bytes[1376]));
    return bytes == careerImage(k) ? k : -1;
}

// Runs `body` in a child process; its exit code, and what it wrote on the standard error stream.
int inChild(const std::function<int()>& body, std::string& errors) {
    int fds[2];
    if (pipe(fds) != 0) return -1;
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(fds[1], 2);
        close(fds[0]);
        close(fds[1]);
        _exit(body());
    }
    close(fds[1]);
    errors.clear();
    char buffer[512];
    ssize_t n;
    while ((n = read(fds[0], buffer, sizeof buffer)) > 0) errors.append(buffer, size_t(n));
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// Mounts a small tmpfs over `dir` that only this process sees; false where
// mount namespaces are not allowed.
bool privateTmpfs(const char* dir, const char* options) {
    if (unshare(CLONE_NEWNS) != 0) return false;
    if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) return false;
    return mount("tmpfs", dir, "tmpfs", 0, options) == 0;
}

// In the child: saves version 2 over version 1 where saving must fail, and
// checks that nothing claims success and the old files are whole. 0 when all holds.
int failingSaveKeepsVersionOne(bool temporaryNamesBlocked) {
    if (saveSettings(settingsVersion(2), false)) return 1;
    if (writeCareer(careerVersion(2))) return 2;
    if (settingsVersionIn(bytesOf(settingsPath)) != 1) return 3;
    if (careerVersionIn(bytesOf(careerPath)) != 1) return 4;
    if (!temporaryNamesBlocked && (fs::exists("base/menu.inf.tmp") || fs::exists("base/career.inf.tmp"))) return 5;
    return 0;
}

int saveVersionOne() {
    return saveSettings(settingsVersion(1), false) && writeCareer(careerVersion(1)) ? 0 : 10;
}

void expectBothFailuresSaid(const std::string& errors) {
    testing::Test::RecordProperty("stderr", errors);
    EXPECT_NE(errors.find("could not save the options to base/menu.inf: "), std::string::npos) << errors;
    EXPECT_NE(errors.find("could not save the career to base/career.inf: "), std::string::npos) << errors;
}

}  // namespace

TEST(KilledSave, EveryKillLeavesTheWholeOldOrTheWholeNewFile) {
    ScopedTempDir dir;
    ASSERT_TRUE(saveSettings(settingsVersion(0), false));
    ASSERT_TRUE(writeCareer(careerVersion(0)));
    std::mt19937 random(18);
    std::uniform_int_distribution<int> delayUs(0, 4000);
    int killedWhileWriting = 0, settingsSeen = 0, careerSeen = 0;
    for (int round = 0; round < 1000; ++round) {
        const pid_t child = fork();
        if (child == 0) {
            // Saves as the game does at exit, over and over with rising versions, until killed.
            for (int k = round * 100000 + 1;; ++k) {
                saveSettings(settingsVersion(k), false);
                writeCareer(careerVersion(k));
            }
        }
        ASSERT_GT(child, 0);
        std::this_thread::sleep_for(std::chrono::microseconds(delayUs(random)));
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        if (fs::exists("base/menu.inf.tmp") || fs::exists("base/career.inf.tmp")) ++killedWhileWriting;
        const int settings = settingsVersionIn(bytesOf(settingsPath));
        const int career = careerVersionIn(bytesOf(careerPath));
        ASSERT_GE(settings, settingsSeen) << "round " << round;  // -1: not a whole file
        ASSERT_GE(career, careerSeen) << "round " << round;
        settingsSeen = settings;
        careerSeen = career;
    }
    std::printf("1000 kills, %d of them inside a save (a temporary file left behind)\n", killedWhileWriting);
    EXPECT_GT(killedWhileWriting, 100);  // the kills do land inside saves
    EXPECT_GT(careerSeen, 0);
}

TEST(FailedSave, AFullDiskKeepsTheOldFiles) {
    ScopedTempDir dir;
    std::string errors;
    const int result = inChild(
        [] {
            if (privateTmpfs("base", "size=64k")) {
                if (saveVersionOne() != 0) return 10;
                // Fill the rest of the disk.
                const int fd = open("base/filler", O_WRONLY | O_CREAT, 0644);
                const std::vector<char> block(4096, 'x');
                while (write(fd, block.data(), block.size()) > 0) {}
                close(fd);
            } else {
                // No mount namespace here: a file-size limit fails the writes the same way.
                if (saveVersionOne() != 0) return 10;
                std::signal(SIGXFSZ, SIG_IGN);
                const rlimit limit{16, 16};
                setrlimit(RLIMIT_FSIZE, &limit);
            }
            return failingSaveKeepsVersionOne(false);
        },
        errors);
    EXPECT_EQ(result, 0) << errors;
    expectBothFailuresSaid(errors);
}

TEST(FailedSave, AReadOnlyFolderKeepsTheOldFiles) {
    ScopedTempDir dir;
    std::string errors;
    const int result = inChild(
        [] {
            if (privateTmpfs("base", "size=1m")) {
                if (saveVersionOne() != 0) return 10;
                if (mount(nullptr, "base", nullptr, MS_REMOUNT | MS_RDONLY, nullptr) != 0) return 11;
                return failingSaveKeepsVersionOne(false);
            }
            // No mount namespace here (and root writes through permission bits):
            // folders in the way of the temporary files refuse the saves instead.
            if (saveVersionOne() != 0) return 10;
            fs::create_directory("base/menu.inf.tmp");
            fs::create_directory("base/career.inf.tmp");
            return failingSaveKeepsVersionOne(true);
        },
        errors);
    EXPECT_EQ(result, 0) << errors;
    expectBothFailuresSaid(errors);
}

TEST(FailedSave, AFileWhereTheFolderShouldBeIsSaidAndNothingIsCreated) {
    ScopedTempDir dir;
    fs::remove("base");
    std::ofstream("base") << "a file, not a folder";
    testing::internal::CaptureStderr();
    EXPECT_FALSE(saveSettings(settingsVersion(1), false));
    EXPECT_FALSE(writeCareer(careerVersion(1)));
    expectBothFailuresSaid(testing::internal::GetCapturedStderr());
    EXPECT_TRUE(fs::is_regular_file("base"));
}

TEST(UnreadableFile, IsNeverWrittenOver) {
    ScopedTempDir dir;
    ASSERT_EQ(saveVersionOne(), 0);
    // Root reads any file whatever its permissions: the file layer stands in for one it may not read.
    for (const std::string path : {settingsPath, careerPath}) {
        SCOPED_TRACE(path);
        simulatedUnreadableFile = path;
        GameSettings settings;
        CareerState career;
        testing::internal::CaptureStderr();
        if (std::string(path) == settingsPath) {
            EXPECT_EQ(loadSettings(settings), ReadStatus::Unreadable);
            EXPECT_EQ(settings.colourDepth, GameSettings{}.colourDepth);  // the defaults
            EXPECT_FALSE(saveSettings(settingsVersion(2), false));
        } else {
            EXPECT_EQ(readCareer(career), ReadStatus::Unreadable);
            EXPECT_EQ(career.cash, 500.0f);  // a new career in memory
            EXPECT_FALSE(writeCareer(careerVersion(2)));
        }
        const std::string errors = testing::internal::GetCapturedStderr();
        EXPECT_NE(errors.find(std::string(path) + " cannot be read"), std::string::npos) << errors;
        EXPECT_NE(errors.find("left as it is"), std::string::npos) << errors;
        simulatedUnreadableFile.clear();
        EXPECT_EQ(settingsVersionIn(bytesOf(settingsPath)), 1);
        EXPECT_EQ(careerVersionIn(bytesOf(careerPath)), 1);
    }
    // Files that exist and are not files at all: a pipe is not waited on, a folder not replaced.
    fs::remove(careerPath);
    ASSERT_EQ(mkfifo(careerPath.c_str(), 0644), 0);
    fs::remove(settingsPath);
    fs::create_directory(settingsPath);
    GameSettings settings;
    CareerState career;
    testing::internal::CaptureStderr();
    EXPECT_EQ(loadSettings(settings), ReadStatus::Unreadable);
    EXPECT_EQ(readCareer(career), ReadStatus::Unreadable);
    EXPECT_FALSE(saveSettings(settings, false));
    EXPECT_FALSE(writeCareer(career));
    testing::internal::GetCapturedStderr();
    EXPECT_TRUE(fs::is_fifo(careerPath));
    EXPECT_TRUE(fs::is_directory(settingsPath));

    // Once the file reads again, it is the game's to write.
    fs::remove(careerPath);
    fs::remove(settingsPath);
    EXPECT_EQ(loadSettings(settings), ReadStatus::Missing);
    EXPECT_EQ(readCareer(career), ReadStatus::Missing);
    EXPECT_TRUE(saveSettings(settings, false));
    EXPECT_TRUE(writeCareer(career));
}
