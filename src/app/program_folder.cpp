#include "app/program_folder.h"

#include <SDL.h>

#include <memory>

namespace qv {

std::filesystem::path programFolder() {
    // Needs no initialised subsystem, so it serves before the window exists.
    const std::unique_ptr<char, decltype(&SDL_free)> basePath(SDL_GetBasePath(), &SDL_free);
    return basePath ? std::filesystem::path(basePath.get()) : std::filesystem::path();
}

}  // namespace qv
