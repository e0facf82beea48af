#pragma once

#include <string>
#include <string_view>

namespace qv {

// The file of a scalable fixed-pitch font of the family `face`, or, when the system has none, of
// its "monospace" font. Empty when fontconfig finds neither.
std::string findFixedPitchFontFile(std::string_view face);

}  // namespace qv
