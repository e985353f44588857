// A scratch copy of the run directory: the executables are used in place, and
// base/ holds links to the generated content, so the game's own files
// (menu.inf, career.inf) are written into the scratch copy only.
#pragma once

#include "support/temp_dir.h"

#include <cstdio>
#include <filesystem>
#include <string>

inline void linkGeneratedContent(const std::filesystem::path& base) {
    namespace fs = std::filesystem;
    fs::path generated = fs::path(NIGHTRUN_RUN_DIR) / "base";
    std::error_code ignored;
    for (const fs::directory_entry& entry : fs::directory_iterator(generated, ignored)) {
        std::string name = entry.path().filename().string();
        if (name == "menu.inf" || name == "career.inf" || name == "stats") continue;
        fs::create_symlink(entry.path(), base / name, ignored);
    }
}

// Runs a shell command, returning its exit status and standard output.
inline int runCommand(const std::string& command, std::string& output) {
    output.clear();
    std::FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return -1;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
    int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
