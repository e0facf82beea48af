#pragma once

#include <cstdint>

#include "replay/trace_columns.h"

namespace qv {

class SandField;
class SandGame;

// 64-bit FNV-1a over the visible cells of the pair the last frame drew: per cell the kind byte,
// then the hue byte for a bead or a 0 byte otherwise; rows top to bottom, cells left to right.
uint64_t viewHash(const SandField& field);
// 64-bit FNV-1a over all of hue[0], hue[1], kind[0], kind[1], in that order.
uint64_t stateHash(const SandField& field);

// What the game shows after frame `frame` has run: the trace's first twelve columns, which a
// replay's end line repeats.
replay::TraceColumns frameColumns(int32_t frame, const SandGame& game);

}  // namespace qv
