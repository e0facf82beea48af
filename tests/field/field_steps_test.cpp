// The steps of a frame one at a time: storage, pouring, gravity, diffusion and carving. Where the
// walls stand after a reset is seen by the gravity cases and the recorded sessions.
#include <gtest/gtest.h>

#include "field/field_planes.h"

namespace qv {

using Field = testing::ReadyField;

static std::vector<std::size_t> requests;

// Every step then leaves the field alone instead of touching the plane that is not there.
TEST(PlaneAllocation, AFailedThirdPlaneStillRequestsTheFourth) {
    const SandField::PlaneAllocator saved = SandField::planeAllocator;
    SandField::planeAllocator = [](std::size_t bytes) {
        requests.push_back(bytes);
        return requests.size() == 3 ? nullptr : std::make_unique<uint8_t[]>(bytes);
    };
    SandField field;
    EXPECT_FALSE(field.allocate());
    SandField::planeAllocator = saved;
    EXPECT_EQ(requests, std::vector<std::size_t>(4, 14800));
    EXPECT_TRUE(field.hue[0] && field.hue[1] && !field.kind[0] && field.kind[1]);
    field.reset(), field.gravityStep(), field.diffuse();
    field.sparkles[0] = Sparkle{0, 3}, field.carve();
    EXPECT_TRUE(field.pour() && field.liveSparkles == 0);
}

// The 208-cell disc around the pour cell, kept inside the visible cells even for a stray pour cell.
// The default limit of 100 ends the pour inside it: rows 0 to 6 hold 88 cells, then bits 0 to 11
// of row 7. An occupied cell keeps its bead and costs no draw; a full disc places nothing and pours on.
TEST_F(Field, PourFillsTheDiscAroundThePourCellUpToTheLimit) {
    struct Case { int32_t pourX, pourY, left, top; };
    for (const Case c : {Case{48, 72, 40, 62}, Case{8, 10, 0, 0}, Case{88, 134, 80, 124}, Case{-50, -3, 0, 0},
                         Case{4000, 1000, 80, 124}}) {
        SCOPED_TRACE(::testing::Message() << "pour cell " << c.pourX << ", " << c.pourY);
        SetUp();
        putBead(c.left + 8, c.top + 10, 5, kLastBead);
        field.pourX = c.pourX, field.pourY = c.pourY, field.pourHue = 93;
        EXPECT_FALSE(field.pour());
        EXPECT_TRUE(drawsTaken() == 100 && holdsBead(backKindAt(c.left + 11, c.top + 7)));
        EXPECT_EQ(backKindAt(c.left + 12, c.top + 7), kEmpty);
        field.pourLimit = 300;
        EXPECT_TRUE(field.pour() && field.pour() && drawsTaken() == 207 && field.pourCount == 207);
        EXPECT_EQ(backBeads(), 208);
        EXPECT_TRUE(backHueAt(c.left + 8, c.top + 10) == 5 && backKindAt(c.left + 8, c.top + 10) == kLastBead);
        EXPECT_TRUE(backHueAt(c.left + 5, c.top) == 93 && backKindAt(c.left + 4, c.top) == kEmpty);  // bits 5 to 10
    }
}

// Rows 141 to 143 of five columns from `left`, the bottom row full beyond them: '.' empty, '#' wall,
// a letter a bead of that hue. A resting bead slides down-right first, down-left only when its left
// side is open too, never into the wall. Landing on a gap, the low three bits of one draw choose
// whether the bead or a stacked neighbour (one beside it and one diagonally below) takes the gap.
TEST_F(Field, GravitySlideChoices) {
    struct Case { int32_t left; std::string before; uint32_t bits; std::string after; };
    for (const Case& c : std::vector<Case>{
             {48, ".....|..b..|..a..", 0, ".....|.....|..ab."}, {48, ".....|..b..|..ac.", 0, ".....|.....|.bac."},
             {48, ".....|.db..|..ac.", 0, ".....|..b..|.dac."}, {48, ".....|..b..|.dac.", 0, ".....|..b..|.dac."},
             {93, "...##|..b##|.da##", 0, "...##|..b##|.da##"}, {-2, "##...|##b..|##ac.", 0, "##...|##b..|##ac."},
             {48, "..b..|.....|zzzzz", 7, ".....|..b..|zzzzz"}, {48, "..br.|...ss|zzzzz", 2, "...r.|..bss|zzzzz"},
             {48, "..br.|...ss|zzzzz", 3, ".....|.brss|zzzzz"}, {48, "..br.|...ss|zzzzz", 7, ".....|.brss|zzzzz"},
             {48, ".lb..|.s...|zzzzz", 2, ".....|lsb..|zzzzz"}, {48, ".lb..|.s...|zzzzz", 3, ".....|.slb.|zzzzz"},
             {48, ".lbr.|.s.ss|zzzzz", 1, "...r.|lsbss|zzzzz"}, {48, ".lbr.|.s.ss|zzzzz", 2, "..b..|lsrss|zzzzz"},
             {48, ".lbr.|.s.ss|zzzzz", 4, "..b..|lsrss|zzzzz"}, {48, ".lbr.|.s.ss|zzzzz", 5, "..br.|.slss|zzzzz"},
             {48, ".lbr.|.s.ss|zzzzz", 7, "..br.|.slss|zzzzz"}}) {
        SetUp();
        for (int32_t x = 0; x < field.width; ++x) putBead(x, 143, 'z');
        for (int32_t i = 0; i < 17; ++i) {
            const char cell = c.before[i];
            const uint8_t kind = cell == '.' ? kEmpty : kFirstBead;
            if (cell != '|' && cell != '#') putBead(c.left + i % 6, 141 + i / 6, cell, kind);
        }
        nextDrawIs(0xABCDEF00u | c.bits);  // only the low three bits may matter
        field.gravityStep();
        std::string after = c.before;
        for (int32_t i = 0; i < 17; ++i) {
            const uint8_t kind = backKindAt(c.left + i % 6, 141 + i / 6), hue = backHueAt(c.left + i % 6, 141 + i / 6);
            if (after[i] != '|') after[i] = kind == kWall ? '#' : holdsBead(kind) ? static_cast<char>(hue) : '.';
        }
        EXPECT_EQ(after, c.after) << c.before << " with bits " << c.bits;
    }
}

// A sweep of a bead at (40, 40) with neighbours right, right 2, left, left 2, below and above, all
// given by hue (-1 leaves a cell empty). The hue steps one towards the neighbours' pull; a bead whose
// hue does not step arms a sparkle when it has four direct neighbours and both the left-right and the
// below-above differences are steep.
TEST_F(Field, DiffusionStepsHuesAndArmsSparkles) {
    struct Case { std::array<int, 7> cross; int hue; bool arms; };
    for (const Case& c : std::vector<Case>{
             {{10, -1, -1, -1, -1, -1, -1}, 10, false}, {{10, 13, -1, -1, -1, -1, -1}, 11, false},
             {{10, 12, -1, -1, -1, -1, -1}, 10, false}, {{10, 7, -1, -1, -1, -1, -1}, 9, false},
             {{127, 3, -1, -1, -1, -1, -1}, 0, false}, {{0, 125, -1, -1, -1, -1, -1}, 127, false},
             {{10, -1, 30, -1, -1, -1, -1}, 10, false},  // the second cell counts only through the first
             {{10, 11, 12, -1, -1, -1, -1}, 11, false}, {{10, -1, -1, 11, 12, -1, -1}, 11, false},
             {{10, -1, -1, -1, -1, 13, -1}, 11, false}, {{10, -1, -1, -1, -1, -1, 13}, 11, false},
             {{10, 74, -1, -1, -1, -1, -1}, 9, false},  // half the ring away counts -128
             {{74, 10, -1, -1, -1, -1, -1}, 73, false}, {{10, 20, -1, 0, -1, -1, -1}, 10, false},
             {{40, 55, -1, 25, -1, 60, 20}, 40, true}, {{40, 55, -1, 25, -1, 50, 30}, 40, false},
             {{40, 48, -1, 32, -1, 60, 20}, 40, false},  // |H| = 32 is not steep
             {{40, 55, -1, 25, -1, 56, 24}, 40, false},  // |V| = 64 is not steep
             {{40, 55, -1, 25, -1, 57, 23}, 40, true}, {{40, 48, -1, 31, -1, 73, 7}, 40, true},  // V wraps to -124
             {{40, 55, -1, 25, -1, 60, -1}, 41, false}}) {
        SetUp();
        field.diffuseCounter = 1;  // the next call sweeps
        const int32_t dx[7] = {0, 1, 2, -1, -2, 0, 0}, dy[7] = {0, 0, 0, 0, 0, 1, -1};
        for (int32_t i = 0; i < 7; ++i) {
            if (c.cross[i] >= 0) putBead(40 + dx[i], 40 + dy[i], c.cross[i]);
        }
        field.diffuse();
        EXPECT_EQ(field.frontHue()[field.gridIndex(40, 40)], c.hue) << ::testing::PrintToString(c.cross);
        EXPECT_TRUE(field.sparkles[0].cell == (c.arms ? field.gridIndex(40, 40) : -1) &&
                    field.sparkles[0].countdown == (c.arms ? 16 : -1) && field.sparkles[1].countdown == -1)
            << ::testing::PrintToString(c.cross);
    }
}

// Beads in every front cell, walls included, so every emptied cell shows. Each countdown empties a
// shape, the first 1, 2, 4 or 6 of `offsets`, then moves the sparkle a row down ('v') or not; the
// armed step (16) empties only its cell. In the last grid row a shape's lower row lies past the plane
// and is left out (AddressSanitizer would catch a write there); a move down then frees the slot.
TEST_F(Field, CarvingEmptiesTheShapeOfEachCountdown) {
    const int32_t offsets[6][2] = {{0, 0}, {0, 1}, {1, 0}, {1, 1}, {-1, 0}, {-1, 1}};  // (column, row)
    const int32_t sizes[17] = {1, 2, 4, 6, 4, 4, 4, 2, 2, 2, 2, 1, 1, 1, 1, 1, 1};
    const std::string moves = "vv.v......v......";
    for (int32_t countdown = 0; countdown <= 16; ++countdown) {
        for (const int32_t start : {field.gridIndex(50, 70), field.cellCount - 2}) {
            SCOPED_TRACE(::testing::Message() << "countdown " << countdown << " at " << start);
            SetUp();
            std::fill_n(field.frontKind(), field.cellCount, kFirstBead);
            std::fill_n(field.frontHue(), field.cellCount, 42);
            field.sparkles[4] = Sparkle{start, countdown};
            field.carve();
            std::set<int32_t> emptied, expected;
            for (int32_t i = 0; i < field.cellCount; ++i) {
                if (field.frontKind()[i] == kEmpty) emptied.insert(i);
            }
            for (int32_t part = 0; part < sizes[countdown]; ++part) {
                const int32_t cell = start + offsets[part][1] * field.stride() + offsets[part][0];
                if (cell < field.cellCount) expected.insert(cell);
            }
            EXPECT_EQ(emptied, expected);
            EXPECT_TRUE(field.frontHue()[start] == 42 && field.liveSparkles == 1);  // only kinds change
            const int32_t moved = moves[countdown] == 'v' ? start + field.stride() : start;
            EXPECT_EQ(field.sparkles[4].cell, moved);
            EXPECT_EQ(field.sparkles[4].countdown, moved < field.cellCount ? countdown - 1 : -1);
        }
    }
}

}  // namespace qv
