#include <gtest/gtest.h>

#include <vector>

#include "field_fixture.h"

namespace qv {
namespace {

using FieldStorage = testing::ReadyField;

TEST_F(FieldStorage, ResetWallsExactlyTheBorderOfBothKindPlanes) {
    field.kind[1][field.gridIndex(10, 10)] = kLastBead;  // reset must empty it again
    field.reset();
    const int32_t rows = field.height + 4;
    for (int32_t pair = 0; pair < 2; ++pair) {
        int32_t walls = 0;
        for (int32_t cell = 0; cell < field.cellCount; ++cell) {
            const int32_t row = cell / field.stride(), column = cell % field.stride();
            const bool border = row < 2 || row >= rows - 2 || column < 2 || column >= field.stride() - 2;
            ASSERT_EQ(field.kind[pair][cell], border ? kWall : kEmpty) << "cell " << cell;
            ASSERT_EQ(field.hue[pair][cell], 0);
            walls += border ? 1 : 0;
        }
        EXPECT_EQ(walls, 976);
    }
}

// Without planes every step does nothing instead of touching memory that is not there.
TEST(FieldWithoutPlanes, StepsDoNothing) {
    SandField field;
    field.reset();
    EXPECT_TRUE(field.pour());
    field.gravityStep();
    field.diffuse();
    field.sparkles[0] = Sparkle{0, 3};
    field.carve();
    EXPECT_EQ(field.liveSparkles, 0);
}

std::vector<std::size_t> requests;
std::unique_ptr<uint8_t[]> refuseThirdRequest(std::size_t bytes) {
    requests.push_back(bytes);
    return requests.size() == 3 ? nullptr : std::make_unique<uint8_t[]>(bytes);
}

TEST(PlaneAllocation, AFailedThirdPlaneStillRequestsTheFourth) {
    const SandField::PlaneAllocator saved = SandField::planeAllocator;
    SandField::planeAllocator = refuseThirdRequest;
    SandField field;
    EXPECT_FALSE(field.allocate());
    SandField::planeAllocator = saved;
    EXPECT_EQ(requests, std::vector<std::size_t>(4, 14800));
    EXPECT_TRUE(field.hue[0] && field.hue[1] && !field.kind[0] && field.kind[1]);
    field.reset();  // leaves the missing plane alone
}

}  // namespace
}  // namespace qv
