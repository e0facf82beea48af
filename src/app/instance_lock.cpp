#include "app/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <system_error>

namespace qv {

namespace {

std::optional<std::string> sessionDirectory() {
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime != nullptr && *runtime != '\0') {
        return runtime;
    }
    return std::nullopt;
}

// A name may hold anything; only a plain file name may reach the file system.
std::string plainName(std::string_view name) {
    std::string file;
    for (const char c : name) {
        file += (c == '/' || c == '\0') ? '_' : c;
    }
    return file;
}

// Without a session directory, a folder of this user's own in the shared temporary directory:
// one lock per user, which nobody else can create, remove or replace files in.
std::string privateFolderFor(std::string_view name) {
    std::error_code ignored;
    const auto temporary = std::filesystem::temp_directory_path(ignored);
    const std::string base = temporary.empty() ? std::string("/tmp") : temporary.string();
    return base + "/" + plainName(name) + "-" + std::to_string(::geteuid());
}

std::string octal(mode_t mode) {
    char text[8];
    std::snprintf(text, sizeof text, "%04o", static_cast<unsigned>(mode & 07777));
    return text;
}

// The descriptor of the lock's folder, or -1 with `error` saying why it is not to be used.
int openPrivateFolder(const std::string& folder, std::string& error) {
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        error = "cannot make the lock folder " + folder + ": " + std::strerror(errno);
        return -1;
    }
    const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (descriptor < 0) {
        error = "cannot use the lock folder " + folder + ": " +
                (errno == ENOTDIR || errno == ELOOP ? std::string("it is not a folder") : std::strerror(errno));
        return -1;
    }
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || status.st_uid != ::geteuid() || (status.st_mode & 077) != 0) {
        error = "refusing the lock folder " + folder + ": it must belong to this user (uid " +
                std::to_string(::geteuid()) + ") and be closed to others, but it belongs to uid " +
                std::to_string(status.st_uid) + " with mode " + octal(status.st_mode);
        ::close(descriptor);
        return -1;
    }
    return descriptor;
}

// Opens the lock file without following a link, and keeps it only when it is a regular file of
// this user's own: anything else at that path was put there by someone else.
int openLockFile(int folder, const std::string& path, const std::string& fileName, std::string& error) {
    const int descriptor =
        ::openat(folder, fileName.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0600);
    if (descriptor < 0) {
        error = errno == ELOOP ? "refusing the lock file " + path + ": it is a symbolic link"
                               : "cannot open the lock file " + path + ": " + std::strerror(errno);
        return -1;
    }
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode) || status.st_uid != ::geteuid()) {
        error = "refusing the lock file " + path + ": it is not a regular file of this user's own";
        ::close(descriptor);
        return -1;
    }
    return descriptor;
}

}  // namespace

std::string InstanceLock::pathFor(std::string_view name) {
    return sessionDirectory().value_or(privateFolderFor(name)) + "/" + plainName(name) + ".lock";
}

InstanceLock::Result InstanceLock::acquire(std::string_view name) {
    release();
    const auto session = sessionDirectory();
    const std::string path = pathFor(name);
    int folder = -1;
    if (session) {
        folder = ::open(session->c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (folder < 0) {
            error_ = "cannot open the lock file " + path + ": " + std::strerror(errno);
        }
    } else {
        folder = openPrivateFolder(privateFolderFor(name), error_);
    }
    if (folder < 0) {
        return Result::unavailable;
    }
    // Close-on-exec: a child process must not keep the lock alive after we end.
    const int fd = openLockFile(folder, path, plainName(name) + ".lock", error_);
    ::close(folder);
    if (fd < 0) {
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
