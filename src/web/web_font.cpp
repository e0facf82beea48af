// The score display's font in the browser: the font file shipped with the page, rasterised by the
// page into a two-coloured mask and written into the back buffer black on opaque white, a whole
// line high, as the desktop draws it. When the page could not load the font file, the program's
// built-in font draws the text instead (the page says so once, in the console).
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "app/back_buffer.h"
#include "app/builtin_font.h"
#include "app/font.h"
#include "web/page_bridge.h"

namespace qv {

namespace {

constexpr int32_t kDefaultLineHeight = 16;
constexpr int32_t kLargestLineHeight = 256;

// A description's height is the line height in pixels; a negative height asks for the same size
// and 0 for the default.
int32_t lineHeightOf(const FontDescription& description) {
    const int32_t height = description.height == INT32_MIN ? kLargestLineHeight : std::abs(description.height);
    return height == 0 ? kDefaultLineHeight : std::min(height, kLargestLineHeight);
}

void putPixel(BackBuffer& target, int64_t x, int64_t y, uint8_t value) {
    if (x < 0 || y < 0 || x >= target.width || y >= target.height) {
        return;
    }
    uint8_t* pixel = target.pixelAt(static_cast<int32_t>(x), static_cast<int32_t>(y));
    pixel[0] = pixel[1] = pixel[2] = value;
}

}  // namespace

struct Font::Impl {
    int32_t lineHeight = kDefaultLineHeight;
    std::vector<uint8_t> mask;
};

Font::Font(const FontDescription& description) : description_(description), impl_(std::make_unique<Impl>()) {
    impl_->lineHeight = lineHeightOf(description);
}

Font::~Font() = default;

std::string Font::resolvedPath() { return "score-font.ttf"; }

bool Font::drawText(BackBuffer& target, int32_t x, int32_t y, std::string_view text) {
    const std::string_view characters = text.substr(0, text.find('\0'));
    const int32_t lineHeight = impl_->lineHeight;
    // A character is never wider than its line is high in a monospace face.
    const int32_t stride = std::max<int32_t>(1, static_cast<int32_t>(characters.size()) * lineHeight);
    impl_->mask.assign(static_cast<std::size_t>(stride) * static_cast<std::size_t>(lineHeight), 0);
    const int32_t width = page::textMask(characters, lineHeight, impl_->mask.data(), stride);
    if (width < 0) {
        drawBuiltinText(target, x, y, characters, lineHeight);
        return true;
    }
    if (!target.exists()) {
        return true;
    }
    constexpr uint8_t kInk = 0x00;
    constexpr uint8_t kPaper = 0xFF;
    for (int32_t row = 0; row < lineHeight; ++row) {
        const uint8_t* cells = impl_->mask.data() + static_cast<std::size_t>(row) * static_cast<std::size_t>(stride);
        for (int32_t column = 0; column < std::min(width, stride); ++column) {
            putPixel(target, int64_t{x} + column, int64_t{y} + row, cells[column] != 0 ? kInk : kPaper);
        }
    }
    return true;
}

}  // namespace qv
