#include "app/font.h"

#include <SDL_ttf.h>

#include <algorithm>
#include <cstdlib>

#include "app/back_buffer.h"
#include "app/builtin_font.h"
#include "app/font_lookup.h"
#include "app/glyph_ink.h"

namespace qv {

namespace {

constexpr int32_t kDefaultLineHeight = 16;
constexpr int32_t kLargestLineHeight = 256;
constexpr uint32_t kTextColour = 0x000000;        // 0x00BBGGRR
constexpr uint32_t kBackgroundColour = 0xFFFFFF;

// A description's height is the line height in pixels; as with the platform's fonts, a negative
// height asks for the same size and 0 for the default.
int32_t lineHeightOf(const FontDescription& description) {
    const int32_t height = description.height == INT32_MIN ? kLargestLineHeight : std::abs(description.height);
    return height == 0 ? kDefaultLineHeight : std::min(height, kLargestLineHeight);
}

std::string faceOf(const FontDescription& description) {
    const auto& name = description.faceName;
    return std::string(name.data(), std::find(name.begin(), name.end(), '\0'));
}

void putPixel(BackBuffer& target, int64_t x, int64_t y, uint32_t colour) {
    if (x < 0 || y < 0 || x >= target.width || y >= target.height) {
        return;
    }
    uint8_t* pixel = target.pixelAt(static_cast<int32_t>(x), static_cast<int32_t>(y));
    pixel[0] = static_cast<uint8_t>(colour >> 16);
    pixel[1] = static_cast<uint8_t>(colour >> 8);
    pixel[2] = static_cast<uint8_t>(colour);
}

// Opens the font at the largest size whose glyphs fit in one line.
TTF_Font* openToFit(const std::string& path, int32_t lineHeight) {
    TTF_Font* font = TTF_OpenFont(path.c_str(), lineHeight);
    if (font == nullptr) {
        return nullptr;
    }
    for (int32_t size = lineHeight; size > 1 && TTF_FontHeight(font) > lineHeight; --size) {
        TTF_SetFontSize(font, size - 1);
    }
    return font;
}

}  // namespace

struct Font::Impl {
    ~Impl() {
        if (font != nullptr) {
            TTF_CloseFont(font);
        }
        if (ttfStarted) {
            TTF_Quit();  // the library counts its users
        }
    }

    bool pathResolved = false;
    std::string path;
    bool openTried = false;
    bool ttfStarted = false;
    TTF_Font* font = nullptr;
    std::unique_ptr<GlyphInk> glyphs;  // none when the font's lines cannot be laid out from glyphs
    InkLine line;                      // kept between calls for its memory
    int32_t lineHeight = kDefaultLineHeight;
};

Font::Font(const FontDescription& description) : description_(description), impl_(std::make_unique<Impl>()) {
    impl_->lineHeight = lineHeightOf(description);
}

Font::~Font() = default;

std::string Font::resolvedPath() {
    if (!impl_->pathResolved) {
        impl_->path = findFixedPitchFontFile(faceOf(description_));
        impl_->pathResolved = true;
    }
    return impl_->path;
}

bool Font::drawText(BackBuffer& target, int32_t x, int32_t y, std::string_view text) {
    Impl& impl = *impl_;
    if (!impl.openTried) {
        impl.openTried = true;
        const std::string path = resolvedPath();
        if (!path.empty() && TTF_Init() == 0) {
            impl.ttfStarted = true;
            impl.font = openToFit(path, impl.lineHeight);
            impl.glyphs = impl.font != nullptr ? GlyphInk::make(impl.font) : nullptr;
        }
    }
    const std::string characters(text.substr(0, text.find('\0')));
    if (impl.font == nullptr) {  // the system has no usable font, yet the text must be there
        announceBuiltinFont(faceOf(description_));
        drawBuiltinText(target, x, y, characters, impl.lineHeight);
        return true;
    }
    if (characters.empty() || !target.exists()) {
        return true;
    }
    // Solid rendering has no grey edges: the text is two-coloured, like a raster font. A line is
    // laid out from glyphs rendered once where that gives the renderer's very pixels.
    if (!(impl.glyphs && impl.glyphs->layOut(characters, impl.line)) && !renderInk(impl.font, characters, impl.line)) {
        return false;
    }
    const InkLine& line = impl.line;
    // The opaque background is a whole line high, so lines 16 pixels apart meet without a gap.
    for (int32_t row = 0; row < impl.lineHeight; ++row) {
        for (int32_t column = 0; column < line.width; ++column) {
            const bool ink = row < line.height && line.at(column, row);
            putPixel(target, int64_t{x} + column, int64_t{y} + row, ink ? kTextColour : kBackgroundColour);
        }
    }
    return true;
}

}  // namespace qv
