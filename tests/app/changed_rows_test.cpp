// Which rows presenting must show: what was written, clipped to the picture, joined across small gaps.
#include "app/changed_rows.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(ChangedRows, SpansOfWrittenRowsClippedJoinedAndTakenOnce) {
    ChangedRows rows;
    rows.reset(100);
    EXPECT_EQ(rows.take(0), (std::vector<RowSpan>{{0, 100}})) << "nothing has been shown yet";
    EXPECT_TRUE(rows.take(0).empty());
    rows.add(-5, 8);    // rows 0 to 2
    rows.add(10, 4);    // 10 to 13
    rows.add(16, 2);    // 16 to 17: two rows after the last span
    rows.add(21, 1);    // three rows after it
    rows.add(95, 50);   // 95 to 99
    rows.add(40, 0);
    rows.add(40, -3);
    EXPECT_EQ(rows.take(3), (std::vector<RowSpan>{{0, 3}, {10, 8}, {21, 1}, {95, 5}}));
    rows.add(0, 1), rows.add(99, 1);
    EXPECT_EQ(rows.take(0), (std::vector<RowSpan>{{0, 1}, {99, 1}}));
    rows.reset(100);
    EXPECT_EQ(rows.take(0), (std::vector<RowSpan>{{0, 100}}));
}

}  // namespace
}  // namespace qv
