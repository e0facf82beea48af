#include "app/glyph_ink.h"

#include <SDL_ttf.h>

#include <algorithm>
#include <string>

namespace qv {

bool renderInk(TTF_Font* font, std::string_view text, InkLine& line) {
    const std::string characters(text);
    std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)> surface(
        TTF_RenderText_Solid(font, characters.c_str(), SDL_Color{0, 0, 0, 255}), SDL_FreeSurface);
    if (!surface || surface->format->BytesPerPixel != 1) {
        return false;
    }
    line.width = surface->w;
    line.height = surface->h;
    line.ink.resize(static_cast<std::size_t>(line.width) * line.height);
    for (int32_t row = 0; row < line.height; ++row) {
        const uint8_t* indices = static_cast<const uint8_t*>(surface->pixels) + int64_t{row} * surface->pitch;
        for (int32_t column = 0; column < line.width; ++column) {
            line.ink[static_cast<std::size_t>(row) * line.width + column] = indices[column] != 0 ? 1 : 0;
        }
    }
    return true;
}

std::unique_ptr<GlyphInk> GlyphInk::make(TTF_Font* font) {
    auto made = std::unique_ptr<GlyphInk>(new GlyphInk());
    std::string every;
    for (char character = kFirst; character <= kLast; ++character) {
        if (!renderInk(font, std::string_view(&character, 1), made->glyphs_[character - kFirst])) {
            return nullptr;
        }
        every += character;
    }
    InkLine whole;
    InkLine laidOut;
    if (!renderInk(font, every, whole) || !made->layOut(every, laidOut) || whole.width != laidOut.width ||
        whole.height != laidOut.height || whole.ink != laidOut.ink) {
        return nullptr;
    }
    return made;
}

bool GlyphInk::layOut(std::string_view text, InkLine& line) const {
    line.width = 0;
    line.height = 0;
    for (const char character : text) {
        if (character < kFirst || character > kLast) {
            return false;
        }
        const InkLine& glyph = glyphs_[character - kFirst];
        line.width += glyph.width;
        line.height = std::max(line.height, glyph.height);
    }
    line.ink.assign(static_cast<std::size_t>(line.width) * line.height, 0);
    int32_t left = 0;
    for (const char character : text) {
        const InkLine& glyph = glyphs_[character - kFirst];
        for (int32_t row = 0; row < glyph.height; ++row) {
            std::copy_n(glyph.ink.begin() + static_cast<std::ptrdiff_t>(row) * glyph.width, glyph.width,
                        line.ink.begin() + static_cast<std::ptrdiff_t>(row) * line.width + left);
        }
        left += glyph.width;
    }
    return true;
}

}  // namespace qv
