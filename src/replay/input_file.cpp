#include "replay/input_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace qv::replay {

InputFile::InputFile(const std::string& path) : descriptor_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
    if (descriptor_ < 0) {
        error_ = errno;
    }
}

InputFile::~InputFile() {
    if (descriptor_ >= 0) {
        ::close(descriptor_);
    }
}

InputFile::int_type InputFile::underflow() {
    if (descriptor_ < 0 || error_ != 0) {
        return traits_type::eof();
    }
    ssize_t count = 0;
    do {
        count = ::read(descriptor_, buffer_.data(), buffer_.size());
    } while (count < 0 && errno == EINTR);
    if (count < 0) {
        error_ = errno;
    }
    if (count <= 0) {
        return traits_type::eof();
    }
    setg(buffer_.data(), buffer_.data(), buffer_.data() + count);
    return traits_type::to_int_type(buffer_[0]);
}

}  // namespace qv::replay
