#pragma once

#include <cstdint>
#include <vector>

namespace qv {

// Rows [top, top + height) of a picture, counted from the top.
struct RowSpan {
    int32_t top = 0;
    int32_t height = 0;
    bool operator==(const RowSpan&) const = default;
};

// Which rows of the back buffer were written since they were last shown, so that presenting can
// copy and show only those. It starts with every row changed: nothing has been shown yet.
class ChangedRows {
public:
    // Forgets what was shown: every one of `height` rows counts as changed.
    void reset(int32_t height);
    // Rows written; the part outside the picture is left out.
    void add(int32_t top, int32_t height);
    int32_t height() const { return static_cast<int32_t>(changed_.size()); }
    // The changed rows as spans, top to bottom, joining spans that fewer than `joinGap` unchanged
    // rows apart (one larger update costs less than many small ones); afterwards nothing counts
    // as changed.
    std::vector<RowSpan> take(int32_t joinGap);

private:
    std::vector<uint8_t> changed_;
};

}  // namespace qv
