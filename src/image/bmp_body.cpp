#include "image/bmp_body.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>

namespace qv {

namespace {

constexpr std::size_t kFirstHoldStep = std::size_t{64} << 10;

// The bytes left between the stream's position and its end, so that a tiny file cannot make the
// reader set aside a large block before it finds the data missing. Unknown for a stream that
// cannot seek.
std::size_t remainingBytes(std::FILE* stream) {
    const long position = std::ftell(stream);
    if (position < 0 || std::fseek(stream, 0, SEEK_END) != 0) {
        return SIZE_MAX;
    }
    const long end = std::ftell(stream);
    if (std::fseek(stream, position, SEEK_SET) != 0 || end < position) {
        return SIZE_MAX;
    }
    return static_cast<std::size_t>(end - position);
}

}  // namespace

BmpBody::BmpBody(std::FILE* stream) : stream_(stream), available_(remainingBytes(stream)) {}

bool BmpBody::holdUpTo(std::size_t bytes) {
    if (!holding_) {  // from here on every read comes from memory
        holding_ = true;
        held_.clear();
        position_ = 0;
    }
    const std::size_t wanted = position_ + std::min(bytes, SIZE_MAX - position_);
    std::size_t step = std::max(kFirstHoldStep, held_.size());
    try {
        while (held_.size() < wanted) {
            const std::size_t start = held_.size();
            const std::size_t asked = std::min(wanted - start, step);
            held_.resize(start + asked);
            const std::size_t got = std::fread(held_.data() + start, 1, asked, stream_);
            held_.resize(start + got);
            if (got < asked) {
                break;
            }
            step = held_.size();
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    available_ = held_.size() - position_;
    return true;
}

bool BmpBody::read(void* destination, std::size_t bytes) {
    if (bytes > available_) {
        return false;
    }
    available_ -= bytes;
    if (!holding_) {
        return std::fread(destination, 1, bytes, stream_) == bytes;
    }
    std::memcpy(destination, held_.data() + position_, bytes);
    position_ += bytes;
    return true;
}

bool BmpBody::skip(std::size_t bytes) {
    if (bytes > available_) {
        return false;
    }
    available_ -= bytes;
    if (holding_) {
        position_ += bytes;
        return true;
    }
    // In steps that a long holds, which on some targets is 32 bits.
    for (std::size_t left = bytes; left > 0;) {
        const std::size_t step = std::min<std::size_t>(left, LONG_MAX);
        if (std::fseek(stream_, static_cast<long>(step), SEEK_CUR) != 0) {
            return false;
        }
        left -= step;
    }
    return true;
}

}  // namespace qv
