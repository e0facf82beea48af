#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace qv {

class BackBuffer;

// What a font should be: a face name, the height of a line in pixels, weight and pitch.
struct FontDescription {
    int32_t height = 0;
    int32_t width = 0;
    int32_t weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    uint8_t charSet = 1;
    uint8_t pitchAndFamily = 1;  // 1: fixed pitch
    std::array<char, 32> faceName{};
};

// Fills `description` for `face` at `height` pixels a line, normal weight, fixed pitch.
void describeFont(FontDescription& description, std::string_view face, int32_t height);

// A font made from a description. The face is looked up through fontconfig (the described face
// with fixed pitch first, then "monospace") when text is first drawn, so that making a font needs
// no display and no font files.
class Font {
public:
    explicit Font(const FontDescription& description);
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    const FontDescription& description() const { return description_; }
    // The path of the font file found for this description, empty when none was found.
    std::string resolvedPath();
    // Draws the text black on an opaque white background with its top-left corner at (x, y);
    // pixels outside the back buffer are left out. When no font can be opened, the text is drawn
    // with the built-in font, which is said once on standard error. False when drawing failed.
    bool drawText(BackBuffer& target, int32_t x, int32_t y, std::string_view text);

private:
    struct Impl;
    FontDescription description_;
    std::unique_ptr<Impl> impl_;
};

// What `onDraw` draws into: the back buffer and the font selected into it, like a device context.
class DrawContext {
public:
    explicit DrawContext(BackBuffer& target) : target_(target) {}
    // Selects `font` for the following text; it stays selected.
    void selectFont(Font* font) { font_ = font; }
    // Draws the first `count` characters of `text` (all of them when count exceeds the length).
    void textOut(int32_t x, int32_t y, std::string_view text, std::size_t count);
    BackBuffer& target() { return target_; }

private:
    BackBuffer& target_;
    Font* font_ = nullptr;
};

}  // namespace qv
