#include <gtest/gtest.h>

#include <ostream>
#include <set>
#include <vector>

#include "field_fixture.h"

namespace qv {
namespace {

class Carve : public testing::ReadyField {
protected:
    // Front kind plane filled with beads in the interior (walls stay), so every emptied cell shows.
    void SetUp() override {
        ReadyField::SetUp();
        for (int32_t y = 0; y < field.height; ++y) {
            for (int32_t x = 0; x < field.width; ++x) {
                field.frontKind()[field.gridIndex(x, y)] = kFirstBead;
                field.frontHue()[field.gridIndex(x, y)] = 42;
            }
        }
    }

    std::set<int32_t> emptiedSince(const std::vector<uint8_t>& before) const {
        std::set<int32_t> cells;
        for (int32_t i = 0; i < field.cellCount; ++i) {
            if (before[i] != kEmpty && field.frontKind()[i] == kEmpty) cells.insert(i);
        }
        return cells;
    }
    std::vector<uint8_t> frontKinds() const { return {field.frontKind(), field.frontKind() + field.cellCount}; }
};

// One step of a sparkle at grid index i with a given countdown: the cells it empties (as offsets
// in columns and rows), and where it ends.
struct StepCase {
    int32_t countdown;
    std::vector<std::pair<int32_t, int32_t>> emptied;  // (column, row) offsets
    bool movesDown;
};

std::ostream& operator<<(std::ostream& out, const StepCase& c) { return out << "countdown " << c.countdown; }

class CarveStep : public Carve, public ::testing::WithParamInterface<StepCase> {};

TEST_P(CarveStep, EmptiesItsShapeAndMovesAsThePatternSays) {
    const StepCase c = GetParam();
    const int32_t start = field.gridIndex(50, 70);
    field.sparkles[4] = Sparkle{start, c.countdown};
    const auto before = frontKinds();
    field.carve();
    std::set<int32_t> expected;
    for (const auto& [column, row] : c.emptied) expected.insert(start + row * field.stride() + column);
    EXPECT_EQ(emptiedSince(before), expected);
    EXPECT_EQ(field.sparkles[4].cell, c.movesDown ? start + field.stride() : start);
    EXPECT_EQ(field.sparkles[4].countdown, c.countdown - 1);
    EXPECT_EQ(field.liveSparkles, 1);
    EXPECT_EQ(field.frontHue()[start], 42);  // only kinds change
}

const std::vector<std::pair<int32_t, int32_t>> kCell{{0, 0}};
const std::vector<std::pair<int32_t, int32_t>> kCellAndBelow{{0, 0}, {0, 1}};
const std::vector<std::pair<int32_t, int32_t>> kBlock2x2{{0, 0}, {1, 0}, {0, 1}, {1, 1}};
const std::vector<std::pair<int32_t, int32_t>> kBlock3x2{{-1, 0}, {0, 0}, {1, 0}, {-1, 1}, {0, 1}, {1, 1}};

INSTANTIATE_TEST_SUITE_P(
    Pattern, CarveStep,
    ::testing::Values(StepCase{16, kCell, false}, StepCase{15, kCell, false}, StepCase{12, kCell, false},
                      StepCase{10, kCellAndBelow, true}, StepCase{9, kCellAndBelow, false},
                      StepCase{7, kCellAndBelow, false}, StepCase{6, kBlock2x2, false}, StepCase{4, kBlock2x2, false},
                      StepCase{3, kBlock3x2, true}, StepCase{2, kBlock2x2, false}, StepCase{1, kCellAndBelow, true},
                      StepCase{0, kCell, true}));

TEST_F(Carve, NoLiveSlotChangesNothing) {
    field.liveSparkles = 9;
    const auto before = frontKinds();
    field.carve();
    EXPECT_EQ(field.liveSparkles, 0);
    EXPECT_EQ(frontKinds(), before);
}

TEST_F(Carve, AFullLifeDigsFourRowsDownAndCountsSeventeenFrames) {
    const int32_t start = field.gridIndex(20, 60);
    field.sparkles[0] = Sparkle{start, SandField::kArmedCountdown};
    int32_t framesCounted = 0;
    for (int frame = 0; frame < 20; ++frame) {
        field.carve();
        framesCounted += field.liveSparkles;
    }
    EXPECT_EQ(framesCounted, 17);
    EXPECT_EQ(field.sparkles[0].countdown, -1);
    EXPECT_EQ(field.sparkles[0].cell, start + 4 * field.stride());
}

TEST_F(Carve, EmptiesTheBottomWallButNoOtherBorderCell) {
    // A sparkle low enough that its 3 x 2 step reaches the last grid row.
    const int32_t lastRow = field.height + 3;
    field.sparkles[0] = Sparkle{(lastRow - 1) * field.stride() + 30, 3};
    field.carve();
    EXPECT_EQ(field.frontKind()[lastRow * field.stride() + 31], kEmpty);
    for (int32_t row = 0; row < lastRow - 1; ++row) {
        EXPECT_EQ(field.frontKind()[row * field.stride()], kWall);
        EXPECT_EQ(field.frontKind()[row * field.stride() + field.stride() - 1], kWall);
    }
    EXPECT_EQ(field.frontKind()[0 * field.stride() + 30], kWall);
}

// A sparkle in the last grid row: the shape's lower row would lie past the plane and is left out.
// Under AddressSanitizer an out-of-plane write would abort this test.
struct LastRowCase {
    int32_t countdown;
    int32_t countdownAfter;
};

std::ostream& operator<<(std::ostream& out, const LastRowCase& c) { return out << "countdown " << c.countdown; }

class CarveLastRow : public Carve, public ::testing::WithParamInterface<LastRowCase> {};

TEST_P(CarveLastRow, StaysInsideThePlane) {
    const LastRowCase c = GetParam();
    const int32_t cell = field.cellCount - field.stride() + 50;
    field.sparkles[2] = Sparkle{cell, c.countdown};
    field.carve();
    EXPECT_EQ(field.frontKind()[cell], kEmpty);
    EXPECT_EQ(field.sparkles[2].countdown, c.countdownAfter);
    EXPECT_EQ(field.liveSparkles, 1);
}

// Steps that move down leave the plane and end the sparkle at once; the others carry on.
INSTANTIATE_TEST_SUITE_P(Steps, CarveLastRow,
                         ::testing::Values(LastRowCase{16, 15}, LastRowCase{9, 8}, LastRowCase{5, 4},
                                           LastRowCase{10, -1}, LastRowCase{3, -1}, LastRowCase{1, -1},
                                           LastRowCase{0, -1}));

TEST_F(Carve, TheLastCellOfThePlaneIsCarvedWithoutReachingPastIt) {
    field.sparkles[0] = Sparkle{field.cellCount - 1, 4};  // 2 x 2 block: right and below fall outside
    field.carve();
    EXPECT_EQ(field.frontKind()[field.cellCount - 1], kEmpty);
    EXPECT_EQ(field.sparkles[0].countdown, 3);
}

TEST_F(Carve, OverlappingSlotsAllCountAndEmptyTheSameCells) {
    const int32_t cell = field.gridIndex(40, 40);
    field.sparkles[0] = Sparkle{cell, 12};
    field.sparkles[31] = Sparkle{cell, 12};
    const auto before = frontKinds();
    field.carve();
    EXPECT_EQ(field.liveSparkles, 2);
    EXPECT_EQ(emptiedSince(before), std::set<int32_t>{cell});
}

}  // namespace
}  // namespace qv
