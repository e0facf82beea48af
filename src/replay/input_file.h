#pragma once

#include <array>
#include <streambuf>
#include <string>

namespace qv::replay {

// A file read as a stream that remembers why reading stopped: a standard file stream turns a
// failed read (of a directory, or of a disk that fails midway) into a quiet end of file.
class InputFile : public std::streambuf {
public:
    // Opens `path` for reading; on failure error() holds the system's error number.
    explicit InputFile(const std::string& path);
    // Reads from an open descriptor, which it then owns.
    explicit InputFile(int descriptor) : descriptor_(descriptor) {}
    ~InputFile() override;
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    bool isOpen() const { return descriptor_ >= 0; }
    // The error number of the failed open or read, 0 when none failed.
    int error() const { return error_; }

protected:
    int_type underflow() override;

private:
    int descriptor_ = -1;
    int error_ = 0;
    std::array<char, 64 * 1024> buffer_{};
};

}  // namespace qv::replay
