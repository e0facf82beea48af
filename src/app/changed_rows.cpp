#include "app/changed_rows.h"

#include <algorithm>

namespace qv {

void ChangedRows::reset(int32_t height) { changed_.assign(static_cast<std::size_t>(std::max(height, 0)), 1); }

void ChangedRows::add(int32_t top, int32_t height) {
    const int64_t first = std::max<int64_t>(top, 0);
    const int64_t end = std::min<int64_t>(int64_t{top} + std::max(height, 0), static_cast<int64_t>(changed_.size()));
    if (first < end) {
        std::fill(changed_.begin() + first, changed_.begin() + end, uint8_t{1});
    }
}

std::vector<RowSpan> ChangedRows::take(int32_t joinGap) {
    std::vector<RowSpan> spans;
    const auto rows = static_cast<int32_t>(changed_.size());
    for (int32_t row = 0; row < rows;) {
        if (changed_[row] == 0) {
            ++row;
            continue;
        }
        int32_t end = row + 1;
        while (end < rows && changed_[end] != 0) {
            ++end;
        }
        if (!spans.empty() && row - (spans.back().top + spans.back().height) < joinGap) {
            spans.back().height = end - spans.back().top;
        } else {
            spans.push_back(RowSpan{row, end - row});
        }
        row = end;
    }
    std::fill(changed_.begin(), changed_.end(), uint8_t{0});
    return spans;
}

}  // namespace qv
