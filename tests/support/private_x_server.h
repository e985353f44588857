// A private Xvfb for a test that needs its own screen size; it picks a free
// display itself and ends with the object. -noreset keeps it from resetting
// when its last client disconnects, which a client connecting at that moment
// would see as no server at all.
#pragma once

#include <csignal>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

class PrivateXServer {
public:
    explicit PrivateXServer(const char* screen) {
        int fds[2];
        if (pipe(fds) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            close(fds[0]);
            const std::string fd = std::to_string(fds[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen, "-nolisten", "tcp",
                   "-noreset", (char*)nullptr);
            _exit(127);
        }
        close(fds[1]);
        char c;
        std::string number;
        while (pid_ > 0 && read(fds[0], &c, 1) == 1 && c != '\n') number += c;
        close(fds[0]);
        if (!number.empty()) display_ = ":" + number;
    }
    ~PrivateXServer() {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
    PrivateXServer(const PrivateXServer&) = delete;
    PrivateXServer& operator=(const PrivateXServer&) = delete;
    // ":N", empty when the server did not start.
    const std::string& display() const { return display_; }

private:
    pid_t pid_ = -1;
    std::string display_;
};
