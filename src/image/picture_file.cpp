#include "image/picture_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>

namespace qv {

namespace {

bool report(std::string* error, const std::string& path, const std::string& reason) {
    if (error != nullptr) {
        *error = "cannot write " + path + ": " + reason;
    }
    return false;
}

// 0, or the system's error number of the first failed write.
int writeAll(int descriptor, std::span<const uint8_t> bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(descriptor, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return written < 0 ? errno : ENOSPC;
        }
        bytes = bytes.subspan(static_cast<std::size_t>(written));
    }
    return 0;
}

// The permissions a newly created file gets, as open() would give them.
mode_t newFileMode() {
    const mode_t mask = ::umask(0);  // reading the mask means setting it; put it straight back
    ::umask(mask);
    return 0666 & ~mask;
}

bool writeInPlace(const std::string& path, std::span<const uint8_t> bytes, std::string* error) {
    const int descriptor = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0) {
        return report(error, path, std::strerror(errno));
    }
    const int failure = writeAll(descriptor, bytes);
    const int closeFailure = ::close(descriptor) == 0 ? 0 : errno;
    if (failure != 0 || closeFailure != 0) {
        return report(error, path, std::strerror(failure != 0 ? failure : closeFailure));
    }
    return true;
}

// Through a temporary file beside `path`, renamed over it when complete. `existing` is the file
// it replaces, if any.
bool writeByRenaming(const std::string& path, std::span<const uint8_t> bytes, const std::optional<struct stat>& existing,
                     std::string* error) {
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    std::string temporary = (slash == std::string::npos ? std::string() : folder) + "." + name + ".XXXXXX";
    const int descriptor = ::mkstemp(temporary.data());
    if (descriptor < 0) {
        return report(error, path, std::string("cannot make a temporary file in ") + folder + ": " + std::strerror(errno));
    }
    int failure = 0;
    if (existing) {
        // Best effort: only the owner's permission bits are sure to carry over for a normal user.
        [[maybe_unused]] const int owned = ::fchown(descriptor, existing->st_uid, existing->st_gid);
        failure = ::fchmod(descriptor, existing->st_mode & 07777) == 0 ? 0 : errno;
    } else {
        failure = ::fchmod(descriptor, newFileMode()) == 0 ? 0 : errno;
    }
    if (failure == 0) {
        failure = writeAll(descriptor, bytes);
    }
    if (::close(descriptor) != 0 && failure == 0) {
        failure = errno;
    }
    if (failure == 0 && ::rename(temporary.c_str(), path.c_str()) != 0) {
        failure = errno;
    }
    if (failure != 0) {
        ::unlink(temporary.c_str());  // ours alone: the path itself is never removed
        return report(error, path, std::strerror(failure));
    }
    return true;
}

}  // namespace

bool writeWholeFile(const std::string& path, std::span<const uint8_t> bytes, std::string* error) {
    if (path.empty()) {
        return report(error, "''", "no file name");
    }
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0) {
        if (errno != ENOENT) {
            return report(error, path, std::strerror(errno));
        }
        return writeByRenaming(path, bytes, std::nullopt, error);
    }
    if (S_ISREG(status.st_mode)) {
        return writeByRenaming(path, bytes, status, error);
    }
    return writeInPlace(path, bytes, error);
}

}  // namespace qv
