#include <array>
#include <ctime>
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
    return "Quorvantile: cannot load the picture " + opened.string() + ": " + reason + where;
}

// Copies a name into a fixed, zero-terminated buffer, cutting it if it is too long.
void copyName(std::array<char, 32>& buffer, std::string_view name) {
    buffer.fill('\0');
    name.copy(buffer.data(), buffer.size() - 1);
}

}  // namespace

int SandGame::onInit() {
    sharedRandom().seed(static_cast<uint32_t>(std::time(nullptr)));
    pictureLookup = PictureLookup(installedDataFolders(programFolder(), installed::kDataFolderFromProgram, installed::kDataFolder));
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
    nextHue = drawHue();

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
    const std::optional<std::filesystem::path> hidden = locatePicture(kHiddenPicture);
    if (!hidden) {
        return false;
    }
    if (!layers[0].image.load(hidden->c_str())) {
        startUpError = pictureFailure(*hidden, layers[0].image.lastError());
        return false;
    }
    const std::optional<std::filesystem::path> shown = locatePicture(kShownPicture);
    if (!shown) {
        return false;
    }
    if (!layers[1].reload(shown->c_str())) {
        startUpError = pictureFailure(*shown, layers[1].image.lastError());
        return false;
    }
    return true;
}

std::optional<std::filesystem::path> SandGame::locatePicture(const char* name) {
    std::optional<std::filesystem::path> path = pictureLookup.find(name);
    if (!path) {
        startUpError = "Quorvantile: cannot load the picture " + std::string(name) + ": not found; looked in " +
                       pictureLookup.placesLooked();
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
