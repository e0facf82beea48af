#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "game/sand_game.h"
#include "helpers/scratch_folder.h"
#include "support/mt19937.h"

namespace qv::testing {

inline std::filesystem::path assetsDirectory() {
    const char* source = std::getenv("QV_SOURCE_DIR");
    return std::filesystem::path(source != nullptr ? source : "../..") / "assets";
}

// A game started as the program starts it, with a fixed seed, in the folder of the pictures.
class StartedGame : public ::testing::Test {
protected:
    static constexpr uint32_t kSeed = 20261206;

    void SetUp() override {
        WorkingDirectory inAssets(assetsDirectory());
        sharedRandom().seed(kSeed);
        ASSERT_EQ(game->initialise(), 1) << game->startUpError;
    }

    std::unique_ptr<SandGame> game = std::make_unique<SandGame>();
};

}  // namespace qv::testing
