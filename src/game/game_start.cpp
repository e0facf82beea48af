#include <array>
#include <ctime>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "app/font.h"
#include "game/game_icon.h"
#include "game/sand_game.h"
#include "image/frame_target.h"
#include "support/mt19937.h"

namespace qv {

namespace {

std::string currentDirectory() {
    std::error_code error;
    const auto path = std::filesystem::current_path(error);
    return error ? std::string("the current directory") : path.string();
}

std::string pictureFailure(const char* fileName, const std::string& reason) {
    return "Quorvantile: cannot load the picture " + std::string(fileName) + ": " + reason +
           " (pictures are looked up in the current directory, " + currentDirectory() + ")";
}

// Copies a name into a fixed, zero-terminated buffer, cutting it if it is too long.
void copyName(std::array<char, 32>& buffer, std::string_view name) {
    buffer.fill('\0');
    name.copy(buffer.data(), buffer.size() - 1);
}

}  // namespace

int SandGame::onInit() {
    sharedRandom().seed(static_cast<uint32_t>(std::time(nullptr)));
    return initialise();
}

int SandGame::initialise() {
    if (!field.allocate()) {
        startUpError = "Quorvantile: out of memory for the sand field";
        return 0;
    }
    field.clear();
    if (!loadPictures()) {
        return 0;
    }
    layers[0].image.scale(kPictureWidth, kPictureHeight);
    layers[1].image.scale(kPictureWidth, kPictureHeight);
    field.reset();
    scoreState.initScore();
    nextHue = static_cast<int32_t>(sharedRandom().next() & 127);

    windowSpec.clientWidth = kClientWidth;
    windowSpec.clientHeight = kClientHeight;
    frameInterval = kFrameMilliseconds;
    copyName(title, "Quorvantile");
    copyName(className, "QUORVANTILE");
    icon = makeGameIcon();

    if (!createBackBuffer(kClientWidth, kClientHeight, 0)) {
        startUpError = "Quorvantile: cannot make the 448 x 640 back buffer";
        return 0;
    }
    frameTarget = FrameTarget{backBuffer.bits, kClientWidth * 3, kClientHeight};
    placeDrawables();
    return 1;
}

bool SandGame::loadPictures() {
    // The hidden picture goes through clear and load, the shown one through reload: both end the same.
    layers[0].image.clear();
    if (!layers[0].image.load(kHiddenPicture)) {
        startUpError = pictureFailure(kHiddenPicture, layers[0].image.lastError());
        return false;
    }
    if (!layers[1].reload(kShownPicture)) {
        startUpError = pictureFailure(kShownPicture, layers[1].image.lastError());
        return false;
    }
    return true;
}

void SandGame::placeDrawables() {
    field.setOrigin(kFieldOrigin, kFieldOrigin);
    for (ImageLayer& layer : layers) {
        layer.setSource(0, 0, kPictureWidth, kPictureHeight);
        layer.setPosition(kFieldOrigin, kFieldOrigin);
    }
}

}  // namespace qv
