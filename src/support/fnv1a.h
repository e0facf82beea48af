#pragma once

#include <cstddef>
#include <cstdint>

namespace qv {

// 64-bit FNV-1a: the hash of the trace's columns and of a replay's end line.
class Fnv1a {
public:
    static constexpr uint64_t kOffsetBasis = 0xcbf29ce484222325ULL;
    static constexpr uint64_t kPrime = 0x100000001b3ULL;

    void add(uint8_t byte) {
        hash_ ^= byte;
        hash_ *= kPrime;
    }
    void add(const uint8_t* bytes, std::size_t count) {
        uint64_t hash = hash_;  // kept local: this runs over whole pictures and planes every frame
        for (std::size_t i = 0; i < count; ++i) {
            hash = (hash ^ bytes[i]) * kPrime;
        }
        hash_ = hash;
    }
    uint64_t value() const { return hash_; }

private:
    uint64_t hash_ = kOffsetBasis;
};

}  // namespace qv
