#include <array>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "app/font.h"
#include "app/program_folder.h"
#include "game/game_icon.h"
#include "game/hue_draw.h"
#include "game/installed_paths.h"
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

// A picture that is there but cannot be read is named by the path that was opened; the bare name
// of one in the current directory says which directory that was.
std::string pictureFailure(const std::filesystem::path& opened, const std::string& reason) {
    const std::string where = opened.has_parent_path() ? "" : "; the file is in the current directory, " + currentDirectory();
    return "cannot load the picture " + opened.string() + ": " + reason + where +
           "; put a readable, uncompressed 8-bit or 24-bit BMP file in its place";
}

// Copies a name into a fixed, zero-terminated buffer, cutting it if it is too long.
void copyName(std::array<char, 32>& buffer, std::string_view name) {
    buffer.fill('\0');
    name.copy(buffer.data(), buffer.size() - 1);
}

}  // namespace

int SandGame::onInit() {
    sharedRandom().seed(seed);
    pictureLookup = PictureLookup(installedDataFolders(programFolder(), installed::kDataFolderFromProgram, installed::kDataFolder));
    return initialise();
}

int SandGame::initialise() {
    // Named first, so that a failure below speaks in the game's name.
    copyName(title, "Quorvantile");
    copyName(className, "QUORVANTILE");
    if (!field.allocate()) {
        startUpError = lineSaying("out of memory for the sand field; close other programs and start the game again");
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
    nextHue = drawHue();

    windowSpec.clientWidth = kClientWidth;
    windowSpec.clientHeight = kClientHeight;
    frameInterval = kFrameMilliseconds;
    icon = makeGameIcon();

    if (!createBackBuffer(kClientWidth, kClientHeight, 0)) {
        startUpError = lineSaying(
            "out of memory for the 448 x 640 back buffer; close other programs and start the game again");
        return 0;
    }
    frameTarget = FrameTarget{backBuffer.bits, kClientWidth * 3, kClientHeight};
    placeDrawables();
    return 1;
}

bool SandGame::loadPictures() {
    // The hidden picture goes through clear and load, the shown one through reload: both end the same.
    layers[0].image.clear();
    const std::optional<std::filesystem::path> hidden = locatePicture(kHiddenPicture);
    if (!hidden) {
        return false;
    }
    if (!layers[0].image.load(hidden->c_str())) {
        startUpError = lineSaying(pictureFailure(*hidden, layers[0].image.lastError()));
        return false;
    }
    const std::optional<std::filesystem::path> shown = locatePicture(kShownPicture);
    if (!shown) {
        return false;
    }
    if (!layers[1].reload(shown->c_str())) {
        startUpError = lineSaying(pictureFailure(*shown, layers[1].image.lastError()));
        return false;
    }
    return true;
}

std::optional<std::filesystem::path> SandGame::locatePicture(const char* name) {
    std::optional<std::filesystem::path> path = pictureLookup.find(name);
    if (!path) {
        startUpError = lineSaying("cannot load the picture " + std::string(name) + ": not found; looked in " +
                                  pictureLookup.placesLooked() +
                                  "; put the picture in one of these, or install the game again");
    }
    return path;
}

void SandGame::placeDrawables() {
    field.setOrigin(kFieldOrigin, kFieldOrigin);
    for (ImageLayer& layer : layers) {
        layer.setSource(0, 0, kPictureWidth, kPictureHeight);
        layer.setPosition(kFieldOrigin, kFieldOrigin);
    }
}

}  // namespace qv
