#pragma once

#include <string>
#include <string_view>

namespace qv {

// Keeps a second copy of the program from running: an advisory lock on a file named after the
// application in the user's runtime directory ($XDG_RUNTIME_DIR, or the temporary directory when
// that is unset). The kernel drops the lock when the process ends, however it ends, so a crashed
// copy never leaves a stale lock behind.
class InstanceLock {
public:
    enum class Result { acquired, heldElsewhere, unavailable };

    InstanceLock() = default;
    ~InstanceLock() { release(); }
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // Takes the lock for `name` without waiting. After a failure, error() says why.
    Result acquire(std::string_view name);
    void release();
    bool held() const { return fd_ >= 0; }
    const std::string& error() const { return error_; }

    // The file that stands for `name`; characters that cannot be part of a file name are replaced.
    static std::string pathFor(std::string_view name);

private:
    int fd_ = -1;
    std::string error_;
};

}  // namespace qv
