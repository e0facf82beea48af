#include <algorithm>

#include "app/font.h"

// Kept apart from the font's drawing, which depends on the window system, so that every edition of
// the shell describes its fonts the same way.
namespace qv {

void describeFont(FontDescription& description, std::string_view face, int32_t height) {
    description = FontDescription{};
    description.height = height;
    // A longer face name is cut to fit, keeping the terminating zero.
    const std::size_t length = std::min(face.size(), description.faceName.size() - 1);
    std::copy_n(face.begin(), length, description.faceName.begin());
}

}  // namespace qv
