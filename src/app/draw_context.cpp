#include <algorithm>

#include "app/font.h"

namespace qv {

namespace {

// What a context draws text with before a font is selected into it.
Font& defaultFont() {
    static Font font([] {
        FontDescription description;
        describeFont(description, "monospace", 16);
        return description;
    }());
    return font;
}

}  // namespace

void DrawContext::textOut(int32_t x, int32_t y, std::string_view text, std::size_t count) {
    Font& font = font_ != nullptr ? *font_ : defaultFont();
    font.drawText(target_, x, y, text.substr(0, std::min(count, text.size())));
}

}  // namespace qv
