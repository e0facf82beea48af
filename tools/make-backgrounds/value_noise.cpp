#include "value_noise.h"

namespace qv::tools {

namespace {

uint32_t mix(uint32_t value) {
    value ^= value >> 16;
    value *= 0x7FEB352Du;
    value ^= value >> 15;
    value *= 0x846CA68Bu;
    value ^= value >> 16;
    return value;
}

// Eases the lattice blend so cell edges do not show as creases.
double ease(double t) { return t * t * (3.0 - 2.0 * t); }

int32_t floorToInt(double value) {
    const auto truncated = static_cast<int32_t>(value);
    return value < truncated ? truncated - 1 : truncated;
}

}  // namespace

double ValueNoise::lattice(int32_t x, int32_t y) const {
    const uint32_t hash = mix(static_cast<uint32_t>(x) * 0x9E3779B1u ^ mix(static_cast<uint32_t>(y) + seed_));
    return (hash >> 8) / 16777216.0;
}

double ValueNoise::smooth(double x, double y, double cell) const {
    const double u = x / cell;
    const double v = y / cell;
    const int32_t column = floorToInt(u);
    const int32_t row = floorToInt(v);
    const double fx = ease(u - column);
    const double fy = ease(v - row);
    const double top = lattice(column, row) + (lattice(column + 1, row) - lattice(column, row)) * fx;
    const double bottom = lattice(column, row + 1) + (lattice(column + 1, row + 1) - lattice(column, row + 1)) * fx;
    return top + (bottom - top) * fy;
}

double ValueNoise::layered(double x, double y, double cell, int32_t octaves) const {
    double sum = 0.0;
    double weight = 1.0;
    double total = 0.0;
    for (int32_t octave = 0; octave < octaves; ++octave) {
        // Each layer is shifted so that the lattices of different sizes do not line up.
        sum += weight * smooth(x + 37.0 * octave, y + 91.0 * octave, cell);
        total += weight;
        weight /= 2.0;
        cell /= 2.0;
    }
    return sum / total;
}

}  // namespace qv::tools
