#include <gtest/gtest.h>

#include <vector>

#include "support/mt19937.h"
#include "support/mt19937_twist.h"

namespace qv {
namespace {

std::vector<uint32_t> draw(Mt19937& generator, int count) {
    std::vector<uint32_t> numbers;
    for (int i = 0; i < count; ++i) {
        numbers.push_back(generator.next());
    }
    return numbers;
}

TEST(Mt19937, KnownSequenceForSeed4357) {
    Mt19937 generator;
    generator.seed(4357);
    const std::vector<uint32_t> numbers = draw(generator, 625);
    EXPECT_EQ(numbers[0], 2867219139u);
    EXPECT_EQ(numbers[1], 1585203162u);
    EXPECT_EQ(numbers[2], 3113124129u);
    EXPECT_EQ(numbers[623], 589403970u);
    EXPECT_EQ(numbers[624], 1044672925u);  // first of the second block
}

TEST(Mt19937, SeedZeroIsValid) {
    Mt19937 generator;
    generator.seed(0);
    EXPECT_EQ(generator.next(), 477480905u);
    EXPECT_EQ(generator.next(), 3667282373u);
}

TEST(Mt19937, UnseededFirstDrawSeedsWith4357AndSkipsABlock) {
    Mt19937 generator;
    EXPECT_EQ(generator.next(), 1044672925u);
    EXPECT_TRUE(generator.seeded);
    EXPECT_EQ(generator.index, 1);
}

TEST(Mt19937, ReseedingRestartsTheSequence) {
    Mt19937 generator;
    generator.seed(12345);
    const std::vector<uint32_t> first = draw(generator, 700);
    generator.seed(99);
    generator.next();
    generator.seed(12345);
    EXPECT_EQ(draw(generator, 700), first);
}

TEST(Mt19937, SeedLeavesAFreshBlock) {
    Mt19937 generator;
    generator.seed(7);
    EXPECT_EQ(generator.index, 0);
    EXPECT_EQ(generator.useVector, Mt19937::hasVectorSupport());
}

#if defined(__x86_64__) || defined(__i386__)
// Every vector variant must match the plain path in every word of state and block, block after
// block, whatever the seed.
TEST(Mt19937, VectorVariantsMatchThePlainPathOnManySeeds) {
    using Regenerate = void (*)(uint32_t*, uint32_t*);
    std::vector<std::pair<const char*, Regenerate>> variants{{"sse2", twist::regenerateSse2}};
    if (twist::hasAvx2()) {
        variants.emplace_back("avx2", twist::regenerateAvx2);
    }
    uint32_t seedValue = 1;
    for (int round = 0; round < 200; ++round) {
        seedValue = seedValue * 2654435761u + 0x9E3779B9u;
        Mt19937 plain;
        plain.seed(seedValue);
        for (const auto& [name, regenerate] : variants) {
            Mt19937 vector = plain;
            Mt19937 reference = plain;
            for (int block = 0; block < 3; ++block) {
                twist::regeneratePlain(reference.state.data(), reference.block.data());
                regenerate(vector.state.data(), vector.block.data());
                ASSERT_EQ(reference.state, vector.state) << name << " seed " << seedValue << " block " << block;
                ASSERT_EQ(reference.block, vector.block) << name << " seed " << seedValue << " block " << block;
            }
        }
    }
}
#endif

TEST(Mt19937, PathChoiceDoesNotChangeTheSequence) {
    Mt19937 plain;
    Mt19937 vector;
    plain.seed(4357);
    vector.seed(4357);
    plain.useVector = false;
    vector.useVector = Mt19937::hasVectorSupport();
    EXPECT_EQ(draw(plain, 3000), draw(vector, 3000));
}

TEST(Mt19937, SharedGeneratorIsOneInstance) { EXPECT_EQ(&sharedRandom(), &sharedRandom()); }

}  // namespace
}  // namespace qv
