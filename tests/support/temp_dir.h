// Scratch directories for tests: a fresh directory under the system temp dir,
// removed again with everything in it when the test ends, and a scoped switch
// of the working directory.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>
#include <unistd.h>

// A fresh empty directory named after `label`, left as the working directory is.
class TempDir {
public:
    explicit TempDir(const std::string& label = "test") {
        std::string pattern = (std::filesystem::temp_directory_path() / ("nightrun-" + label + "-XXXXXX")).string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

// Switches the working directory for a block and switches it back at the end.
class ScopedWorkingDir {
public:
    explicit ScopedWorkingDir(const std::filesystem::path& dir) : previous_(std::filesystem::current_path()) {
        std::filesystem::current_path(dir);
    }
    ~ScopedWorkingDir() {
        std::error_code ignored;
        std::filesystem::current_path(previous_, ignored);
    }
    ScopedWorkingDir(const ScopedWorkingDir&) = delete;
    ScopedWorkingDir& operator=(const ScopedWorkingDir&) = delete;

private:
    std::filesystem::path previous_;
};

// A scratch working directory for a test: created with an empty base/, entered,
// and removed again (with the previous working directory restored) at the end.
class ScopedTempDir {
public:
    explicit ScopedTempDir(const std::string& label = "test") : dir_(label), cwd_(dir_.path()) {
        std::filesystem::create_directories(dir_.path() / "base");
    }
    const std::filesystem::path& path() const { return dir_.path(); }
    std::string file(const std::string& name) const { return dir_.file(name); }

private:
    TempDir dir_;  // declared first: removed after the working directory is restored
    ScopedWorkingDir cwd_;
};
