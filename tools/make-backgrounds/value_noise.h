#pragma once

#include <cstdint>

namespace qv::tools {

// Smooth, repeatable noise from a hashed lattice. Only +, -, * and / on doubles, all exactly
// rounded, so the pictures come out byte for byte the same on every machine.
class ValueNoise {
public:
    explicit ValueNoise(uint32_t seed) : seed_(seed) {}

    // A hash of (x, y) in [0, 1).
    double lattice(int32_t x, int32_t y) const;
    // Noise in [0, 1) with features about `cell` pixels across.
    double smooth(double x, double y, double cell) const;
    // `octaves` layers of smooth noise, each half the size and half the weight of the one before,
    // normalised back to [0, 1).
    double layered(double x, double y, double cell, int32_t octaves) const;

private:
    uint32_t seed_;
};

}  // namespace qv::tools
