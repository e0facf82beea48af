#include "replay/trace_columns.h"

#include <algorithm>
#include <array>
#include <cinttypes>
#include <cstdio>
#include <limits>
#include <vector>

#include "replay/whole_number.h"

namespace qv::replay {

namespace {

constexpr std::size_t kHashDigits = 16;

std::vector<std::string_view> splitAtSpaces(std::string_view text) {
    std::vector<std::string_view> parts;
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t end = std::min(text.find(' ', start), text.size());
        parts.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

std::optional<uint64_t> hash(std::string_view text) {
    const bool lowercaseHex = text.size() == kHashDigits && std::all_of(text.begin(), text.end(), [](char c) {
                                  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
                              });
    if (!lowercaseHex) {
        return std::nullopt;
    }
    uint64_t value = 0;
    for (const char c : text) {
        value = value * 16 + static_cast<uint64_t>(c <= '9' ? c - '0' : c - 'a' + 10);
    }
    return value;
}

}  // namespace

std::string formatColumns(const TraceColumns& c) {
    char line[256];
    std::snprintf(line, sizeof line, "%d %d %d %d %d %d %d %d %d %d %016" PRIx64 " %016" PRIx64, c.frame, c.score, c.combo,
                  c.hits, c.bonus, c.over, c.pouring, c.pourCount, c.nextHue, c.liveSparkles, c.viewHash, c.stateHash);
    return line;
}

std::optional<TraceColumns> parseColumns(std::span<const std::string_view> words, std::string& why) {
    if (words.size() != kColumnCount) {
        why = "expected the " + std::to_string(kColumnCount) + " columns '" + std::string(kColumnNames) + "', found " +
              std::to_string(words.size());
        return std::nullopt;
    }
    const std::vector<std::string_view> names = splitAtSpaces(kColumnNames);
    constexpr int32_t kLowest = std::numeric_limits<int32_t>::min();
    constexpr int32_t kHighest = std::numeric_limits<int32_t>::max();
    // The lowest and highest value of each number column: frames count from 0, flags are 0 or 1.
    constexpr std::array<std::pair<int32_t, int32_t>, kColumnCount - 2> kRanges{{
        {0, kHighest}, {kLowest, kHighest}, {kLowest, kHighest}, {kLowest, kHighest}, {kLowest, kHighest},
        {0, 1}, {0, 1}, {kLowest, kHighest}, {kLowest, kHighest}, {kLowest, kHighest},
    }};
    std::array<int32_t, kColumnCount - 2> numbers{};
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        const auto number = parseWholeNumber(words[i], kRanges[i].first, kRanges[i].second);
        if (!number) {
            why = std::string(names[i]) + " is not a whole number from " + std::to_string(kRanges[i].first) + " to " +
                  std::to_string(kRanges[i].second);
            return std::nullopt;
        }
        numbers[i] = *number;
    }
    const auto view = hash(words[10]);
    const auto state = hash(words[11]);
    if (!view || !state) {
        why = std::string(names[view ? 11 : 10]) + " is not 16 lowercase hex digits";
        return std::nullopt;
    }
    const auto [frame, score, combo, hits, bonus, over, pouring, pourCount, nextHue, liveSparkles] = numbers;
    return TraceColumns{frame, score, combo, hits, bonus, over, pouring, pourCount, nextHue, liveSparkles, *view, *state};
}

std::optional<ColumnDifference> firstDifference(const TraceColumns& expected, const TraceColumns& actual) {
    const std::string expectedText = formatColumns(expected);
    const std::string actualText = formatColumns(actual);
    const std::vector<std::string_view> names = splitAtSpaces(kColumnNames);
    const std::vector<std::string_view> expectedWords = splitAtSpaces(expectedText);
    const std::vector<std::string_view> actualWords = splitAtSpaces(actualText);
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (expectedWords[i] != actualWords[i]) {
            return ColumnDifference{std::string(names[i]), std::string(expectedWords[i]), std::string(actualWords[i])};
        }
    }
    return std::nullopt;
}

}  // namespace qv::replay
