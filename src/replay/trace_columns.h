#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace qv::replay {

// What the game shows after a frame, as the first twelve columns of the runner's trace: a replay's
// end line holds them for its last frame, so that any player of it can tell it ended the same way.
struct TraceColumns {
    int32_t frame = 0;  // 1-based; 0 before the first frame
    int32_t score = 0;
    int32_t combo = 0;
    int32_t hits = 0;
    int32_t bonus = 0;
    int32_t over = 0;     // 1 once the game is over
    int32_t pouring = 0;  // 1 while a pour runs
    int32_t pourCount = 0;
    int32_t nextHue = 0;
    int32_t liveSparkles = 0;
    uint64_t viewHash = 0;
    uint64_t stateHash = 0;

    bool operator==(const TraceColumns&) const = default;
};

inline constexpr std::string_view kColumnNames =
    "frame score combo hits bonus over pouring pour_count next_hue live_sparkles view_hash state_hash";
inline constexpr std::size_t kColumnCount = 12;

// The columns as the trace writes them, separated by single spaces; the hashes as 16 lowercase hex digits.
std::string formatColumns(const TraceColumns& columns);

// Reads the twelve words that formatColumns writes. Nothing, with why in `why`, for anything else.
std::optional<TraceColumns> parseColumns(std::span<const std::string_view> words, std::string& why);

// The first column in which two sets of columns differ: its name and both values as written.
struct ColumnDifference {
    std::string name;
    std::string expected;
    std::string actual;
};
std::optional<ColumnDifference> firstDifference(const TraceColumns& expected, const TraceColumns& actual);

}  // namespace qv::replay
