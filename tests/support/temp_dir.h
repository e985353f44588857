// A scratch working directory for a test: created empty, entered, and removed
// again (with the previous working directory restored) when the test ends.
#pragma once

#include <filesystem>
#include <string>
#include <unistd.h>

class ScopedTempDir {
public:
    ScopedTempDir() {
        previous_ = std::filesystem::current_path();
        std::string pattern = (std::filesystem::temp_directory_path() / "nightrun-test-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
        std::filesystem::current_path(path_);
        std::filesystem::create_directories(path_ / "base");
    }
    ~ScopedTempDir() {
        std::error_code ignored;
        std::filesystem::current_path(previous_, ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    ScopedTempDir(const ScopedTempDir&) = delete;
    ScopedTempDir& operator=(const ScopedTempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path previous_;
    std::filesystem::path path_;
};
