#pragma once

#include <cstdint>
#include <string_view>

namespace qv {

class BackBuffer;

// A small fixed-pitch font built into the program, for a system that offers no font at all: the
// printable ASCII characters as 5 x 7 dot glyphs, enlarged to fill a line (twice their size on a
// line 16 pixels high, 12 pixels a character). Other characters show as '?'.

// Draws the text black on an opaque white band `lineHeight` pixels high, with its top-left corner
// at (x, y); pixels outside the back buffer are left out.
void drawBuiltinText(BackBuffer& target, int32_t x, int32_t y, std::string_view text, int32_t lineHeight);

// Says on standard error, once for the whole process, that no font was found for `face` and that
// text is drawn with the built-in font.
void announceBuiltinFont(std::string_view face);

}  // namespace qv
