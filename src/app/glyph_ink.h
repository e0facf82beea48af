#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

struct _TTF_Font;

namespace qv {

// Which pixels of a line of text are ink, as the solid (two-coloured) renderer makes them.
struct InkLine {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> ink;  // row by row, 1 for ink
    bool at(int32_t column, int32_t row) const { return ink[static_cast<std::size_t>(row) * width + column] != 0; }
};

// Renders `text` as one line; false when the renderer fails.
bool renderInk(_TTF_Font* font, std::string_view text, InkLine& line);

// The printable characters rendered once each, so that a line is laid out from them without the
// renderer. Only made when laying out every printable character side by side gives exactly what
// rendering them as one line gives, as it does for a fixed-pitch font without kerning.
class GlyphInk {
public:
    static std::unique_ptr<GlyphInk> make(_TTF_Font* font);
    // Lays `text` out into `line`; false when it holds a character that has no glyph here.
    bool layOut(std::string_view text, InkLine& line) const;

private:
    static constexpr char kFirst = ' ';
    static constexpr char kLast = '~';
    std::array<InkLine, kLast - kFirst + 1> glyphs_;
};

}  // namespace qv
