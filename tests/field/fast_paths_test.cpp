// The quick ways of running a frame against the plain ones: the same bytes, the same sparkles.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "field/diffuse_cells.h"
#include "field/field_composer.h"
#include "field/field_planes.h"
#include "image/frame_target.h"
#include "image/image_layer.h"

namespace qv {
namespace {

// Random back planes of every byte value a cell may hold (hues beyond 127 and kinds beyond 5
// included), and a sparkle list with live, freed and never used slots, so that arming runs short.
void scramble(SandField& field, Mt19937& random) {
    for (int32_t i = 0; i < field.cellCount; ++i) {
        const uint32_t draw = random.next();
        field.backHue()[i] = static_cast<uint8_t>(draw % 3 == 0 ? draw >> 8 : (draw >> 8) & 127);
        field.backKind()[i] = static_cast<uint8_t>(draw % 7 == 0 ? draw >> 16 : (draw >> 16) % 6);
        field.frontHue()[i] = field.frontKind()[i] = 0xEE;
    }
    for (int32_t slot = 0; slot < SandField::kSparkleSlots; ++slot) {
        const uint32_t draw = random.next();
        field.sparkles[slot] = draw % 3 == 0 ? Sparkle{} : Sparkle{static_cast<int32_t>(draw % 14800), draw % 2 == 0 ? -1 : 5};
    }
}

TEST(DiffusionSixteenAtOnce, SameHuesKindsAndSparklesAsOneByOne) {
    if (!diffusion::sixteenAtOnceAvailable()) GTEST_SKIP() << "no vector path in this build";
    SandField plain, quick;
    ASSERT_TRUE(plain.allocate() && quick.allocate());
    Mt19937 random;
    for (uint32_t seed = 1; seed <= 40; ++seed) {
        random.seed(seed), scramble(plain, random);
        random.seed(seed), scramble(quick, random);
        // Rows of the full width, and short rows that leave cells over at the left end.
        const int32_t width = seed % 4 == 0 ? 96 - static_cast<int32_t>(seed % 16) : 96;
        for (int32_t row = 145; row >= 2; --row) {
            const int32_t first = row * plain.stride() + 2;
            diffusion::cellsOneByOne({plain.backHue(), plain.backKind(), plain.frontHue(), plain.frontKind(), 100},
                                     first, first + width - 1, plain.sparkles);
            diffusion::cellsSixteenAtOnce({quick.backHue(), quick.backKind(), quick.frontHue(), quick.frontKind(), 100},
                                          first, first + width - 1, quick.sparkles);
        }
        ASSERT_EQ(std::memcmp(plain.frontHue(), quick.frontHue(), 14800), 0) << "seed " << seed;
        ASSERT_EQ(std::memcmp(plain.frontKind(), quick.frontKind(), 14800), 0) << "seed " << seed;
        for (int32_t slot = 0; slot < SandField::kSparkleSlots; ++slot) {
            ASSERT_TRUE(plain.sparkles[slot].cell == quick.sparkles[slot].cell &&
                        plain.sparkles[slot].countdown == quick.sparkles[slot].countdown)
                << "seed " << seed << " slot " << slot;
        }
    }
}

// A field over its background picture, composed by the composer into one picture and drawn whole
// (background, then every bead) into another.
class FieldComposerTest : public ::testing::Test {
protected:
    static constexpr int32_t kStride = 448 * 3, kHeight = 640;

    void SetUp() override {
        frameTarget = FrameTarget{composed.data(), kStride, kHeight};
        const char* source = std::getenv("QV_SOURCE_DIR");
        const std::string picture = std::string(source != nullptr ? source : "../..") + "/assets/back2_sml.bmp";
        ASSERT_EQ(background.image.load(picture.c_str()), 1) << picture;
        ASSERT_EQ(background.image.scale(384, 576), 1);
        background.setSource(0, 0, 384, 576);
        background.setPosition(32, 32);
        ASSERT_TRUE(field.allocate());
        field.reset();
        field.setOrigin(32, 32);
    }

    // Composes the field's front planes, draws them whole too, and says whether both pictures agree.
    bool composedLooksWhole() {
        composer.compose(field, background);
        field.front = 1 - field.front;
        frameTarget.pixels = whole.data();
        background.draw();
        field.render();
        frameTarget.pixels = composed.data();
        return composed == whole;
    }

    std::vector<uint8_t> composed = std::vector<uint8_t>(std::size_t{kStride} * kHeight, 0);
    std::vector<uint8_t> whole = std::vector<uint8_t>(composed.size(), 0);
    SandField field;
    ImageLayer background;
    FieldComposer composer;
};

// A field played with contrasting pours: after every frame the pictures agree in every byte, also
// after writes by others into the field that the composer is told about, and after a restart.
TEST_F(FieldComposerTest, EveryFrameLooksAsDrawingEverythingAgain) {
    sharedRandom().seed(99);
    for (int32_t frame = 0; frame < 700; ++frame) {
        if (frame % 20 == 0 && !field.pouring) {
            field.pendingX = 8 + frame * 37 % 81, field.pendingY = 10 + frame % 3 * 20;
            field.pouring = true, field.pourCount = 0, field.pourLimit = 300, field.pourHue = frame / 20 % 2 * 64 + 3;
        }
        if (frame == 450) field.reset();  // a restart without a word to the composer
        field.advance();
        ASSERT_TRUE(composedLooksWhole()) << "frame " << frame;
        // Others write into both pictures: a box across the field's edge, or everything.
        const auto scribble = [&](int32_t left, int32_t top, int32_t width, int32_t height) {
            const PictureView layout{nullptr, 448, kHeight, kStride};
            for (int32_t y = top; y < top + height; ++y) {
                for (int32_t x = left; x < left + width; ++x) {
                    const auto at = static_cast<std::size_t>(layout.offsetOf(x, y));
                    composed[at] = whole[at] = static_cast<uint8_t>(frame);
                }
            }
        };
        if (frame % 9 == 0) {
            const int32_t left = frame * 13 % 430, top = frame * 29 % 620;
            scribble(left, top, 17, 19), composer.markWritten(left, top, 17, 19);
        }
        if (frame == 300) scribble(0, 0, 448, 640), composer.forgetAll();
    }
}

// Front planes holding any byte (hues beyond 127 and kinds beyond 5 show the background), with a
// few cells or all of them changed from one frame to the next: the pictures still agree.
TEST_F(FieldComposerTest, CellsOfAnyBytesLookAsDrawingEverythingAgain) {
    Mt19937 random;
    for (int32_t frame = 0; frame < 40; ++frame) {
        random.seed(static_cast<uint32_t>(frame + 1));
        scramble(field, random);
        const int32_t changes = frame % 2 == 0 ? 30 : field.cellCount;
        for (int32_t i = 0; i < changes; ++i) {
            const int32_t cell = frame % 2 == 0 ? static_cast<int32_t>(random.next() % static_cast<uint32_t>(field.cellCount)) : i;
            field.frontHue()[cell] = field.backHue()[cell];
            field.frontKind()[cell] = field.backKind()[cell];
        }
        ASSERT_TRUE(composedLooksWhole()) << "frame " << frame;
    }
}

}  // namespace
}  // namespace qv
