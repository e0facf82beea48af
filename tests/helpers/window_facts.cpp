#include "helpers/window_facts.h"

#include <SDL.h>

namespace qv {

WindowFacts inspectWindow(SDL_Window* window) {
    WindowFacts facts;
    if (window == nullptr) {
        return facts;
    }
    int width = 0;
    int height = 0;
    SDL_GetWindowSize(window, &width, &height);
    const Uint32 flags = SDL_GetWindowFlags(window);
    facts.clientWidth = width;
    facts.clientHeight = height;
    facts.resizable = (flags & SDL_WINDOW_RESIZABLE) != 0;
    facts.shown = (flags & SDL_WINDOW_SHOWN) != 0;
    facts.title = SDL_GetWindowTitle(window);
    return facts;
}

std::optional<uint32_t> presentedColour(SDL_Window* window, int32_t x, int32_t y) {
    SDL_Surface* surface = window != nullptr ? SDL_GetWindowSurface(window) : nullptr;
    if (surface == nullptr || x < 0 || y < 0 || x >= surface->w || y >= surface->h) {
        return std::nullopt;
    }
    if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) {
        return std::nullopt;
    }
    const auto* pixel = static_cast<const uint8_t*>(surface->pixels) + int64_t{y} * surface->pitch +
                        int64_t{x} * surface->format->BytesPerPixel;
    Uint32 value = 0;
    switch (surface->format->BytesPerPixel) {
        case 1: value = *pixel; break;
        case 2: value = *reinterpret_cast<const Uint16*>(pixel); break;
        case 3: value = SDL_BYTEORDER == SDL_LIL_ENDIAN ? pixel[0] | pixel[1] << 8 | pixel[2] << 16
                                                      : pixel[2] | pixel[1] << 8 | pixel[0] << 16; break;
        default: value = *reinterpret_cast<const Uint32*>(pixel); break;
    }
    if (SDL_MUSTLOCK(surface)) {
        SDL_UnlockSurface(surface);
    }
    Uint8 red = 0;
    Uint8 green = 0;
    Uint8 blue = 0;
    SDL_GetRGB(value, surface->format, &red, &green, &blue);
    return uint32_t{red} | uint32_t{green} << 8 | uint32_t{blue} << 16;
}

}  // namespace qv
