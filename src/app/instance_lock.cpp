#include "app/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace qv {

namespace {

std::string runtimeDirectory() {
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime != nullptr && *runtime != '\0') {
        return runtime;
    }
    std::error_code ignored;
    const auto temporary = std::filesystem::temp_directory_path(ignored);
    return temporary.empty() ? std::string("/tmp") : temporary.string();
}

// A name may hold anything; only a plain file name may reach the file system.
std::string fileNameFor(std::string_view name) {
    std::string file;
    for (const char c : name) {
        file += (c == '/' || c == '\0') ? '_' : c;
    }
    return file + ".lock";
}

}  // namespace

std::string InstanceLock::pathFor(std::string_view name) {
    return runtimeDirectory() + "/" + fileNameFor(name);
}

InstanceLock::Result InstanceLock::acquire(std::string_view name) {
    release();
    const std::string path = pathFor(name);
    // Close-on-exec: a child process must not keep the lock alive after we end.
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        error_ = "cannot open the lock file " + path + ": " + std::strerror(errno);
        return Result::unavailable;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int cause = errno;
        ::close(fd);
        if (cause == EWOULDBLOCK) {
            error_ = "another copy is already running (it holds " + path + ")";
            return Result::heldElsewhere;
        }
        error_ = "cannot lock " + path + ": " + std::strerror(cause);
        return Result::unavailable;
    }
    fd_ = fd;
    error_.clear();
    return Result::acquired;
}

void InstanceLock::release() {
    if (fd_ >= 0) {
        // The file stays: removing it would let a third copy lock a new file while a second still
        // waits on the old one.
        ::close(fd_);
        fd_ = -1;
    }
}

}  // namespace qv
