#include <gtest/gtest.h>

#include <vector>

#include "field/sand_field.h"
#include "field_fixture.h"

namespace qv {
namespace {

using testing::ReadyField;
using FieldStorage = ReadyField;

bool isBorder(const SandField& field, int32_t cell) {
    const int32_t row = cell / field.stride();
    const int32_t column = cell % field.stride();
    const int32_t rows = field.height + 4;
    return row < 2 || row >= rows - 2 || column < 2 || column >= field.stride() - 2;
}

TEST_F(FieldStorage, ResetWallsExactlyTheBorderOfBothKindPlanes) {
    EXPECT_EQ(field.cellCount, 14800);
    for (int32_t pair = 0; pair < 2; ++pair) {
        int32_t walls = 0;
        for (int32_t cell = 0; cell < field.cellCount; ++cell) {
            const uint8_t kind = field.kind[pair][cell];
            ASSERT_EQ(kind, isBorder(field, cell) ? kWall : kEmpty) << "pair " << pair << " cell " << cell;
            ASSERT_EQ(field.hue[pair][cell], 0) << "pair " << pair << " cell " << cell;
            walls += kind == kWall ? 1 : 0;
        }
        EXPECT_EQ(walls, 976);
    }
}

TEST_F(FieldStorage, ResetStopsAPourAndRestoresDefaults) {
    field.pouring = true;
    field.pourCount = 50;
    field.pourLimit = 300;
    field.pourHue = 77;
    field.front = 1;
    field.diffuseCounter = 1;
    field.hueWeights[3] = 99;
    field.sparkles[5] = Sparkle{1234, 7};
    field.liveSparkles = 3;
    putBead(10, 10, 40);

    field.reset();

    EXPECT_FALSE(field.pouring);
    EXPECT_EQ(field.pourCount, 0);
    EXPECT_EQ(field.pourLimit, 100);
    EXPECT_EQ(field.pourHue, 0);
    EXPECT_EQ(field.front, 0);
    EXPECT_EQ(field.diffuseCounter, 0);
    EXPECT_EQ(field.diffusePeriod, 2);
    EXPECT_EQ(field.pendingX, 48);
    EXPECT_EQ(field.pendingY, 72);
    EXPECT_EQ(field.hueWeights, kDefaultHueWeights);
    EXPECT_EQ(field.liveSparkles, 3);  // only carving counts them
    for (const Sparkle& slot : field.sparkles) {
        EXPECT_EQ(slot.cell, -1);
        EXPECT_EQ(slot.countdown, -1);
    }
    EXPECT_EQ(field.kind[0][field.gridIndex(10, 10)], kEmpty);
    EXPECT_EQ(field.kind[1][field.gridIndex(10, 10)], kEmpty);
}

TEST_F(FieldStorage, ReleaseDropsPlanesAndSizesAndMayBeRepeated) {
    field.release();
    EXPECT_FALSE(field.hasPlanes());
    EXPECT_EQ(field.width, 0);
    EXPECT_EQ(field.height, 0);
    EXPECT_EQ(field.cellCount, 0);
    field.release();
    EXPECT_FALSE(field.hasPlanes());
}

// Without planes every step is a no-op instead of a null dereference.
TEST(FieldWithoutPlanes, StepsDoNothing) {
    SandField field;
    field.clear();
    field.reset();
    EXPECT_TRUE(field.pour());
    field.gravityStep();
    field.diffuse();
    field.sparkles[0] = Sparkle{0, 3};
    field.carve();
    EXPECT_EQ(field.liveSparkles, 0);
    EXPECT_FALSE(field.hasPlanes());
}

// An allocator that refuses one chosen request and records every request.
std::vector<std::size_t> requests;
int refusedRequest = -1;
std::unique_ptr<uint8_t[]> refusingAllocator(std::size_t bytes) {
    requests.push_back(bytes);
    if (static_cast<int>(requests.size()) - 1 == refusedRequest) {
        return nullptr;
    }
    return std::make_unique<uint8_t[]>(bytes);
}

class PlaneAllocationFailure : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        requests.clear();
        refusedRequest = GetParam();
        saved = SandField::planeAllocator;
        SandField::planeAllocator = refusingAllocator;
    }
    void TearDown() override { SandField::planeAllocator = saved; }
    SandField::PlaneAllocator saved = nullptr;
};

TEST_P(PlaneAllocationFailure, EveryPlaneIsStillRequestedAndTheResultIsFalse) {
    SandField field;
    EXPECT_FALSE(field.allocate());
    ASSERT_EQ(requests.size(), 4u);
    for (const std::size_t bytes : requests) {
        EXPECT_EQ(bytes, 14800u);
    }
    EXPECT_FALSE(field.hasPlanes());
    field.reset();  // must not touch the planes that are missing
    field.release();
}

INSTANTIATE_TEST_SUITE_P(EachPlane, PlaneAllocationFailure, ::testing::Values(0, 1, 2, 3));

TEST(PlaneAllocation, AllocatingAgainReplacesThePlanes) {
    SandField field;
    ASSERT_TRUE(field.allocate());
    ASSERT_TRUE(field.allocate());
    EXPECT_TRUE(field.hasPlanes());
    EXPECT_EQ(field.cellCount, 14800);
}

}  // namespace
}  // namespace qv
