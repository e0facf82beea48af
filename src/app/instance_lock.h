#pragma once

#include <string>
#include <string_view>

namespace qv {

// Keeps a second copy of the program from running in the same user's session: an advisory lock on
// a file named after the application. The file lies in the user's runtime directory
// ($XDG_RUNTIME_DIR) or, when that is unset, in a folder of the user's own under the temporary
// directory (made with mode 0700, and refused unless it is a real folder owned by the user and
// closed to others), so that other users can neither take the lock away nor point it elsewhere.
// A lock path that is a symbolic link, or not a regular file of the user's own, is refused.
// The kernel drops the lock when the process ends, however it ends, so a crashed copy never
// leaves a stale lock behind.
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
