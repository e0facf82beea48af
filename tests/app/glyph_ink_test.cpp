// Lines laid out from glyphs rendered once have the renderer's very pixels.
#include "app/glyph_ink.h"

#include <SDL_ttf.h>
#include <gtest/gtest.h>

#include "app/font_lookup.h"

namespace qv {
namespace {

TEST(GlyphInk, LaidOutLinesMatchRenderedLinesOrTheFontIsLeftToTheRenderer) {
    const std::string path = findFixedPitchFontFile("monospace");
    ASSERT_FALSE(path.empty());
    ASSERT_EQ(TTF_Init(), 0);
    for (const int size : {11, 13, 16}) {
        TTF_Font* font = TTF_OpenFont(path.c_str(), size);
        ASSERT_NE(font, nullptr);
        const std::unique_ptr<GlyphInk> glyphs = GlyphInk::make(font);
        ASSERT_NE(glyphs, nullptr) << "a fixed-pitch font at " << size << " lays out from glyphs";
        for (const char* text : {"SCORE:        123 ", "BONUS: 20 x 32     ", " G A M E  O V E R ", "L-Click to Restart",
                                 "SCORE: -2147483648 ", "~!@#$%^&*()_+{}|:<>?"}) {
            InkLine laidOut, rendered;
            ASSERT_TRUE(glyphs->layOut(text, laidOut));
            ASSERT_TRUE(renderInk(font, text, rendered));
            EXPECT_TRUE(laidOut.width == rendered.width && laidOut.height == rendered.height &&
                        laidOut.ink == rendered.ink)
                << '"' << text << "\" at " << size;
        }
        InkLine line;
        EXPECT_FALSE(glyphs->layOut("caf\xc3\xa9", line)) << "characters without a glyph go to the renderer";
        TTF_CloseFont(font);
    }
    TTF_Quit();
}

}  // namespace
}  // namespace qv
