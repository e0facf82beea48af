#pragma once

#include <cstdint>
#include <cstdio>
#include <span>
#include <vector>

namespace qv {

// The bytes of a BMP file after its headers, read forward only. A stream that can seek says how
// many it still holds; one that cannot (a pipe) is held in memory first, in steps that grow with the
// data that has arrived, so that a header's claim alone never sets memory aside.
class BmpBody {
public:
    explicit BmpBody(std::FILE* stream);

    bool sizeKnown() const { return available_ != kUnknownSize; }
    std::size_t available() const { return available_; }

    // Holds up to `bytes` from the current place on in memory, fewer when the stream ends first.
    // False when memory runs out.
    bool holdUpTo(std::size_t bytes);
    // The bytes held from the current place on.
    std::span<const uint8_t> held() const { return std::span(held_).subspan(position_); }

    // Exactly `bytes`, or false when fewer are left.
    bool read(void* destination, std::size_t bytes);
    bool skip(std::size_t bytes);

private:
    static constexpr std::size_t kUnknownSize = SIZE_MAX;

    std::FILE* stream_;
    std::size_t available_;
    bool holding_ = false;
    std::vector<uint8_t> held_;
    std::size_t position_ = 0;
};

}  // namespace qv
