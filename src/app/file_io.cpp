#include "app/file_io.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

std::string simulatedUnreadableFile;

namespace {

void setReason(std::string* reason, const std::string& text) {
    if (reason) *reason = text;
}

std::string folderOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

ReadStatus readFileBounded(const std::string& path, size_t maxBytes, std::vector<uint8_t>& bytes,
                           std::string* reason) {
    bytes.clear();
    if (!simulatedUnreadableFile.empty() && path == simulatedUnreadableFile) {
        setReason(reason, std::strerror(EACCES));
        return ReadStatus::Unreadable;
    }
    // O_NONBLOCK: opening a pipe must not wait for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        const int error = errno;
        setReason(reason, std::strerror(error));
        return error == ENOENT || error == ENOTDIR ? ReadStatus::Missing : ReadStatus::Unreadable;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        setReason(reason, S_ISDIR(info.st_mode) ? "it is a folder" : "it is not a regular file");
        ::close(fd);
        return ReadStatus::Unreadable;
    }
    // The size is a hint only (the file may change under us): never read past maxBytes.
    const size_t expected = info.st_size > 0 ? std::min(size_t(info.st_size), maxBytes) : 0;
    bytes.resize(expected);
    size_t got = 0;
    bool failed = false;
    while (got < maxBytes) {
        if (got == bytes.size()) bytes.resize(std::min(maxBytes, std::max<size_t>(bytes.size() * 2, 4096)));
        const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            setReason(reason, std::strerror(errno));
            failed = true;
            break;
        }
        if (n == 0) break;
        got += size_t(n);
    }
    ::close(fd);
    if (failed) {
        bytes.clear();
        return ReadStatus::Unreadable;
    }
    bytes.resize(got);
    return ReadStatus::Ok;
}

bool fileExists(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return false;
    ::close(fd);
    return true;
}

bool writeFileAtomic(const std::string& path, const void* data, size_t size, std::string* reason) {
    const std::string temp = path + ".tmp";
    // A temporary left by a killed save is stale; a folder or anything else of
    // that name makes the exclusive create below fail rather than be written through.
    ::unlink(temp.c_str());
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0) {
        setReason(reason, std::strerror(errno));
        return false;
    }
    const uint8_t* p = static_cast<const uint8_t*>(data);
    size_t left = size;
    int error = 0;
    while (left > 0) {
        const ssize_t w = ::write(fd, p, left);
        if (w < 0 && errno == EINTR) continue;
        if (w <= 0) {
            error = w < 0 ? errno : EIO;
            break;
        }
        p += w;
        left -= size_t(w);
    }
    if (error == 0 && ::fsync(fd) != 0) error = errno;
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error == 0 && std::rename(temp.c_str(), path.c_str()) != 0) error = errno;
    if (error != 0) {
        ::unlink(temp.c_str());
        setReason(reason, std::strerror(error));
        return false;
    }
    // The rename itself reaches the disk only with its folder.
    const int dir = ::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

bool saveGameFile(const std::string& path, const void* data, size_t size, const char* what) {
    std::string reason;
    if (writeFileAtomic(path, data, size, &reason)) return true;
    std::fprintf(stderr, "Nightrun: could not save %s to %s: %s (the file on disk is unchanged)\n", what, path.c_str(),
                 reason.c_str());
    return false;
}
